#include "map/MapSourceZones.h"

#include <algorithm>

namespace kavrin {

bool MapFieldSymmetricInY(const ModelState& model)
{
    return model.source.firstZoneY == 0 && std::all_of(model.source.moreZones.begin(), model.source.moreZones.end(),
                                                       [](const SourceZone& z) { return z.y == 0; });
}

std::vector<SourceZone> MapSourceZones(const ModelState& model)
{
    std::vector<SourceZone> zones{
        {model.source.firstZoneY, model.source.firstZoneZ, model.SourceWidth, model.SourceHeight, model.C0}};
    zones.insert(zones.end(), model.source.moreZones.begin(), model.source.moreZones.end());
    return zones;
}

}  // namespace kavrin
