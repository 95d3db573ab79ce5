#include "workspace/ComputeAhead.h"

#include <utility>

namespace kavrin {

ComputeAhead::ComputeAhead(const ModelState& model, QuadratureState& quadrature, std::string valoresPath, char separator,
                           unsigned workers)
    : model_(model), quadrature_(quadrature), valoresPath_(std::move(valoresPath)), separator_(separator), workers_(workers)
{
}

ComputeAhead::~ComputeAhead()
{
    if (pending_.valid()) pending_.wait();
}

void ComputeAhead::start(double t)
{
    TimeField& field = fields_[computing_];
    pending_ = std::async(std::launch::async, [this, t, &field] {
        LoadGaussOrder(quadrature_, model_.GaussOrder, valoresPath_, separator_);
        ComputeTimeField(t, model_, quadrature_, workers_, field);
    });
}

const TimeField& ComputeAhead::take()
{
    std::future<void> pending = std::move(pending_);
    pending.get();
    const TimeField& field = fields_[computing_];
    computing_ = 1 - computing_;
    return field;
}

}  // namespace kavrin
