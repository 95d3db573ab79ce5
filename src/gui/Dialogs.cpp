#include "gui/Dialogs.h"

#include "gui/HelpViewer.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace kavrin {

QtDialogs::QtDialogs(QWidget* parent) : parent_(parent), helpTexts_(std::make_unique<HelpViewerTexts>()) {}

QtDialogs::~QtDialogs()
{
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

Dialogs::SaveChoice QtDialogs::saveFileChoosingFilter(const QString& filters, const QString& proposedName)
{
    QString chosen;
    const QString path =
        QFileDialog::getSaveFileName(parent_, QString(), proposedName, filters, &chosen, QFileDialog::DontConfirmOverwrite);
    return {path, chosen};
}

HelpViewer* QtDialogs::helpViewer() const
{
    return helpViewer_;
}

void QtDialogs::openDocument(const QString& path)
{
    // A page that is not there stays unshown.
    if (!QFileInfo::exists(path)) return;
    if (!helpViewer_) {
        helpViewer_ = new HelpViewer(parent_);
        helpViewer_->setTexts(*helpTexts_);
    }
    helpViewer_->showPage(path);
}

void QtDialogs::setHelpTexts(const HelpViewerTexts& texts)
{
    *helpTexts_ = texts;
    if (helpViewer_) helpViewer_->setTexts(texts);
}

std::optional<QString> QtDialogs::askProjectName()
{
    return askProjectName_ ? askProjectName_() : std::nullopt;
}

}  // namespace kavrin
