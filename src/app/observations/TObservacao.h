// The calibration window: field observations and their comparison with the model.
#pragma once

#include "frame/AppState.h"
#include "Dialogs.h"

#include <QWidget>

class QChartView;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace kavrin {

class TObservacao : public QWidget {
    Q_OBJECT
public:
    TObservacao(AppState& app, Dialogs& dialogs);

    // The creation step: the grid's built-in headings.
    void FormCreate();

    QTableWidget* StringGrid1;
    QLineEdit* Edit1;
    QChartView* Chart1;
    QLabel *Label3, *Label7;

private:
    AppState& app_;
    Dialogs& dialogs_;
};

// The built-in headings of the observation table, columns 0 to 5.
extern const char* const kObservationHeadings[6];

}  // namespace kavrin
