// The source of the model as a sum of the plain source: the solution is linear
// in the source, so zones and histories are sums of one rectangle of constant
// concentration switched on at a time, each exact.
#pragma once

#include "model/ModelState.h"

#include <vector>

namespace kavrin {

// One zone's rectangle on the plane x = 0 and what it adds: its concentration
// less that of the zone that holds it most closely, so that inside a nested
// zone its own concentration holds.
struct ZoneTerm {
    double concentration;
    double YMin, YMax, ZMin, ZMax;
};

// A constant source of relative strength `weight` switched on at `start` (days).
struct TimeShift {
    double start;
    double weight;
};

struct SourceSuperposition {
    std::vector<ZoneTerm> zones;
    // Constant and decaying histories: one shift at 0. A stopped release: on at
    // 0, off (weight −1) at its end. Steps: each step's change at its start.
    std::vector<TimeShift> shifts;
    // 1/day: the decaying history's rate, which weighs each part of the time
    // integral by g(t − τ) = exp(−rate·(t − τ)); 0 for the other histories.
    double decayRate = 0;
    SourceHistory history = SourceHistory::Constant;
    double releaseEnd = 0;
    std::vector<SourceStep> steps;

    // One zone about (0, 0) of constant strength: the source as it has always
    // been, computed with the same arithmetic, bit for bit. Any other source
    // takes erfc differences beyond a zone's far edge as the difference of
    // the two small complements, which keeps their relative precision
    // where the plain difference of two values near 2 would lose it.
    bool plain = true;

    explicit SourceSuperposition(const ModelState& model);

    // g(t), the source's relative strength at time t (days).
    double strength(double t) const;
    // Whether the field is one time integral (constant or decaying history).
    bool singleShift() const { return shifts.size() == 1 && shifts[0].start == 0 && shifts[0].weight == 1; }
};

}  // namespace kavrin
