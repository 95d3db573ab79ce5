#include "gui/WebBrowser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace kavrin {
namespace {

// The program of a command line must exist and be runnable.
QStringList Runnable(QStringList command)
{
    if (command.isEmpty()) return {};
    const QFileInfo given(command.first());
    const QString program = given.isAbsolute() ? (given.isExecutable() && given.isFile() ? given.filePath() : QString())
                                               : QStandardPaths::findExecutable(command.first());
    if (program.isEmpty()) return {};
    command.first() = program;
    return command;
}

// BROWSER: commands separated by colons; "%s" stands for the page, else the
// page is the last argument.
QStringList FromBrowserVariable(const QUrl& url)
{
    const QString variable = qEnvironmentVariable("BROWSER");
    for (const QString& entry : variable.split(':', Qt::SkipEmptyParts)) {
        QStringList command = QProcess::splitCommand(entry);
        bool placed = false;
        for (QString& argument : command) {
            if (!argument.contains("%s")) continue;
            argument.replace("%s", url.toString());
            placed = true;
        }
        if (!placed) command << url.toString();
        if (QStringList found = Runnable(command); !found.isEmpty()) return found;
    }
    return {};
}

// The first line a desktop tool prints, or empty when it is missing or fails.
QString Ask(const QString& tool, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) return {};
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(3000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput()).section('\n', 0, 0).trimmed();
}

// Where desktop entries live, most personal first.
QStringList ApplicationFolders()
{
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty()) home = QDir::homePath() + "/.local/share";
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty()) system = "/usr/local/share:/usr/share";
    QStringList folders{home + "/applications"};
    for (const QString& folder : system.split(':', Qt::SkipEmptyParts)) folders << folder + "/applications";
    return folders;
}

// The command of a desktop entry (such as "firefox.desktop") for `url`;
// entries that need a terminal or cannot run are passed over.
QStringList FromDesktopEntry(const QString& entry, const QUrl& url)
{
    if (!entry.endsWith(".desktop") || entry.contains('/')) return {};
    for (const QString& folder : ApplicationFolders()) {
        QFile file(folder + '/' + entry);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
        QTextStream in(&file);
        bool inEntry = false;
        QString exec;
        bool terminal = false;
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            if (line.startsWith('['))
                inEntry = line == "[Desktop Entry]";
            else if (inEntry && line.startsWith("Exec="))
                exec = line.mid(5);
            else if (inEntry && line.startsWith("Terminal="))
                terminal = line.mid(9).trimmed() == "true";
        }
        if (exec.isEmpty() || terminal) return {};
        QStringList command;
        for (QString argument : QProcess::splitCommand(exec)) {
            if (argument == "%u" || argument == "%U")
                argument = url.toString();
            else if (argument == "%f" || argument == "%F")
                argument = url.isLocalFile() ? url.toLocalFile() : url.toString();
            else if (argument.size() == 2 && argument.startsWith('%') && argument != "%%")
                continue;  // %i, %c, %k …
            command << argument.replace("%%", "%");
        }
        if (!exec.contains("%u", Qt::CaseInsensitive) && !exec.contains("%f", Qt::CaseInsensitive)) command << url.toString();
        return Runnable(command);
    }
    return {};
}

}  // namespace

QStringList WebBrowserCommand(const QUrl& url)
{
    if (QStringList command = FromBrowserVariable(url); !command.isEmpty()) return command;
    const QString entries[] = {
        Ask("xdg-settings", {"get", "default-web-browser"}),
        Ask("xdg-mime", {"query", "default", "x-scheme-handler/https"}),
        Ask("xdg-mime", {"query", "default", "x-scheme-handler/http"}),
    };
    for (const QString& entry : entries)
        if (QStringList command = FromDesktopEntry(entry, url); !command.isEmpty()) return command;
    // The system's choice of a graphical web browser, where it keeps one.
    return Runnable({"x-www-browser", url.toString()});
}

bool OpenInWebBrowser(const QUrl& url)
{
    const QStringList command = WebBrowserCommand(url);
    if (command.isEmpty()) return false;
    QProcess browser;
    browser.setProgram(command.first());
    browser.setArguments(command.mid(1));
    browser.setStandardInputFile(QProcess::nullDevice());
    browser.setStandardOutputFile(QProcess::nullDevice());
    browser.setStandardErrorFile(QProcess::nullDevice());
    return browser.startDetached();
}

}  // namespace kavrin
