// The animation window: the map of every time made into frame files, played
// on a timer with play, pause, stop and a speed slider, and saved as one
// animated GIF.
#pragma once

#include "frame/AppState.h"
#include "gui/Dialogs.h"
#include "gui/PictureSaveDialog.h"

#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;
class QTimer;
class QToolBar;
class QToolButton;

namespace kavrin {

class TFormAnimacao : public QWidget {
    Q_OBJECT
public:
    TFormAnimacao(AppState& app, Dialogs& dialogs);

    // Each time the window becomes the active child window.
    void FormActivate();
    // The window is closed (minimised): playback stops.
    void FormClose();
    // "Gerar Animação": the memory check, the frames, the player armed.
    void Button1Click();
    // The frames belong to results given up: playback stops, no frame is left to show.
    void ClearAnimacao();
    // The program is quitting: frames being made stop before the next time is read.
    void stopMakingFrames() { stopMaking_ = true; }
    // Shows frame `frames`, moves on to the next and starts the clock.
    void MostraQuadro();
    void SpeedButtonPlayClick();
    void SpeedButtonPauseClick();
    void SpeedButtonStopClick();
    void Timer1Timer();
    void RxSlider1Changed();
    // The frames as one animated GIF (".gif" added when the name lacks it),
    // each shown for the player's interval; or, by the dialog's filter, as
    // PNG or SVG files, one per time, or one PDF of a page per time.
    void SaveGif();

    QStringList Image;  // frame files in play order
    int frames = 0;     // the next frame to show
    bool enable = false;
    // The available memory in bytes (MemAvailable of /proc/meminfo), or
    // nothing when it cannot be told; tests put their own source here.
    std::function<std::optional<std::uint64_t>()> availableMemory;

    QToolBar* ToolBar1;
    QPushButton* Button1;
    QToolButton *SpeedButtonPlay, *SpeedButtonPause, *SpeedButtonStop, *ButtonGif;
    QSlider* RxSlider1;
    QProgressBar* PBarFrames;
    QLabel* FrameText;     // "Quadro 3 de 12" while frames are shown
    QLabel* IntervalText;  // the player's interval beside the slider
    QLabel* Image1;
    QTimer* Timer1;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enablePlayer(bool on);
    void saveFramePictures(const PictureSaveChoice& choice);
    void showInterval();
    // The number of frame `shown` (from 0) of all; nothing for -1.
    void showFrameNumber(int shown);

    AppState& app_;
    Dialogs& dialogs_;
    bool making_ = false;
    bool stopMaking_ = false;
};

}  // namespace kavrin
