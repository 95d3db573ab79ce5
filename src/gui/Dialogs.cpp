#include "Dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>
#include <QMessageBox>

namespace kavrin {

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
    return QFileDialog::getSaveFileName(parent_, QString(), proposedName, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

void QtDialogs::openDocument(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

std::optional<QString> QtDialogs::askProjectName()
{
    return askProjectName_ ? askProjectName_() : std::nullopt;
}

}  // namespace kavrin
