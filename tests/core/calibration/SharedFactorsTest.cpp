// The model's concentrations at many observations, computed with the factors
// they share (time, y, z), against each point's own value.
#include "TestSupport.h"
#include "calibration/Observations.h"
#include "model/FloatChecks.h"
#include "solution/Solution.h"

#include <gtest/gtest.h>

#include <vector>

using namespace kavrin;

namespace {

// Campaigns: wells sampled at a few dates, at several depths, some on the
// same y, in no particular order; and the points the point formula answers
// by its own rules (source plane, upstream, time 0 and before).
std::vector<Observation> campaigns()
{
    std::vector<Observation> result;
    for (int i = 0; i < 300; ++i)
        result.push_back({0, 1.0 + (i * 37) % 90, -12.0 + 3 * (i % 9), -1.5 + 0.5 * (i % 7), 400.0 * (1 + (i * 7) % 5)});
    for (const Observation& o : std::vector<Observation>{{0, 0, 0, 0, 2500},
                                                         {0, 0, 10, 1.5, 2500},
                                                         {0, -5, 0, 0, 2500},
                                                         {0, 10, 0, 0, 0},
                                                         {0, 0, 0, 0, 0},
                                                         {0, 10, 0, 0, -5},
                                                         {0, 10, 0, 0, 2500},
                                                         {0, 10, 0, 0, 2500},
                                                         {0, 1e-9, 0, 0, 1e-6},
                                                         {0, 400, 300, 40, 10}})
        result.push_back(o);
    return result;
}

}  // namespace

TEST(CalculatedConcentrations, SharedFactorsGiveEachPointsOwnValueBitForBit)
{
    const QuadratureState q = kavrin::test::LoadedQuadrature(256);
    ModelState m = kavrin::test::InitialModel();
    m.GaussOrder = 256;
    const std::vector<Observation> observations = campaigns();
    for (unsigned workers : {1u, 3u}) {
        const std::vector<double> calculated = CalculatedConcentrations(observations, m, q, workers);
        for (std::size_t i = 0; i < observations.size(); ++i) {
            const Observation& o = observations[i];
            ASSERT_EQ(calculated[i], PointValue(o.X, o.Y, o.Z, o.T, m, q)) << i << " with " << workers << " workers";
        }
    }
}

TEST(CalculatedConcentrations, AFaultIsReportedAsThePointFormulaMeetsIt)
{
    const QuadratureState q = kavrin::test::LoadedQuadrature(60);
    ModelState m = kavrin::test::InitialModel();
    m.DispZ = -1;
    EXPECT_THROW(CalculatedConcentrations(campaigns(), m, q, 2), FloatError);
    m = kavrin::test::InitialModel();
    m.DispY = 0;
    // The first observation's own fault (0/0 on the edge), not the earlier time's (x/0).
    const std::vector<Observation> onTheEdge = {{0, 5, -10, 0, 300}, {0, 5, 3, 0, 200}};
    try {
        CalculatedConcentrations(onTheEdge, m, q, 2);
        FAIL() << "no fault";
    } catch (const FloatError& shared) {
        try {
            PointValue(5, -10, 0, 300, m, q);
            FAIL() << "no fault alone";
        } catch (const FloatError& alone) {
            EXPECT_STREQ(shared.what(), alone.what());
        }
    }
}
