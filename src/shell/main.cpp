// kavrin: the desktop program.
#include "shell/AppState.h"
#include "shell/Dialogs.h"
#include "shell/Startup.h"
#include "shell/TFormPrincipal.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("KAVRIN");
    QApplication::setOrganizationName("KAVRIN");

    kavrin::AppState app;
    app.executableFolder = QApplication::applicationDirPath() + "/";
    app.separator = kavrin::DesktopDecimalSeparator();
    QApplication::setWindowIcon(QIcon(app.executableFolder + "pictures/kavrin.png"));

    kavrin::QtDialogs dialogs;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const auto mainWindow = kavrin::StartKavrin(app, dialogs, arguments);
    dialogs.setParent(mainWindow.get());
    dialogs.setProjectWindow(app.windows.projeto);
    return QApplication::exec();
}
