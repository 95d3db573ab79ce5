// kavrin: the desktop program.
#include "frame/AppState.h"
#include "frame/Startup.h"
#include "frame/TFormPrincipal.h"
#include "gui/Dialogs.h"
#include "program/ProgramSwitches.h"
#include "project/TFormProjeto.h"
#include "text/DecimalSeparator.h"
#include "workspace/Workspace.h"

#include <QApplication>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // --help and --version answer without a display.
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (const auto status = kavrin::AnswerProgramSwitch("kavrin", words, kavrin::DesktopUsage(), std::cout)) return *status;
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
