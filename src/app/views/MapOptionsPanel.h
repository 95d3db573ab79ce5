// The map window's options: the logarithmic scale and its decades, the
// standard, the wells, the axis titles with the flow arrow, and the size of
// saved pictures; each change is stored at once as the settings' map options.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"
#include "map/MapOptions.h"

#include <QFrame>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace kavrin {

class MapOptionsPanel : public QFrame {
    Q_OBJECT
public:
    MapOptionsPanel(AppState& app, Dialogs& dialogs, QWidget* parent);

    // The fields as the settings hold them (another window may have stored a standard).
    void showStored();

    QCheckBox* LogScale;
    QSpinBox* Decades;
    QLineEdit* Standard;  // mg/L, empty for none
    QCheckBox* Wells;
    QCheckBox* Axes;
    QSpinBox *PictureWidth, *PictureHeight;

signals:
    // Stored options that change the map on screen (not the saved pictures' size alone).
    void mapChanged();

protected:
    void changeEvent(QEvent* event) override;

private:
    void showTexts();
    // Applies `change` to the stored options and stores them when they differ.
    void store(const std::function<void(MapOptions&)>& change);
    void standardEdited();

    AppState& app_;
    Dialogs& dialogs_;
    QLabel *standardLabel_, *sizeLabel_;
    bool showing_ = false;  // the fields are being set from the settings
};

}  // namespace kavrin
