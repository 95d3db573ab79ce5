// What the logarithmic concentration axis shows: whole decades around the
// values above zero and the standard, at most ten below the top, and each
// curve in pieces between the values it cannot show.
#include "gui/ChartCurves.h"
#include "gui/ChartView.h"

#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <gtest/gtest.h>

#include <memory>

using namespace kavrin;

TEST(ChartCurves, TheLogarithmicAxisSpansWholeDecadesAndDrawsBetweenValuesItCannotShow)
{
    struct Case {
        const char* name;
        std::vector<double> values;  // at x = 0, 1, 2, …
        std::optional<double> standard;
        double bottom, top;
        int leftOut;
        std::vector<int> pieces;  // the values of each piece drawn
    };
    const Case cases[] = {
        {"zeros and a negative", {0, 1e-3, 0.5, -1e-20, 2}, std::nullopt, 1e-3, 10, 2, {2, 1}},
        {"powers of ten", {0.01, 0.1, 1}, std::nullopt, 0.01, 1, 0, {3}},
        {"one value", {1, 1}, std::nullopt, 0.1, 1, 0, {2}},
        {"a tail of underflow", {1e-300, 1e-12, 0.7}, std::nullopt, 1e-10, 1, 0, {3}},
        {"the standard below", {0.5, 0.9}, 0.005, 1e-3, 1, 0, {2}},
        {"nothing above zero", {0, 0}, std::nullopt, 0.1, 1, 2, {0}},
        {"nothing above zero, a standard", {0, 0}, 0.005, 1e-3, 1e-2, 2, {0}},
    };
    for (const Case& c : cases) {
        auto* own = new QLineSeries;
        std::unique_ptr<QChartView> view(MakeChartView("Chart", "x", "C", {own}));
        for (std::size_t k = 0; k < c.values.size(); ++k) own->append(static_cast<double>(k), c.values[k]);
        ChartCurves curves(view->chart(), own);
        const int leftOut = curves.show({}, "curva", {true, c.standard, "padrão"}, true);
        EXPECT_EQ(leftOut, c.leftOut) << c.name;
        QLogValueAxis* axis = nullptr;
        for (QAbstractAxis* shown : view->chart()->axes(Qt::Vertical))
            if (shown->isVisible()) axis = qobject_cast<QLogValueAxis*>(shown);
        ASSERT_TRUE(axis) << c.name;
        EXPECT_DOUBLE_EQ(axis->min(), c.bottom) << c.name;
        EXPECT_DOUBLE_EQ(axis->max(), c.top) << c.name;
        std::vector<int> pieces;
        QStringList legend;
        for (QAbstractSeries* s : view->chart()->series())
            if (s->objectName() == "ChartCurve") pieces.push_back(static_cast<int>(static_cast<QLineSeries*>(s)->count()));
        for (QLegendMarker* marker : view->chart()->legend()->markers())
            if (!marker->label().isEmpty()) legend << marker->label();
        EXPECT_EQ(pieces, c.pieces) << c.name;
        EXPECT_EQ(legend, c.standard ? QStringList({"curva", "padrão"}) : QStringList{"curva"}) << c.name << ": named once";
        EXPECT_EQ(own->count(), static_cast<int>(c.values.size())) << c.name;
    }
}
