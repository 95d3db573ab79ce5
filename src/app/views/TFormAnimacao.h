// The animation window: the map of every time, played on a timer.
#pragma once

#include "frame/AppState.h"

#include <QWidget>

class QLabel;
class QSlider;
class QTimer;

namespace kavrin {

class TFormAnimacao : public QWidget {
    Q_OBJECT
public:
    explicit TFormAnimacao(AppState& app);

    QSlider* RxSlider1;
    QLabel* Image1;
    QTimer* Timer1;

private:
    AppState& app_;
};

}  // namespace kavrin
