// The observation table's rows as the wells the map draws.
#pragma once

#include "calibration/ObservationTable.h"
#include "map/MapOptions.h"

#include <vector>

namespace kavrin {

// One well per row whose X and Y read as numbers (through ArrumaDecimal),
// named by its row number (from 1); a row still being filled in is no well.
// `residuals` holds observed − calculated for every row, or nothing.
std::vector<MapWell> MapWellsOf(const std::vector<ObservationTexts>& rows, char separator,
                                const std::vector<double>& residuals = {});

}  // namespace kavrin
