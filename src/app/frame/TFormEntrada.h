// The splash window, shown at start-up and as the About box; it closes
// itself when its timer fires.
#pragma once

#include "frame/AppState.h"

#include <QDialog>

class QTimer;

namespace kavrin {

class TFormEntrada : public QDialog {
    Q_OBJECT
public:
    explicit TFormEntrada(AppState& app, QWidget* parent);

    void showAtStartup();  // modal: returns when the timer has closed it
    void showAbout();      // without waiting

    QTimer* Timer1;

private:
    void Timer1Timer();
};

}  // namespace kavrin
