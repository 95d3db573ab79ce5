// A value axis on round ticks.
#pragma once

#include <QValueAxis>

namespace kavrin {

// Round ticks anchored at zero (so zero reads "0", never "-0.00") on a range
// that holds [low, high]; a range of one value is widened around it. A range
// too narrow to be labelled — finer than 1e-10 (the chart draws no tick at an
// interval of 1e-12 or less) or than 1e-9 of its largest value — is widened
// about its middle. A "%.Ng" label format gets as many significant digits as
// tell the ticks apart, at least six. `margin`, a share of high − low, is
// added beyond each end first, so that marks drawn at the ends are whole.
void SetRoundAxis(QValueAxis* axis, double low, double high, double margin = 0);

}  // namespace kavrin
