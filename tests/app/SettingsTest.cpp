#include "gui/Settings.h"
#include "GuiFixture.h"
#include "frame/TFormFerramenta.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::GuiFixture;

namespace {

void press(TFormFerramenta* window, const char* button)
{
    window->findChild<QPushButton*>(button)->click();
}

}  // namespace

TEST(SettingsWindow, PreselectsTheStoredChoices)
{
    struct Case {
        const char* config;
        const char* language;
        const char* dataButton;
        const char* languageButton;
    };
    const Case cases[] = {
        {nullptr, nullptr, "RadioButton5", "RadioButton3"}, {"0", "English", "RadioButton1", "RadioButton4"},
        {"1", "Port", "RadioButton2", "RadioButton3"},      {"2", "ENGLISH", "RadioButton5", "RadioButton3"},
        {"7", "", "RadioButton5", "RadioButton3"},          {"x", "x", "RadioButton5", "RadioButton3"},
    };
    for (const Case& c : cases) {
        GuiFixture f;
        if (c.config) f.storeSetting("Config", c.config);
        if (c.language) f.storeSetting("Language", c.language);
        f.start();
        TFormFerramenta* window = f.app.windows.ferramenta;
        EXPECT_TRUE(window->findChild<QRadioButton*>(c.dataButton)->isChecked()) << (c.config ? c.config : "none");
        EXPECT_TRUE(window->findChild<QRadioButton*>(c.languageButton)->isChecked()) << (c.language ? c.language : "none");
        EXPECT_FALSE(f.app.settings.AutoSaveProjects) << "the flags wait for Aplicar";
        EXPECT_FALSE(f.app.settings.AutoDeleteData);
    }
}

TEST(SettingsWindow, AplicarStoresSetsTheFlagsAndAppliesTheLanguage)
{
    GuiFixture f;
    f.start();
    TFormFerramenta* window = f.app.windows.ferramenta;
    window->RadioButton2->setChecked(true);
    window->RadioButton4->setChecked(true);
    press(window, "BitBtn1");
    EXPECT_TRUE(f.app.settings.AutoDeleteData);
    EXPECT_FALSE(f.app.settings.AutoSaveProjects);
    EXPECT_EQ(GetRegistryValue("Software\\KAVRIN", "Config"), "1");
    EXPECT_EQ(GetRegistryValue("Software\\KAVRIN", "Language"), "English");
    EXPECT_FALSE(f.app.PortugueseActive);
    EXPECT_EQ(f.main->action("Sair1")->text(), "Exit");

    window->RadioButton1->setChecked(true);
    window->RadioButton3->setChecked(true);
    press(window, "BitBtn1");
    EXPECT_TRUE(f.app.settings.AutoSaveProjects);
    EXPECT_FALSE(f.app.settings.AutoDeleteData);
    EXPECT_EQ(GetRegistryValue("Software\\KAVRIN", "Config"), "0");
    EXPECT_EQ(f.main->action("Sair1")->text(), "Sair");
    EXPECT_TRUE(f.dialogs.errors.isEmpty());
}

TEST(SettingsWindow, CancelarKeepsTheSelectionButAppliesNothing)
{
    GuiFixture f;
    f.start();
    TFormFerramenta* window = f.app.windows.ferramenta;
    window->RadioButton4->setChecked(true);
    press(window, "BitBtn2");
    EXPECT_TRUE(f.app.PortugueseActive);
    EXPECT_EQ(GetRegistryValue("Software\\KAVRIN", "Language"), "");
    EXPECT_TRUE(window->RadioButton4->isChecked());
}

TEST(SettingsStore, UserValuesComeFirstAndFailedWritesSaySo)
{
    GuiFixture f;
    f.storeSetting("Language", "English");
    EXPECT_EQ(GetRegistryValue("Software\\KAVRIN", "Language"), "English");
    GravaRegistro("Language", "Port");
    EXPECT_EQ(GetRegistryValue("Software\\KAVRIN", "Language"), "Port");

    // A settings folder that cannot exist: below a plain file.
    kavrin::test::WriteBytes(f.folder.path() + "plain", "");
    qputenv("KAVRIN_SETTINGS_DIR", (f.folder.path() + "plain/settings").c_str());
    EXPECT_EQ(GetRegistryValue("Software\\KAVRIN", "Config"), "");
    try {
        GravaRegistro("Config", "1");
        FAIL();
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Config'");
    }
}
