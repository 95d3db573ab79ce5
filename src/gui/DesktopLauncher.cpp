#include "gui/DesktopLauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace kavrin {

DesktopLauncher::~DesktopLauncher()
{
    for (QProcess* opener : findChildren<QProcess*>()) {
        opener->blockSignals(true);  // the failure callbacks may point at what is being destroyed
        opener->kill();
        opener->waitForFinished(1000);
    }
}

void DesktopLauncher::open(const QString& path, Unopened unopened)
{
    // xdg-open reports through its exit status whether a viewer took the file;
    // without it, Qt's own way to the desktop reports at once.
    const QString opener = QStandardPaths::findExecutable("xdg-open");
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) unopened();
        return;
    }
    auto* process = new QProcess(this);
    // The opener may ask on its input which program to use (mimeopen does);
    // it gets no answer. A viewer it starts inherits the outputs, which must
    // not be pipes that nobody reads.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, this, [process, unopened](int exitCode, QProcess::ExitStatus status) {
        process->deleteLater();
        if (status != QProcess::NormalExit || exitCode != 0) unopened();
    });
    connect(process, &QProcess::errorOccurred, this, [process, unopened](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        process->deleteLater();
        unopened();
    });
    process->start(opener, {path});
}

}  // namespace kavrin
