// The rules of the source options' texts: which names and values a run
// accepts, their conversion into SourceOptions, and what the solution and the
// map need to know of the zones.
#pragma once

#include "model/ModelState.h"
#include "model/ParameterTexts.h"
#include "model/SourceOptions.h"

#include <optional>
#include <string>
#include <vector>

namespace kavrin {

enum class SourceRule {
    UnknownName,          // not one of the source names
    UnknownHistory,       // SourceHistory other than constant, decay, stop, steps
    NotANumber,           // a value that is not a number, or a group of the wrong count of numbers
    NotPositive,          // a rate, half-life or end not above 0; a step start or relative below 0
    StepsNotIncreasing,   // a step that does not start after the one before it
    ZoneSize,             // a zone of zero or negative width or height
    TooManyZones,         // more than kMaxSourceZones zones
    ZonesOverlap,         // a zone that overlaps another without one containing the other
    ControlPlaneOutside,  // ControlPlaneX outside [0, X1]
    MissingValue,         // an empty value, or the value the history needs is not given
};

// group: the 1-based step, or the zone's number among all zones (the data
// window's zone is 1, so SourceZones' first group is zone 2); 0 for none.
struct SourceRefusal {
    std::string name;
    SourceRule rule;
    int group = 0;
    bool operator==(const SourceRefusal&) const = default;
};

constexpr int kMaxSourceZones = 20;

// The first refusal of the texts, in the order the texts are listed; `model` gives X1 and the first zone (C0, SourceWidth,
// SourceHeight).
std::optional<SourceRefusal> CheckSourceTexts(const SourceTexts& texts, const ModelState& model, char separator);

// The same for the data window's texts before they become a model: the 21
// fields that convert give X1 and the first zone (those that do not are the
// conversion's to name).
std::optional<SourceRefusal> CheckSourceTexts(const ParameterTexts& texts, char separator);

// The options of checked texts; throws CheckError with EnglishSourceRefusalText for unchecked bad texts.
SourceOptions ParseSourceTexts(const SourceTexts& texts, const ModelState& model, char separator);

// The English text of a refusal, naming the value, for the batch programs.
std::string EnglishSourceRefusalText(const SourceRefusal& refusal);

// All zones, the first (C0, SourceWidth, SourceHeight at firstZoneY/Z) first, as the user drew them.
std::vector<SourceZone> SourceZonesOf(const ModelState& model);

// The highest concentration the source gives: the highest of C0 and the other
// zones' concentrations (C0 for the single zone), times the strongest step
// when a step table goes above 1.
double HighestSourceConcentration(const ModelState& model);

// No zone off the line y = 0: the field is the mirror image of itself about y = 0.
bool SymmetricInY(const ModelState& model);

// Whether zone `inner` lies within zone `outer`'s closed rectangle.
bool ZoneContains(const SourceZone& outer, const SourceZone& inner);

// The zone that holds zone `index` most closely (the smallest that contains
// it; of two equal rectangles the one listed first holds the later), or -1.
// Inside it the inner zone's concentration replaces the outer's.
int InnermostContainer(const std::vector<SourceZone>& zones, std::size_t index);

}  // namespace kavrin
