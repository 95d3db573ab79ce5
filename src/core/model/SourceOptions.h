// How the source behaves beyond one rectangle of constant concentration: its
// history in time, its zones, and the control plane of the mass balance. The
// default (constant history, no extra zone, no control plane) is the model as
// it has always been, and a project that keeps it stores nothing more.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kavrin {

// The source's concentration is C·g(t); g is one of these.
enum class SourceHistory {
    Constant,  // g = 1
    Decay,     // g = exp(-decayRate·t)
    Stop,      // g = 1 up to releaseEnd, 0 after
    Steps,     // g = relative of the last step started, 0 before the first
};

// From `start` (days) on, the source's concentration is `relative` times its zones'.
struct SourceStep {
    double start = 0;
    double relative = 0;
    bool operator==(const SourceStep&) const = default;
};

// A rectangle of the plane x = 0 centred on (y, z), in metres, at `concentration` mg/L.
struct SourceZone {
    double y = 0, z = 0, width = 0, height = 0, concentration = 0;
    bool operator==(const SourceZone&) const = default;
};

struct SourceOptions {
    SourceHistory history = SourceHistory::Constant;
    double decayRate = 0;           // 1/day, for Decay (a half-life h is stored as given and gives ln 2 / h)
    double releaseEnd = 0;          // days, for Stop
    std::vector<SourceStep> steps;  // for Steps: starts strictly increasing
    // The first zone's centre; its width, height and concentration are the
    // data window's SourceWidth, SourceHeight and C0.
    double firstZoneY = 0, firstZoneZ = 0;
    std::vector<SourceZone> moreZones;    // zones 2 … 20
    std::optional<double> controlPlaneX;  // metres, for the mass discharge

    bool operator==(const SourceOptions&) const = default;
    bool isDefault() const { return *this == SourceOptions{}; }
};

// The options as the user gave them: "Name=value" texts in the order a
// project file stores them after its 25 lines, numbers written with the
// number texts' decimal separator. Names and values:
//   SourceHistory=constant|decay|stop|steps
//   SourceDecay=RATE (1/day)   or   SourceHalfLife=DAYS     (with decay)
//   ReleaseEnd=DAYS                                          (with stop)
//   SourceSteps=START RELATIVE|START RELATIVE|…              (with steps)
//   SourceCentre=Y Z                                         (the first zone's centre)
//   SourceZones=Y Z WIDTH HEIGHT CONCENTRATION|…             (zones 2 … 20)
//   ControlPlaneX=X
// Names with a default value are not written.
struct SourceText {
    std::string name;
    std::string value;
    bool operator==(const SourceText&) const = default;
};
using SourceTexts = std::vector<SourceText>;

}  // namespace kavrin
