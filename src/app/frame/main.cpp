// kavrin: the desktop program.
#include "frame/AppState.h"
#include "frame/Startup.h"
#include "frame/TFormPrincipal.h"
#include "gui/Dialogs.h"
#include "project/TFormProjeto.h"
#include "text/DecimalSeparator.h"
#include "workspace/Workspace.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("KAVRIN");
    QApplication::setOrganizationName("KAVRIN");

    kavrin::AppState app;
    app.executableFolder = QApplication::applicationDirPath() + "/";
    app.separator = kavrin::SystemDecimalSeparator();
    app.project.Root = kavrin::WorkspaceRoot();
    // The desktop ties the windows to the installed launcher and its icons in
    // every size; a program run from the build tree has its own picture.
    QGuiApplication::setDesktopFileName("kavrin");
    QApplication::setWindowIcon(QIcon::fromTheme("kavrin", QIcon(app.executableFolder + "pictures/kavrin.png")));

    kavrin::QtDialogs dialogs;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const auto mainWindow = kavrin::StartKavrin(app, dialogs, arguments);
    dialogs.setParent(mainWindow.get());
    dialogs.setProjectNameAsker([&app] { return app.windows.projeto->askModal(); });
    return QApplication::exec();
}
