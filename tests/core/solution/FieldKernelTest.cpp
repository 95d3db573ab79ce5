#include "solution/FieldKernel.h"
#include "TestSupport.h"
#include "model/Variaveis.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace kavrin;

namespace {

struct Scenario {
    const char* name;
    std::vector<std::pair<int, const char*>> texts;  // edit number (0: ComboBox1) and text
    double time;
};

ModelState modelOf(const Scenario& s)
{
    ParameterTexts texts = InitialParameterTexts();
    SetControlText(texts, 7, "2", '.');  // a 51 × 61 grid keeps the point formula quick
    for (const auto& [edit, text] : s.texts) SetControlText(texts, edit, text, '.');
    ModelState m;
    Variaveis(texts, m, '.');
    return m;
}

}  // namespace

TEST(FieldKernel, AgreesWithThePointFormulaEverywhere)
{
    const Scenario scenarios[] = {
        {"initial model", {}, 2500},
        {"no decay", {{21, "0"}}, 2500},
        {"retardation 2", {{20, "2"}}, 2500},
        {"plane on the source edge", {{4, "1.5"}}, 2500},
        {"plane inside the source", {{4, "0.7"}}, 2500},
        {"plane above the source", {{4, "5"}}, 2500},
        {"order 4", {{0, "4"}}, 2500},
        {"order 20", {{0, "20"}}, 2500},
        {"order 104", {{0, "104"}}, 2500},
        {"order 256", {{0, "256"}}, 2500},
        {"order outside the table right after start", {{0, "10"}}, 2500},
        {"time zero", {}, 0},
        {"an early time", {}, 0.5},
        {"a late time", {}, 40000},
        {"x values that miss 0", {{5, "-0.3"}, {6, "30"}, {7, "0.1"}, {8, "5"}, {2, "4"}}, 2500},
        {"rows far outside the plume", {{6, "1000"}, {7, "20"}, {8, "400"}, {9, "25"}}, 2500},
        {"negative decay", {{21, "-0.001"}}, 2500},
        {"strong negative decay", {{21, "-0.05"}}, 2500},
    };
    for (const Scenario& s : scenarios) {
        const ModelState m = modelOf(s);
        const QuadratureState q = kavrin::test::LoadedQuadrature(m.GaussOrder);
        TimeField fast, reference;
        ComputeTimeField(s.time, m, q, 2, fast);
        ComputeTimeFieldByPoints(s.time, m, q, 1, reference);
        ASSERT_EQ(fast.values.size(), reference.values.size()) << s.name;
        ASSERT_EQ(fast.rows, m.NY + 1);
        for (std::size_t p = 0; p < fast.values.size(); ++p) {
            const double expected = reference.values[p];
            const double bound = std::max(1e-12 * std::fabs(expected), 1e-15 * std::fabs(m.C0));
            ASSERT_NEAR(fast.values[p], expected, bound) << s.name << ", point " << p;
        }
    }
}

TEST(FieldKernel, ResultsDoNotDependOnTheNumberOfThreads)
{
    const ModelState m = modelOf({"", {{0, "256"}, {21, "-0.001"}}, 2500});
    const QuadratureState q = kavrin::test::LoadedQuadrature(m.GaussOrder);
    TimeField one;
    ComputeTimeField(2500, m, q, 1, one);
    for (unsigned workers : {2u, 3u, 5u, 64u}) {
        TimeField many;
        ComputeTimeField(2500, m, q, workers, many);
        ASSERT_EQ(many.values.size(), one.values.size());
        EXPECT_EQ(std::memcmp(many.values.data(), one.values.data(), one.values.size() * sizeof(double)), 0) << workers;
    }
}

TEST(FieldKernel, RaisesThePointFormulasFailure)
{
    const Scenario scenarios[] = {
        {"negative transverse dispersivity", {{15, "-0.2"}}, 2500}, {"zero longitudinal dispersivity", {{14, "0"}}, 2500},
        {"zero vertical dispersivity", {{16, "0"}}, 2500},          {"negative velocity", {{19, "-0.01"}}, 2500},
        {"a decay that overflows", {{21, "-0.5"}}, 2500},
    };
    for (const Scenario& s : scenarios) {
        const ModelState m = modelOf(s);
        const QuadratureState q = kavrin::test::LoadedQuadrature(m.GaussOrder);
        TimeField fast, reference;
        const std::string expected = kavrin::test::FailureText([&] { ComputeTimeFieldByPoints(s.time, m, q, 1, reference); });
        ASSERT_NE(expected, "") << s.name;
        EXPECT_EQ(kavrin::test::FailureText([&] { ComputeTimeField(s.time, m, q, 2, fast); }), expected) << s.name;
    }
}
