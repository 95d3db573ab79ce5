// The default `points` sum of one point in one pass over its time's nodes,
// 4 (AVX2) or 8 (AVX-512) nodes at a time, without intermediate arrays:
// - the divisions by a node's divisors (4·DispX·τ, the transverse scale, σ³)
//   as a product by the reciprocal kept per time and a fused correction,
//   which gives the correctly rounded quotient, the bits of dividing;
// - erfc by Cody's approximations with one division per value, only the
//   ranges some lane is in evaluated (a point's nodes cross each range
//   boundary once), the small and middle ranges' polynomials rounded as the
//   point formula rounds them, the large range's taken in y² (below);
// - its own exp (within a unit in the last place, 0 below the normal doubles);
// - groups of nodes whose terms are exactly zero left out (the exponential
//   below the normal doubles, both erfc 0 or both 2), and groups whose terms
//   are all below 2^-64 of the largest term's (found from a bound of every
//   term), which move the sum by less than 2^-56 of itself;
// - the terms summed in the nodes' order, as the point formula sums them.
// Without these units (or turned off) the vectorised form in
// SharedPointFactors takes the points; the two agree within a few units in
// the last place of the point formula's values.
#pragma once

#include "model/ModelState.h"
#include "solution/Quadrature.h"
#include "solution/Solution.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace kavrin {

// What every point of one time needs per node: the even-numbered nodes
// first, then the odd ones (a group's nodes neighbours in time), each half
// padded to whole groups with nodes whose terms are zero.
struct PointKernelNodes {
    std::size_t size = 0;  // nodes with the padding
    std::vector<double> velocityTau, scale, inverseScale, decayTau, yScale, inverseYScale, zScale, inverseZScale, weight,
        sigmaCube, inverseSigmaCube, zFactor;
    // log(2·zFactor·weight/σ³): a bound of a term's logarithm less its
    // exponent; log(4·weight/σ³) the same for any z.
    std::vector<double> logBound, logBoundAnyZ;
    // Where the odd-numbered nodes start.
    std::size_t half = 0;
    // One point's exponents, terms, and the groups of nodes it computes.
    std::vector<double> exponent, terms;
    std::vector<std::size_t> neededGroups;
    std::vector<unsigned char> neededFlags;
    // The z at which zFactor holds, once known for this time, and the last point's z.
    double zAt = 0, lastZ = __builtin_nan("");
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
    // Where the odd-numbered nodes start.
    std::size_t half = 0;
    // One point's exponents, terms, and the groups of nodes it computes.
    std::vector<double> exponent, terms;
    std::vector<std::size_t> neededGroups;
    std::vector<unsigned char> neededFlags;
};

// Whether `points` takes the fused kernel (the processor has AVX2 with FMA
// at least), and the nodes it takes at a time: 8 (AVX-512), 4 (AVX2) or 0.
bool PointKernelAvailable();
int PointKernelLanes();
// For the tests: at most `lanes` (0: the vectorised form, as on a processor
// without AVX2), within what the processor has; returns the lanes now in use.
int SetPointKernelLanes(int lanes);

// The kernel's node factors of one time (nodes usable: positive finite scales).
void PreparePointKernel(const TimeNodes& nodes, const ModelState& model, PointKernelNodes& out);

void PreparePointKernelModel(const ModelState& model, const QuadratureState& quadrature, PointKernelModel& out);

// Whether every node factor of time t is a positive finite double (else the
// point formula takes the point, and reports what it meets).
bool PointKernelTimeUsable(const PointKernelModel& model, double t);

// The sum over the nodes of exp(−(x − VX·τ)²/(4·DispX·τ) − Decay·τ)·Y·Z·weight/σ³,
// Y the erfc difference of y between yLow and yHigh, Z that of z between
// zLow and zHigh (kept per z), summed in the nodes' order. `skipped` grows
// by the nodes whose terms were left out uncomputed (zero or negligible).
double PointKernelSum(PointKernelNodes& nodes, double x, double y, double z, double yLow, double yHigh, double zLow, double zHigh,
                      std::size_t& skipped);

// The same sum at a point's own time t > 0 (time usable), its node factors
// computed on the way (the same values as TimeNodes').
double PointKernelSumAtTime(PointKernelModel& model, double x, double y, double z, double t, double yLow, double yHigh,
                            double zLow, double zHigh, std::size_t& skipped);

// How many node terms (padding included) the kernel has left out without
// computing them, of how many, since the last reading: added once per call
// of SharedPointValues, read by the benchmark.
void CountPointKernelNodes(std::size_t skipped, std::size_t total);
std::pair<std::size_t, std::size_t> ReadPointKernelNodeCounts();

// erfc(a[i]) − erfc(b[i]) as the kernel computes them on the lanes in use;
// `portable` (or none in use) takes the code a processor without AVX2 runs.
void PointKernelErfcDifferences(const double* a, const double* b, std::size_t count, bool portable, double* out);

// The kernel's exp of each value (the longitudinal exponential and erfc's
// exp(−y²)) on the lanes in use; `portable` (or none in use) takes
// VectorExp, what a processor without AVX2 runs.
void PointKernelExps(const double* x, std::size_t count, bool portable, double* out);

}  // namespace kavrin
