// The map window: the plume of one time as a colour contour map.
#pragma once

#include "frame/AppState.h"

#include <QWidget>

class QComboBox;
class QLabel;

namespace kavrin {

class TFormMapa : public QWidget {
    Q_OBJECT
public:
    explicit TFormMapa(AppState& app);

    // Removes the picture (the new-project command).
    void ClearMapa();

    QComboBox* ComboBox1;
    QLabel* Mapa;
    QLabel *Label4, *Label5, *Label6;

private:
    AppState& app_;
};

}  // namespace kavrin
