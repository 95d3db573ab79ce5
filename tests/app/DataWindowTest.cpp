#include "GuiFixture.h"
#include "frame/LanguageLoader.h"
#include "project/TFormDados.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::GuiFixture;

namespace {

struct DataFixture : GuiFixture {
    DataFixture(char separator = '.')
    {
        app.separator = separator;
        start();
        QApplication::setActiveWindow(main.get());
    }
    QLineEdit* edit(int n) const { return app.windows.dados->Edit[static_cast<std::size_t>(n)]; }
    // Types into a box as the user does, then moves the focus on.
    void typeAndLeave(int n, const QString& text, int next)
    {
        edit(n)->setFocus(Qt::MouseFocusReason);
        edit(n)->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit(n), Qt::Key_Delete);
        else
            QTest::keyClicks(edit(n), text);
        edit(next)->setFocus(Qt::TabFocusReason);
    }
};

}  // namespace

TEST(DataWindow, LeavingABoxNormalisesItAndTakesItsField)
{
    DataFixture f(',');
    f.typeAndLeave(7, "", 9);
    EXPECT_EQ(f.edit(7)->text(), "0");
    EXPECT_EQ(f.app.model.DX, 0);
    f.typeAndLeave(21, "0.00005", 1);
    EXPECT_EQ(f.edit(21)->text(), "0,00005");
    EXPECT_EQ(f.app.model.Decay, 0.00005);
    EXPECT_DOUBLE_EQ(f.app.model.Velocity, 0.025) << "derived fields wait for the next Variaveis";
    f.typeAndLeave(1, "1.000,5", 2);
    EXPECT_EQ(f.dialogs.errors,
              QStringList{QString::fromUtf8("'1,000,5' is not a valid floating point value — Concentração na Fonte (mg/L)")});
    EXPECT_EQ(f.edit(1)->text(), "1,000,5");
    EXPECT_EQ(f.app.model.C0, 0.5);
}

TEST(DataWindow, TheYPairMirrorsAsItIsTyped)
{
    struct Case {
        int edit;
        const char* typed;
        const char* y1;
        const char* y0;
    };
    const Case cases[] = {
        {8, "40", "40", "-40"}, {8, "3.5", "35", "-35"}, {10, "x-y7", "7", "-7"}, {10, "5-", "5", "-5"}, {10, "-", "30", "-"}};
    for (const Case& c : cases) {
        DataFixture f;
        f.edit(c.edit)->setFocus();
        f.edit(c.edit)->selectAll();
        QTest::keyClicks(f.edit(c.edit), c.typed);
        EXPECT_EQ(f.edit(8)->text(), c.y1) << c.typed;
        EXPECT_EQ(f.edit(10)->text(), c.y0) << c.typed;
    }
}

TEST(DataWindow, TheOrderIsAnyIntegerAndOtherTextsAreRefused)
{
    DataFixture f;
    f.app.windows.dados->ComboBox1->setEditText("10");
    EXPECT_EQ(f.app.model.GaussOrder, 10);
    f.app.windows.dados->ComboBox1->setEditText("abc");
    EXPECT_EQ(f.dialogs.errors, QStringList{"''abc'' is not a valid integer value"});
    EXPECT_EQ(f.app.model.GaussOrder, 10);
}

// The retardation field says what R is made of and that a factor below 1 is
// not applied, in the window's language.
TEST(DataWindow, TheRetardationFieldsTooltipSaysAFactorBelowOneIsNotApplied)
{
    DataFixture f;
    for (const auto& [language, words] : {std::pair{Language::English, "A factor below 1 is not applied"},
                                          std::pair{Language::Portuguese, "Um fator abaixo de 1 não é aplicado"}}) {
        LoadLanguage(f.app, language);
        const QString tip = f.edit(20)->toolTip();
        EXPECT_TRUE(tip.contains(QString::fromUtf8(words))) << tip.toStdString();
        EXPECT_TRUE(tip.contains("R = 1 + ")) << tip.toStdString();
    }
}
