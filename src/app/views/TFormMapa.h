// The map window: the plume of one time as a colour contour map, with the
// time list, the refresh button and the x, y, concentration readout.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"
#include "map/MapGeometry.h"
#include "map/MapPicture.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace kavrin {

class PlumeMetricsLine;
class MapOptionsPanel;

class TFormMapa : public QWidget {
    Q_OBJECT
public:
    TFormMapa(AppState& app, Dialogs& dialogs);

    // Each time the window becomes the active child window.
    void FormActivate();
    // The times T0, T0 + DT, … T1 that the index lists, in the general format; T0 chosen.
    void CompletaComboBox();
    // "Atualizar": loads the chosen time and draws it; a time that is not one
    // of the run's complete times is refused with a message naming it, the
    // picture and its title left as they were.
    void BitBtn1Click();
    // Whether `tempo` is a time the index lists whose file holds the whole grid.
    bool TimeIsComplete(const QString& tempo) const;
    // Draws MapTimeText from ResultGrid and the model; false (with the
    // message shown) when the grid is too large to draw, which leaves the
    // picture as it was. Any other failure leaves a white picture and is
    // thrown on to the command's message.
    bool DesenhaMapa();
    // One frame per time T0, T0 + DT, … T1: the time loaded, drawn and saved
    // as ROOT/PROJECT/tempImage/<integer part>.bmp; returns the frame paths in
    // play order and reports (times handled, times in all) as each time
    // starts; `progress` answers false when the frames are no longer wanted
    // (the program is quitting): then no more time is read and no frame is
    // returned. A time without its whole grid makes no frame; such times are
    // named in one message at the end.
    // The picture control is shown again, without a picture, and the cursor
    // restored, also when a frame fails.
    QStringList CarregaAnimacao(const std::function<bool(int, int)>& progress);
    // The readout of the picture's pixel (X, Y).
    void MostraValor(int X, int Y);
    // Removes the picture (the new-project command).
    void ClearMapa();
    // The shown time drawn again, loaded afresh, with the stored options.
    void redrawWithStoredOptions();

    bool hasPicture() const { return !picture_.isNull(); }
    const QImage& picture() const { return picture_; }
    // The shapes and texts of the picture shown, for a save in another size or format.
    const MapPicture& drawnMap() const { return drawn_; }

    QString MapTimeText;
    bool MapDrawn = false;
    // The time of each frame the last CarregaAnimacao made, in play order.
    QStringList AnimationTimes;

    QGroupBox* GroupBox2;
    QComboBox* ComboBox1;
    QPushButton* BitBtn1;
    QLabel* Mapa;
    QLabel *Label4, *Label5, *Label6;
    PlumeMetricsLine* MetricsLine;  // the plume's metrics of the drawn time, under the map
    QPushButton* OptionsButton;     // shows and hides the options
    MapOptionsPanel* Options;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showPicture(QImage picture);

    AppState& app_;
    Dialogs& dialogs_;
    MapGeometry geometry_;  // of the last drawing: the readout's ranges
    QImage picture_;
    MapPicture drawn_;
};

}  // namespace kavrin
