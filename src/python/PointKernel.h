// The default `points` sum of one point in one pass over the time's nodes,
// on 4 (AVX2) or 8 (AVX-512) nodes at a time, without intermediate arrays:
// each node's divisors' reciprocals kept per time so the divisions become a
// product and two fused corrections (the correctly rounded quotient, the
// same bits as dividing), one Cody range's rational per group of nodes (the
// nodes of one point cross each range boundary once), and whole groups whose
// terms are exactly zero left out. The operations and their order are those
// of the vectorised form in SharedPointFactors, so its values are the same
// bits on a processor without these units.
#pragma once

#include "model/ModelState.h"
#include "solution/Quadrature.h"
#include "solution/Solution.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace kavrin {

// What every point of one time needs per node, padded to whole groups of
// nodes with nodes whose terms are zero.
struct PointKernelNodes {
    std::size_t size = 0;  // nodes with the padding
    std::vector<double> velocityTau, scale, inverseScale, decayTau, yScale, inverseYScale, zScale, inverseZScale, weight,
        sigmaCube, inverseSigmaCube, zFactor;
    // log(2·zFactor·weight/σ³): a bound of a term's logarithm less its exponent.
    std::vector<double> logBound;
    // One point's exponents and the groups of nodes it computes.
    std::vector<double> exponent;
    std::vector<std::size_t> neededGroups;
    // The z at which zFactor holds, once known for this time.
    double zAt = 0;
    bool zKnown = false;
};

// What a point at a time of its own needs per node, for every time: the
// node + 1 (σ = (node + 1)·t^¼/2), the weight, log(4·weight) − 3·log((node + 1)/2)
// (a bound of a term's logarithm less its exponent and −3·log t^¼), and the
// model's constants, padded as PointKernelNodes.
struct PointKernelModel {
    std::size_t size = 0;
    std::vector<double> nodePlusOne, weight, logBound;
    double velocity = 0, fourDispX = 0, decay = 0, sqrtDispY = 0, sqrtDispZ = 0;
    // The smallest and largest node + 1, whose factors decide whether a time is usable.
    double smallestNode = 0, largestNode = 0;
    // One point's exponents and the groups of nodes it computes.
    std::vector<double> exponent;
    std::vector<std::size_t> neededGroups;
};

// Whether `points` takes the fused kernel: the processor has AVX2 with FMA
// (at least) and it has not been turned off (tests compare both ways).
bool PointKernelAvailable();
void SetPointKernelEnabled(bool enabled);

// The kernel's node factors of one time (nodes usable: positive finite scales).
void PreparePointKernel(const TimeNodes& nodes, const ModelState& model, PointKernelNodes& out);

void PreparePointKernelModel(const ModelState& model, const QuadratureState& quadrature, PointKernelModel& out);

// Whether every node factor of time t is a positive finite double (else the
// point formula takes the point, and reports what it meets).
bool PointKernelTimeUsable(const PointKernelModel& model, double t);

// The sum over the nodes of exp(−(x − VX·τ)²/(4·DispX·τ) − Decay·τ)·Y·Z·weight/σ³,
// Y the erfc difference of y between yLow and yHigh, Z that of z between
// zLow and zHigh (kept per z), summed in the nodes' order. `skipped` grows
// by the nodes whose terms were known to be zero without computing them.
double PointKernelSum(PointKernelNodes& nodes, double x, double y, double z, double yLow, double yHigh, double zLow,
                      double zHigh, std::size_t& skipped);

// The same sum at a point's own time t > 0 (time usable), its node factors
// computed on the way (the same values as TimeNodes').
double PointKernelSumAtTime(PointKernelModel& model, double x, double y, double z, double t, double yLow, double yHigh,
                            double zLow, double zHigh, std::size_t& skipped);

// How many node terms (padding included) the kernel has left out without
// computing them, of how many, since the last reading: added once per call
// of SharedPointValues, read by the benchmark.
void CountPointKernelNodes(std::size_t skipped, std::size_t total);
std::pair<std::size_t, std::size_t> ReadPointKernelNodeCounts();

// erfc(a[i]) − erfc(b[i]) as the kernel computes them (the vectorised exp);
// `portable` takes the code a processor without AVX2 runs.
void PointKernelErfcDifferences(const double* a, const double* b, std::size_t count, bool portable, double* out);

// The kernel's exp of each value (the longitudinal exponential and erfc's
// exp(−y²)); `portable` takes VectorExp, what a processor without AVX2 runs.
void PointKernelExps(const double* x, std::size_t count, bool portable, double* out);

}  // namespace kavrin
