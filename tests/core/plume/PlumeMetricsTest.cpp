#include "plume/PlumeMetrics.h"
#include "TestSupport.h"
#include "core/map/MapTestSupport.h"
#include "solution/Solution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace kavrin;
using kavrin::test::DesignModel;
using kavrin::test::GridAtTime;

namespace {

// Where f falls from above `level` at `inside` to below it at `outside`, by bisection.
double Bisect(const std::function<double(double)>& f, double inside, double outside, double level)
{
    for (int n = 0; n < 200 && std::fabs(outside - inside) > 1e-12; ++n) {
        const double middle = (inside + outside) / 2;
        (f(middle) > level ? inside : outside) = middle;
    }
    return (inside + outside) / 2;
}

// A single source zone centred on y = `centre`, evaluated point by point.
struct PointPlume {
    ModelState model;
    double t;
    QuadratureState quadrature = kavrin::test::LoadedQuadrature(model.GaussOrder);

    double at(double x, double y) const { return model.C0 * PointConcentration(x, y, model.PlaneZ, t, model, quadrature); }
};

ModelState ZoneAt(ModelState m, double centre)
{
    m.source.firstZoneY = centre;
    m.YMin = centre - m.SourceWidth / 2, m.YMax = centre + m.SourceWidth / 2;
    return m;
}

struct KnownCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> texts;
    double centre;  // of the source zone
    double standard;
};

}  // namespace

// The plume of the design model (and of coarser grids, and of a zone off the
// axis) has an axis and cross-sections computed by the point formula: the
// length and the width from the grid lie within a tenth of a cell of the
// crossings found by bisection.
TEST(PlumeMetrics, LengthAndWidthLieWithinATenthOfACellOfThePointFormula)
{
    const KnownCase cases[] = {
        {"design grid", {}, 0, 0.05},
        {"coarse grid", {{"DX", "5"}, {"DY", "2"}}, 0, 0.05},
        {"low standard", {{"DX", "2"}}, 0, 0.01},
        {"zone off the axis", {{"DX", "2"}, {"DY", "2"}}, 6, 0.05},
    };
    for (const KnownCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ModelState m = ZoneAt(DesignModel(c.texts), c.centre);
        const double t = 2500;
        const PointPlume plume{m, t};
        const ResultGrid grid = GridAtTime(m, t);
        ASSERT_NEAR(grid.at(11, 1 + static_cast<int>(std::lround((c.centre - m.Y0) / m.DY))),
                    plume.at(m.X0 + 10 * m.DX, m.Y0 + std::lround((c.centre - m.Y0) / m.DY) * m.DY), 1e-9);

        const PlumeMetrics metrics = MeasurePlume(grid, m, c.standard, std::nullopt);
        const double front = Bisect([&](double x) { return plume.at(x, c.centre); }, 0.01, m.X1, c.standard);
        EXPECT_NEAR(metrics.length, front, 0.1 * m.DX);
        EXPECT_FALSE(metrics.lengthAtEdge);

        // The widest cross-section at a column: each side's crossing by bisection from the axis out.
        double width = 0;
        for (double x = m.X0 + m.DX; x <= m.X1; x += m.DX) {
            if (plume.at(x, c.centre) <= c.standard) continue;
            const double top = Bisect([&](double y) { return plume.at(x, y); }, c.centre, m.Y1, c.standard);
            const double bottom = Bisect([&](double y) { return plume.at(x, y); }, c.centre, m.Y0, c.standard);
            width = std::max(width, top - bottom);
        }
        EXPECT_NEAR(metrics.width, width, 0.1 * m.DY);
        EXPECT_FALSE(metrics.widthAtEdge);
        EXPECT_FALSE(metrics.areaAtEdge);
    }
}
