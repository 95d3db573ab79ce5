#include "project/FileCommands.h"

#include "files/ParameterFile.h"
#include "files/ProjectFile.h"
#include "files/ResultExports.h"
#include "gui/SaveName.h"
#include "project/ResultsHandOver.h"
#include "project/SiteExport.h"
#include "project/TFormDados.h"
#include "project/TFormExportGRD.h"
#include "workspace/ResultLoading.h"
#include "workspace/Workspace.h"

#include <QLineEdit>

#include <QScopeGuard>

namespace kavrin {

void FileCommands::AbreArq()
{
    ResultsHandOver previous(app_, dialogs_, projects_);
    if (!previous.settle()) return;
    const QString path = dialogs_.openFile(QStringLiteral("Dorvex (*.dat)"), QString());
    if (path.isEmpty()) return;
    const ParameterTexts loaded = ReadParameterFile(path.toStdString());
    ParameterTexts current = app_.texts;
    AssignEditTexts(current, loaded, app_.separator);
    app_.windows.dados->setTexts(current);
    previous.commit();
}

void FileCommands::SalvaArq()
{
    // The file has no place for the source options: the user says whether to go on without them.
    if (!app_.texts.source.empty() &&
        dialogs_.question(app_.text(AddedText::ParameterFileDropsSourceOptions), false) != Answer::Yes)
        return;
    const QString path = dialogs_.saveFile(QStringLiteral("KAVRIN (*.dat)"), QString());
    if (path.isEmpty()) return;
    WriteParameterFile(WithExtension(path, kParameterExtension).toStdString(), app_.texts);
}

void FileCommands::exportWith(Format format, const QString& save, const QString& open, int only)
{
    const auto run = format == Format::Grid ? GrdAsccreate : TxtTabcreate;
    // The export appends its extension to the name, and the times before it.
    const QString base = WithoutExtension(save, format == Format::Grid ? kGridExtension : kTextExtension);
    run(base.toStdString(), open.toStdString(), only, app_.model, app_.separator);
}

void FileCommands::ExportAllFiles(Format format, const QString& filter)
{
    const QString save = dialogs_.saveFile(filter, QString());
    if (save.isEmpty()) return;
    exportWith(format, save, QString::fromStdString(IndexPath(app_.project.Root, app_.project.ProjectName)), 1);
}

void FileCommands::ExportChosenFile(Format format)
{
    TFormExportGRD* window = app_.windows.exportGrd;
    window->saveFilter = format == Format::Grid ? QStringLiteral("Grd AscII (*.grd)") : QStringLiteral("Arquivo Texto (*.txt)");
    if (window->exec() != QDialog::Accepted) return;
    exportWith(format, window->Edit2->text(), window->Edit1->text(), 2);
}

void FileCommands::ExportSiteMap()
{
    TFormExportGRD* window = app_.windows.exportGrd;
    window->showSitePanel(true);
    const auto plain = qScopeGuard([window] { window->showSitePanel(false); });
    if (window->exec() != QDialog::Accepted) return;
    ExportToSite(app_, dialogs_, *window);
}

void FileCommands::CompletaArray(const QString& tempo)
{
    const std::string path = ResultFilePath(app_.project.Root, app_.project.ProjectName, tempo.toStdString());
    if (!LoadResultFile(path, app_.grid, app_.model, app_.separator)) dialogs_.notice(app_.messages.MsgResultFileMissing);
}

}  // namespace kavrin
