#include "gui/Dialogs.h"

#include "gui/DesktopLauncher.h"
#include "gui/HelpViewer.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace kavrin {

QtDialogs::QtDialogs(QWidget* parent) : parent_(parent), launcher_(std::make_unique<DesktopLauncher>())
{
    desktopOpen_ = [launcher = launcher_.get()](const QString& path, std::function<void()> unopened) {
        launcher->open(path, std::move(unopened));
    };
}

QtDialogs::~QtDialogs()
{
    // Openers still waiting are stopped first, so none reports to the window below.
    launcher_.reset();
    delete helpViewer_.data();
}

void QtDialogs::notice(const QString& text)
{
    QMessageBox::information(parent_, QStringLiteral("KAVRIN"), text);
}

Answer QtDialogs::question(const QString& text, bool cancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (cancel) buttons |= QMessageBox::Cancel;
    const auto answer = QMessageBox::question(parent_, QStringLiteral("KAVRIN"), text, buttons);
    if (answer == QMessageBox::Yes) return Answer::Yes;
    if (answer == QMessageBox::No) return Answer::No;
    return cancel ? Answer::Cancel : Answer::No;
}

void QtDialogs::error(const QString& text)
{
    QMessageBox::critical(parent_, QStringLiteral("KAVRIN"), text);
}

QString QtDialogs::openFile(const QString& filter, const QString& startFolder)
{
    return QFileDialog::getOpenFileName(parent_, QString(), startFolder, filter);
}

QString QtDialogs::saveFile(const QString& filter, const QString& proposedName)
{
    // The commands append their extension themselves and replace without asking.
    return QFileDialog::getSaveFileName(parent_, QString(), proposedName, filter, nullptr, QFileDialog::DontConfirmOverwrite);
}

HelpViewer* QtDialogs::helpViewer() const
{
    return helpViewer_;
}

void QtDialogs::openDocument(const QString& path)
{
    desktopOpen_(path, [this, path] {
        // A page that is not there stays unshown, as with the desktop's viewer.
        if (!QFileInfo::exists(path)) return;
        if (!helpViewer_) helpViewer_ = new HelpViewer(parent_);
        helpViewer_->showPage(path);
    });
}

std::optional<QString> QtDialogs::askProjectName()
{
    return askProjectName_ ? askProjectName_() : std::nullopt;
}

}  // namespace kavrin
