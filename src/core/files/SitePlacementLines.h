// The site placement as lines of a project file: Easting, Northing, Azimuth
// and CRS registered as the project's named lines, and the passage between a
// file's named lines and the placement's texts. A text not given is no line.
#pragma once

#include "files/ProjectNamedLines.h"
#include "model/SitePlacement.h"

namespace kavrin {

// The lines a project file stores for the texts, in the names' order.
NamedLines SitePlacementLines(const SitePlacementTexts& texts);

// Takes the placement's lines out of `lines` into texts.
SitePlacementTexts TakeSitePlacementTexts(NamedLines& lines);

}  // namespace kavrin
