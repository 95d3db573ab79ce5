// A value axis on round ticks.
#pragma once

#include <QValueAxis>

namespace kavrin {

// Round ticks anchored at zero (so zero reads "0", never "-0.00") on a range
// that holds [low, high]; a range of one value is widened around it.
void SetRoundAxis(QValueAxis* axis, double low, double high);

}  // namespace kavrin
