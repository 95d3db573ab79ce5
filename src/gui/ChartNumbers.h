// Chart tick labels written as the program's number texts are.
#pragma once

#include <QChart>

namespace kavrin {

// The chart's tick labels take `separator` as their decimal separator and no
// group separator. A value axis's label format must then give its precision
// ("%.6g", not "%g"): without one the labels come out empty.
void WriteTicksAsNumberTexts(QChart* chart, char separator);

}  // namespace kavrin
