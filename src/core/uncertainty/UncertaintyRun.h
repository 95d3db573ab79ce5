// Running the realizations: each draws its model, computes the field of every
// chosen time with the field kernel, and adds it to that time's tally, its
// receptors' values and its plume length.
#pragma once

#include "model/ModelState.h"
#include "solution/Quadrature.h"
#include "uncertainty/NodeTally.h"
#include "uncertainty/UncertaintyResults.h"
#include "uncertainty/UncertaintySettings.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

namespace kavrin {

// Realizations done of those asked for; called from the running thread.
using UncertaintyProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Receives each time's tally once all the part's realizations are in it; the
// tally is reused for the next time afterwards.
using TallyDone = std::function<void(std::size_t time, const NodeTally& tally)>;

// The part settings.part of the realizations, time after time (one tally in
// memory at a time). The results hold the receptor values and plume lengths;
// their maps are left empty (the tallies went to `tallyDone`). Returns nothing
// when `cancel` was set. Throws the kernel's errors and CheckError for a value
// no tally takes. The settings must have passed CheckUncertaintySettings.
std::optional<UncertaintyResults> RunRealizations(const ModelState& model, const QuadratureState& quadrature,
                                                  const UncertaintySettings& settings, unsigned workers,
                                                  const UncertaintyProgress& progress, const std::atomic<bool>* cancel,
                                                  const TallyDone& tallyDone);

// The whole run of the settings' part (1/1: every realization) with its maps.
std::optional<UncertaintyResults> RunUncertainty(const ModelState& model, const QuadratureState& quadrature,
                                                 const UncertaintySettings& settings, unsigned workers,
                                                 const UncertaintyProgress& progress, const std::atomic<bool>* cancel);

// The plume's length to `standard` along the row of the source's centre (its
// nearest row), from x = 0: ReachAlongRow of that row, the grid's last x when
// the plume reaches it; 0 when no column is above.
double PlumeLength(const double* values, int rows, int columns, const ModelState& model, double standard);

}  // namespace kavrin
