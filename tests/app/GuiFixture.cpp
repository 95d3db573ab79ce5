#include "GuiFixture.h"

#include "frame/Startup.h"
#include "gui/Settings.h"
#include "workspace/Workspace.h"

#include <QSettings>

namespace kavrin::test {

GuiFixture::GuiFixture()
{
    qputenv("KAVRIN_SETTINGS_DIR", (folder.path() + "settings").c_str());
    qputenv("KAVRIN_ROOT", (folder.path() + "KAVRIN").c_str());
    app.project.Root = WorkspaceRoot();
    app.executableFolder = QString(KAVRIN_BIN_DIR);
    app.separator = '.';
    app.splashMilliseconds = 1;
}

GuiFixture::~GuiFixture()
{
    main.reset();
    qunsetenv("KAVRIN_SETTINGS_DIR");
    qunsetenv("KAVRIN_ROOT");
}

void GuiFixture::start(const QStringList& arguments, const QString& executableFolder)
{
    if (!executableFolder.isEmpty()) app.executableFolder = executableFolder;
    main = StartKavrin(app, dialogs, arguments);
}

void GuiFixture::storeSetting(const QString& name, const QString& text) const
{
    QSettings settings(MachineSettingsFile(), QSettings::IniFormat);
    settings.setValue(name, text);
    settings.sync();
}

}  // namespace kavrin::test
