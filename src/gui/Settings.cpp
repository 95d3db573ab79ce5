#include "gui/Settings.h"

#include "text/Errors.h"
#include "text/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSettings>
#include <QStandardPaths>

namespace kavrin {

namespace {

const QString kKey = QStringLiteral("Software\\KAVRIN");
const QString kLanguage = QStringLiteral("Language");
const QString kConfig = QStringLiteral("Config");
const QString kMapOptions = QStringLiteral("MapOptions");

QString settingsFolder()
{
    return qEnvironmentVariable("KAVRIN_SETTINGS_DIR");
}

// QSettings reads a file with a blocking open: a named pipe in its place would
// hang the program before a window shows.
void requireReadable(const QString& file)
{
    RequireRegularFileOrNothing(file.toStdString());
}

bool storeIn(const QString& file, const QString& name, const QString& text)
{
    requireReadable(file);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSettings settings(file, QSettings::IniFormat);
    if (!settings.isWritable()) return false;
    settings.setValue(name, text);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString languageText(Language language)
{
    return language == Language::English ? QStringLiteral("English") : QStringLiteral("Port");
}

}  // namespace

// The paths QSettings gives the organisation "KAVRIN" in INI format, computed
// without a QSettings object, which would read the files on construction.
QString MachineSettingsFile()
{
    if (!settingsFolder().isEmpty()) return settingsFolder() + "/machine/KAVRIN.ini";
    return QLibraryInfo::path(QLibraryInfo::SettingsPath) + "/KAVRIN.ini";
}

QString UserSettingsFile()
{
    if (!settingsFolder().isEmpty()) return settingsFolder() + "/user/KAVRIN.ini";
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/KAVRIN.ini";
}

QString GetRegistryValue(const QString& keyName, const QString& valueName)
{
    QString key = keyName;
    if (key.endsWith('\\')) key.chop(1);
    if (key.compare(kKey, Qt::CaseInsensitive) != 0) return QString();
    // Both files are checked before either is read, so that every reading
    // fails alike, whichever value it asks for.
    const QString files[] = {UserSettingsFile(), MachineSettingsFile()};
    for (const QString& file : files) requireReadable(file);
    for (const QString& file : files) {
        if (!QFileInfo::exists(file)) continue;
        const QSettings settings(file, QSettings::IniFormat);
        if (!settings.contains(valueName)) continue;
        const QVariant value = settings.value(valueName);
        if (value.typeId() != QMetaType::QString) throw KavrinError("Invalid data type for '" + valueName.toStdString() + "'");
        return value.toString();
    }
    return QString();
}

void GravaRegistro(const QString& valueName, const QString& text)
{
    requireReadable(UserSettingsFile());
    if (storeIn(MachineSettingsFile(), valueName, text)) {
        // The user's own value would hide the machine-wide one on reading.
        if (QFileInfo::exists(UserSettingsFile())) {
            QSettings user(UserSettingsFile(), QSettings::IniFormat);
            user.remove(valueName);
            user.sync();
        }
        return;
    }
    if (!storeIn(UserSettingsFile(), valueName, text))
        throw KavrinError("Failed to set data for '" + valueName.toStdString() + "'");
}

std::optional<Language> StoredLanguage()
{
    const QString stored = GetRegistryValue(kKey, kLanguage);
    for (const Language language : {Language::Portuguese, Language::English})
        if (stored == languageText(language)) return language;
    return std::nullopt;
}

Language ChosenLanguage()
{
    return StoredLanguage().value_or(Language::Portuguese);
}

void StoreLanguage(Language language)
{
    GravaRegistro(kLanguage, languageText(language));
}

DataHandling StoredDataHandling()
{
    bool isNumber = false;
    const int config = GetRegistryValue(kKey, kConfig).trimmed().toInt(&isNumber);
    if (isNumber && config == 0) return DataHandling::SaveAll;
    if (isNumber && config == 1) return DataHandling::DeleteAll;
    return DataHandling::Ask;
}

void StoreDataHandling(DataHandling handling)
{
    GravaRegistro(kConfig, QString::number(static_cast<int>(handling)));
}

MapOptions StoredMapOptions()
{
    // A settings file that cannot be read is reported once at start-up; the
    // map then draws with its defaults instead of repeating the message at
    // every window that reads them. Storing options still reports it.
    try {
        return ParseMapOptionsText(GetRegistryValue(kKey, kMapOptions).toStdString());
    } catch (const KavrinError&) {
        return MapOptions{};
    }
}

void StoreMapOptions(const MapOptions& options)
{
    GravaRegistro(kMapOptions, QString::fromStdString(MapOptionsText(options)));
}

MapTextLanguages MapTextLanguagesFor(Language captionLanguage)
{
    return {StoredLanguage() == Language::Portuguese, captionLanguage == Language::Portuguese};
}

}  // namespace kavrin
