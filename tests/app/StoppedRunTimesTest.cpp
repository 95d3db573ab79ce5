// After a run cancelled part-way, the map window offers the times its index
// lists: the complete ones.
#include "RunFixture.h"
#include "TestSupport.h"
#include "project/TFormCalculando.h"
#include "views/TFormMapa.h"

#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::RunFixture;

TEST(StoppedRunTimes, TheMapListsTheCompleteTimesOfACancelledRun)
{
    RunFixture f;
    for (const auto& [edit, text] : {std::pair{6, "450"}, {7, "1"}, {9, "1"}, {10, "-30"}, {11, "0"}, {12, "25000"}, {13, "250"}})
        f.type(edit, text);
    bool clicked = false;
    QObject::connect(f.app.windows.calculando->PBar, &QProgressBar::valueChanged, f.main.get(), [&] {
        if (clicked) return;
        clicked = true;
        f.app.windows.calculando->findChild<QPushButton*>("BitBtn2")->click();
    });
    f.runAs("Stopped");
    const std::size_t listed = CrLfLines(ReadBytes(f.root() + "Stopped/Index.txt")).size();
    ASSERT_LT(listed, 101u);
    f.main->showWindow(f.app.windows.mapa, true);
    QComboBox* times = f.app.windows.mapa->ComboBox1;
    ASSERT_EQ(static_cast<std::size_t>(times->count()), listed);
    for (int k = 0; k < times->count(); ++k) EXPECT_EQ(times->itemText(k), QString::number(250 * k));
}
