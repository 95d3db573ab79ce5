// The calibration window's table and the fit's choices, saved with the project and opened with it.
#include "observations/TObservacao.h"

#include "text/Errors.h"
#include "workspace/Workspace.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

namespace kavrin {

namespace {

bool holdsAnyValue(const ObservationTable& table)
{
    for (const ObservationTexts& row : table.observations())
        if (std::any_of(row.begin(), row.end(), [](const std::string& text) { return !text.empty(); })) return true;
    const std::vector<std::string> weights = table.weights();
    return std::any_of(weights.begin(), weights.end(), [](const std::string& text) { return !text.empty(); });
}

}  // namespace

TObservacao::CalibrationState TObservacao::calibrationState() const
{
    return {table_.observations(), table_.weights(), fitPanel->storedChoices()};
}

StoredCalibration TObservacao::saveCalibration(const std::string& folder, const std::string& file) const
{
    StoredCalibration stored = fitPanel->storedChoices();
    if (holdsAnyValue(table_)) {
        table_.Save(folder + file);
        stored.observationFile = file;
    }
    return stored;
}

void TObservacao::calibrationSaved()
{
    savedCalibration_ = calibrationState();
}

bool TObservacao::calibrationChanged() const
{
    return calibrationState() != savedCalibration_;
}

void TObservacao::showStoredTable(const ObservationTable& table)
{
    table_ = table;
    const QSignalBlocker quiet(Edit1);  // the table already has its count
    Edit1->setText(QString::number(table_.ObservationCount()));
    showTable();
}

void TObservacao::openCalibration(const std::string& projectPath, const ProjectFileContents& project)
{
    const StoredCalibration& stored = project.calibration;
    if (stored == StoredCalibration{}) {
        // A project of the 25 lines leaves the window as it was, as it always has.
        calibrationSaved();
        return;
    }
    ObservationTable table;
    QString unread;
    if (stored.observationFile) {
        std::string path = *stored.observationFile;
        try {
            // A project not run yet (a fitted one) keeps its table where its results will be.
            const std::string index =
                project.indexPath.empty() ? IndexPath(app_.project.Root, project.projectName) : project.indexPath;
            path = StoredObservationPath(projectPath, index, *stored.observationFile);
            table.Import(path, app_.separator);
        } catch (const KavrinError& error) {
            table = ObservationTable();
            unread =
                app_.text(AddedText::StoredObservationsUnread).arg(QString::fromStdString(path), QString::fromUtf8(error.what()));
        }
    }
    showStoredTable(table);
    fitPanel->showStoredChoices(stored);
    calibrationSaved();
    if (!unread.isEmpty()) dialogs_.notice(unread);
}

void TObservacao::clearCalibration()
{
    showStoredTable(ObservationTable());
    fitPanel->showStoredChoices({});
    calibrationSaved();
}

}  // namespace kavrin
