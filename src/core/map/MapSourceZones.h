// The source zones as the map sees them: whether the field is its own mirror
// image about y = 0 (so that half the Y range can be drawn and mirrored), and
// every zone with the first (C0, SourceWidth, SourceHeight) first.
#pragma once

#include "model/ModelState.h"

#include <vector>

namespace kavrin {

// No zone centre off the line y = 0.
bool MapFieldSymmetricInY(const ModelState& model);

// The first zone, centred on (firstZoneY, firstZoneZ), then the others as listed.
std::vector<SourceZone> MapSourceZones(const ModelState& model);

}  // namespace kavrin
