// The frame's own texts follow a change of language at once.
#include "RunFixture.h"
#include "frame/LanguageLoader.h"

#include <QLabel>
#include <QStatusBar>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::RunFixture;

TEST(FrameLanguage, TheStatusBarsProjectCaptionFollowsTheLanguageAtOnce)
{
    RunFixture f;
    f.runAs("Teste");
    const auto* panel = f.main->statusBar()->findChild<QLabel*>("ProjectPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->text(), "Projeto: Teste");
    LoadLanguage(f.app, Language::English);
    EXPECT_EQ(panel->text(), "Project: Teste");
    LoadLanguage(f.app, Language::Portuguese);
    EXPECT_EQ(panel->text(), "Projeto: Teste");
}

TEST(FrameLanguage, TheHelpWindowGetsItsTextsInTheChosenLanguage)
{
    RunFixture f;
    EXPECT_EQ(f.dialogs.helpTexts.openInBrowser, "Abrir no navegador");
    EXPECT_EQ(f.dialogs.helpTexts.back, "Voltar");
    LoadLanguage(f.app, Language::English);
    EXPECT_EQ(f.dialogs.helpTexts.openInBrowser, "Open in browser");
    EXPECT_EQ(f.dialogs.helpTexts.backTip, "Goes back to the part shown before");
    EXPECT_TRUE(f.dialogs.helpTexts.noBrowser.startsWith("No web browser was found"));
}
