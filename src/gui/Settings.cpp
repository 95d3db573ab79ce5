#include "Settings.h"

#include "text/Errors.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace kavrin {

namespace {

QString settingsFolder()
{
    return qEnvironmentVariable("KAVRIN_SETTINGS_DIR");
}

bool storeIn(const QString& file, const QString& name, const QString& text)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSettings settings(file, QSettings::IniFormat);
    if (!settings.isWritable()) return false;
    settings.setValue(name, text);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace

QString MachineSettingsFile()
{
    if (!settingsFolder().isEmpty()) return settingsFolder() + "/machine/KAVRIN.ini";
    return QSettings(QSettings::IniFormat, QSettings::SystemScope, QStringLiteral("KAVRIN")).fileName();
}

QString UserSettingsFile()
{
    if (!settingsFolder().isEmpty()) return settingsFolder() + "/user/KAVRIN.ini";
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KAVRIN")).fileName();
}

QString GetRegistryValue(const QString& /*keyName: one key, "Software\KAVRIN"*/, const QString& registro)
{
    for (const QString& file : {UserSettingsFile(), MachineSettingsFile()}) {
        if (!QFileInfo::exists(file)) continue;
        const QSettings settings(file, QSettings::IniFormat);
        if (!settings.contains(registro)) continue;
        const QVariant value = settings.value(registro);
        if (value.typeId() != QMetaType::QString)
            throw KavrinError("Invalid data type for '" + registro.toStdString() + "'");
        return value.toString();
    }
    return QString();
}

void GravaRegistro(const QString& valor, const QString& endereco)
{
    if (storeIn(MachineSettingsFile(), valor, endereco)) {
        // The user's own value would hide the machine-wide one on reading.
        if (QFileInfo::exists(UserSettingsFile())) {
            QSettings user(UserSettingsFile(), QSettings::IniFormat);
            user.remove(valor);
            user.sync();
        }
        return;
    }
    if (!storeIn(UserSettingsFile(), valor, endereco))
        throw KavrinError("Failed to set data for '" + valor.toStdString() + "'");
}

bool EnglishChosen()
{
    return GetRegistryValue("Software\\KAVRIN", "Language") == "English";
}

}  // namespace kavrin
