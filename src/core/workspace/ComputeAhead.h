// Computing the next time of a run on a thread of its own while the current
// one is being written.
#pragma once

#include "model/ModelState.h"
#include "solution/FieldKernel.h"
#include "solution/Quadrature.h"

#include <future>
#include <string>

namespace kavrin {

// Holds two fields: the one taken by the writer and the one being computed,
// so a run keeps at most two times in memory whatever its length.
class ComputeAhead {
public:
    ComputeAhead(const ModelState& model, QuadratureState& quadrature, std::string valoresPath, char separator, unsigned workers);
    ~ComputeAhead();  // waits for a computation still running; its result is dropped
    ComputeAhead(const ComputeAhead&) = delete;
    ComputeAhead& operator=(const ComputeAhead&) = delete;

    // Loads the order in effect and computes time t into the field that was
    // not taken last. Only one computation runs at a time: take() comes first.
    void start(double t);

    // Waits for the computation started last and hands over its field, valid
    // until the next start(). Its failure (the first in row order) is thrown here.
    const TimeField& take();

private:
    const ModelState& model_;
    QuadratureState& quadrature_;
    std::string valoresPath_;
    char separator_;
    unsigned workers_;
    TimeField fields_[2];
    int computing_ = 0;
    std::future<void> pending_;
};

}  // namespace kavrin
