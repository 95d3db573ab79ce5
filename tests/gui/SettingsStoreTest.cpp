// The settings store: the typed accessors keep the stored names and texts,
// the key is honoured, and a settings file that is not a regular file is
// refused with a message instead of hanging the program.
#include "TestSupport.h"
#include "gui/Settings.h"
#include "text/Errors.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace kavrin {
namespace {

// A settings folder of the test's own.
struct SettingsFolder {
    SettingsFolder() { qputenv("KAVRIN_SETTINGS_DIR", (folder.path() + "settings").c_str()); }
    ~SettingsFolder() { qunsetenv("KAVRIN_SETTINGS_DIR"); }
    QString stored(const QString& name) const
    {
        return QSettings(MachineSettingsFile(), QSettings::IniFormat).value(name).toString();
    }
    void store(const QString& name, const QString& text) const
    {
        QSettings settings(MachineSettingsFile(), QSettings::IniFormat);
        settings.setValue(name, text);
        settings.sync();
    }
    test::TempFolder folder;
};

TEST(SettingsStore, TypedAccessorsKeepTheStoredTexts)
{
    SettingsFolder f;
    const std::pair<DataHandling, const char*> handlings[] = {
        {DataHandling::SaveAll, "0"}, {DataHandling::DeleteAll, "1"}, {DataHandling::Ask, "2"}};
    for (const auto& [handling, text] : handlings) {
        StoreDataHandling(handling);
        EXPECT_EQ(f.stored("Config"), text);
        EXPECT_EQ(StoredDataHandling(), handling) << text;
    }
    for (const char* other : {"7", "x", ""}) {
        f.store("Config", other);
        EXPECT_EQ(StoredDataHandling(), DataHandling::Ask) << other;
    }
    const std::pair<Language, const char*> languages[] = {{Language::Portuguese, "Port"}, {Language::English, "English"}};
    for (const auto& [language, text] : languages) {
        StoreLanguage(language);
        EXPECT_EQ(f.stored("Language"), text);
        EXPECT_EQ(StoredLanguage(), language) << text;
    }
}

TEST(SettingsStore, TheStoredLanguageAndTheMapsTwoTexts)
{
    struct Case {
        const char* stored;  // nullptr: no value
        std::optional<Language> language;
        Language chosen;
        bool titleInPortuguese;
    };
    const Case cases[] = {
        {nullptr, std::nullopt, Language::Portuguese, false},     {"Port", Language::Portuguese, Language::Portuguese, true},
        {"English", Language::English, Language::English, false}, {"port", std::nullopt, Language::Portuguese, false},
        {"ENGLISH", std::nullopt, Language::Portuguese, false},   {"", std::nullopt, Language::Portuguese, false},
    };
    for (const Case& c : cases) {
        SettingsFolder f;
        if (c.stored) f.store("Language", c.stored);
        const char* label = c.stored ? c.stored : "none";
        EXPECT_EQ(StoredLanguage(), c.language) << label;
        EXPECT_EQ(ChosenLanguage(), c.chosen) << label;
        for (const Language caption : {Language::Portuguese, Language::English}) {
            const MapTextLanguages texts = MapTextLanguagesFor(caption);
            EXPECT_EQ(texts.titleInPortuguese, c.titleInPortuguese) << label;
            EXPECT_EQ(texts.captionInPortuguese, caption == Language::Portuguese) << label;
        }
    }
}

TEST(SettingsStore, ValuesLiveUnderTheProgramsOneKey)
{
    SettingsFolder f;
    GravaRegistro("Language", "English");
    EXPECT_EQ(GetRegistryValue("Software\\KAVRIN", "Language"), "English");
    EXPECT_EQ(GetRegistryValue("Software\\KAVRIN\\", "Language"), "English") << "a trailing backslash names the same key";
    EXPECT_EQ(GetRegistryValue("Software\\Other", "Language"), "") << "another key holds nothing";
    EXPECT_EQ(GetRegistryValue("", "Language"), "");
}

// Runs `action` on a thread of its own; a named pipe that makes it wait for a
// writer is given one (non-blocking, so the test itself cannot hang) and the
// action is reported as having blocked.
std::string failureWithin(const std::string& pipe, const std::function<void()>& action)
{
    auto pending = std::async(std::launch::async, [&action] { return test::FailureText(action); });
    if (pending.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        pending.wait();
        if (writer >= 0) ::close(writer);
        return "blocked";
    }
    return pending.get();
}

TEST(SettingsStore, ANamedPipeInPlaceOfASettingsFileIsRefused)
{
    for (const bool user : {true, false}) {
        SettingsFolder f;
        const QString file = user ? UserSettingsFile() : MachineSettingsFile();
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
        const std::string pipe = file.toStdString();
        ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
        const std::string expected = pipe + " is not a file (a folder, a device or a pipe); choose a file.";
        EXPECT_EQ(failureWithin(pipe, [] { GetRegistryValue("Software\\KAVRIN", "Language"); }), expected) << user;
        EXPECT_EQ(failureWithin(pipe, [] { StoreLanguage(Language::English); }), expected) << user;
        EXPECT_EQ(failureWithin(pipe, [] { ChosenLanguage(); }), expected) << user;
    }
}

// Every reading fails alike, whichever value it asks for and wherever that value is.
TEST(SettingsStore, AValueInTheUsersFileDoesNotHideAPipeInPlaceOfTheMachineWideFile)
{
    SettingsFolder f;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(UserSettingsFile()).absolutePath()));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(MachineSettingsFile()).absolutePath()));
    test::WriteBytes(UserSettingsFile().toStdString(), "[General]\nLanguage=English\n");
    const std::string pipe = MachineSettingsFile().toStdString();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string expected = pipe + " is not a file (a folder, a device or a pipe); choose a file.";
    EXPECT_EQ(failureWithin(pipe, [] { ChosenLanguage(); }), expected);
    EXPECT_EQ(failureWithin(pipe, [] { StoredDataHandling(); }), expected);
}

}  // namespace
}  // namespace kavrin

namespace kavrin {
namespace {

TEST(SettingsStore, TheFilesAreThoseQtNamesForTheOrganisation)
{
    qunsetenv("KAVRIN_SETTINGS_DIR");
    EXPECT_EQ(MachineSettingsFile(), QSettings(QSettings::IniFormat, QSettings::SystemScope, "KAVRIN").fileName());
    EXPECT_EQ(UserSettingsFile(), QSettings(QSettings::IniFormat, QSettings::UserScope, "KAVRIN").fileName());
}

}  // namespace
}  // namespace kavrin
