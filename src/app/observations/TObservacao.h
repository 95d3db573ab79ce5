// The calibration window: field observations and their comparison with the model.
#pragma once

#include "calibration/Comparison.h"
#include "calibration/Observations.h"
#include "files/ProjectFile.h"
#include "frame/AppState.h"
#include "gui/Dialogs.h"
#include "map/MapOptions.h"
#include "observations/FitPanel.h"

#include <QWidget>

class QChartView;
class QLabel;
class QLineEdit;
class QTableWidget;
class QTabWidget;

namespace kavrin {

class TObservacao : public QWidget {
    Q_OBJECT
public:
    TObservacao(AppState& app, Dialogs& dialogs);

    // The creation step: the grid's built-in headings.
    void FormCreate();

    // The language file's lines from 126 on: the fit panel's texts and the
    // heading of the weight column.
    void applyLaterLanguage(const QStringList& lines, bool portuguese);

    void Edit1Change();   // the count box's text changed
    void BitBtn1Click();  // "Salvar"
    void BitBtn2Click();  // "Cancelar"
    void BitBtn4Click();  // "Importar Dados" (the handler of BitBtn5)
    void BitBtn3Click();  // "Exportar Gráfico como figura"
    void BitBtn6Click();  // "Calcular"

    // Where a cell is, as a line under an error about it: its row and its column's heading.
    QString placeOf(ObservationCell cell) const;

    // The calibration stored with the project (CalibrationStore.cpp). Saving
    // writes the table, when it holds any value, as `file` in `folder` and
    // gives what the project file stores; once that file is written,
    // calibrationSaved() takes the state as the project's. Opening shows what
    // the project at `projectPath` stores, or leaves the window as it is when
    // the project stores nothing of it; a table that cannot be read is
    // reported and the rest is opened. A new project empties the table and
    // takes the fit back to its defaults.
    StoredCalibration saveCalibration(const std::string& folder, const std::string& file) const;
    void calibrationSaved();
    void openCalibration(const std::string& projectPath, const ProjectFileContents& project);
    void clearCalibration();
    // Whether the table or the fit's choices differ from the project file's.
    bool calibrationChanged() const;

    // The map's wells: the table's rows with a readable X and Y, each with its
    // residual (observed − calculated) while the comparison shown is of the
    // table as it is now.
    std::vector<MapWell> mapWells() const;

    // The table behind the grid: every cell, hidden rows included.
    const ObservationTable& table() const { return table_; }

    QTabWidget* Tabs;    // the table and its comparison, then the fit
    FitPanel* fitPanel;  // the automatic fit, on the second tab
    QTableWidget* StringGrid1;
    QLineEdit* Edit1;
    QChartView* Chart1;
    QLabel *Label3, *Label7;

protected:
    void changeEvent(QEvent* event) override;

private:
    void showTabTitles();
    void fitChartToTitles();
    void showTable();  // the grid shows the table's rows
    void showComparison(const std::vector<Observation>& observations, const std::vector<double>& calculated,
                        const ComparisonStatistics& statistics);
    void cellEdited(int row, int column);
    void minimise();

    AppState& app_;
    Dialogs& dialogs_;
    void showStoredTable(const ObservationTable& table);
    // The table's rows and the fit's choices as a project file holds them.
    struct CalibrationState {
        std::vector<ObservationTexts> observations;
        std::vector<std::string> weights;
        StoredCalibration choices;
        bool operator==(const CalibrationState&) const = default;
    };
    CalibrationState calibrationState() const;

    ObservationTable table_;
    bool showingTable_ = false;
    CalibrationState savedCalibration_;  // as the project file last took or gave it
    // The rows of the comparison shown and observed − calculated of each.
    std::vector<ObservationTexts> comparedRows_;
    std::vector<double> comparedResiduals_;
};

// The built-in headings of the observation table, columns 0 to 5; column 6,
// the weight, takes its heading from the fit panel's texts.
extern const char* const kObservationHeadings[6];

}  // namespace kavrin
