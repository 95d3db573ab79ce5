#include "views/TFormAnimacao.h"

#include "frame/TFormPrincipal.h"
#include "gui/CommandRunner.h"
#include "gui/PictureExport.h"
#include "gui/SaveName.h"
#include "map/AnimatedGif.h"
#include "map/AnimationFrames.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "views/PictureSaving.h"
#include "views/TFormMapa.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cerrno>

namespace kavrin {

TFormAnimacao::TFormAnimacao(AppState& app, Dialogs& dialogs)
    : availableMemory(SystemAvailableMemory), app_(app), dialogs_(dialogs)
{
    setObjectName("TFormAnimacao");
    setWindowTitle(QString::fromUtf8("Animação"));
    auto* bar = ToolBar1 = new QToolBar(this);
    bar->setObjectName("ToolBar1");
    bar->setIconSize(QSize(32, 32));
    auto spacer = [bar](const char* name, int width) {
        auto* gap = new QWidget(bar);
        gap->setObjectName(name);
        gap->setFixedWidth(width);
        bar->addWidget(gap);
    };
    auto command = [this](QAbstractButton* button, void (TFormAnimacao::*handler)()) {
        connect(button, &QAbstractButton::clicked, this,
                [this, handler] { RunCommand(dialogs_, [this, handler] { (this->*handler)(); }); });
    };
    spacer("ToolButton5", 49);
    Button1 = new QPushButton(QString::fromUtf8("Gerar Animação"), bar);
    Button1->setObjectName("Button1");
    Button1->setFixedSize(184, 39);
    QFont font("Tahoma", 12);
    font.setBold(true);
    Button1->setFont(font);
    bar->addWidget(Button1);
    command(Button1, &TFormAnimacao::Button1Click);
    spacer("ToolButton4", 64);
    struct Player {
        QToolButton** button;
        const char* name;
        const char* picture;
        int width;
        void (TFormAnimacao::*handler)();
    };
    for (const Player& p : {Player{&SpeedButtonPlay, "SpeedButtonPlay", "play", 48, &TFormAnimacao::SpeedButtonPlayClick},
                            Player{&SpeedButtonPause, "SpeedButtonPause", "pause", 48, &TFormAnimacao::SpeedButtonPauseClick},
                            Player{&SpeedButtonStop, "SpeedButtonStop", "stop", 50, &TFormAnimacao::SpeedButtonStopClick}}) {
        auto* button = new QToolButton(bar);
        button->setObjectName(p.name);
        button->setIcon(QIcon(app_.executableFolder + "pictures/player-" + p.picture + ".png"));
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(p.width, 39);
        bar->addWidget(button);
        command(button, p.handler);
        *p.button = button;
    }
    spacer("ToolButton6", 106);
    RxSlider1 = new QSlider(Qt::Horizontal, bar);
    RxSlider1->setObjectName("RxSlider1");
    RxSlider1->setFixedWidth(162);
    RxSlider1->setRange(0, 100);
    RxSlider1->setValue(60);
    bar->addWidget(RxSlider1);
    IntervalText = new QLabel(bar);
    IntervalText->setObjectName("IntervalText");
    IntervalText->setContentsMargins(6, 0, 6, 0);
    bar->addWidget(IntervalText);
    connect(RxSlider1, &QSlider::valueChanged, this, [this] { RxSlider1Changed(); });
    ButtonGif = new QToolButton(bar);
    ButtonGif->setObjectName("ButtonGif");
    ButtonGif->setText("GIF");
    ButtonGif->setFixedSize(50, 39);
    bar->addWidget(ButtonGif);
    command(ButtonGif, &TFormAnimacao::SaveGif);
    // The making's progress and the frame shown, on a row of their own under
    // the tool bar, whose buttons already fill the window's width.
    PBarFrames = new QProgressBar(this);
    PBarFrames->setObjectName("PBarFrames");
    PBarFrames->setFormat("%v / %m");
    PBarFrames->setFixedWidth(200);
    PBarFrames->hide();
    FrameText = new QLabel(this);
    FrameText->setObjectName("FrameText");
    auto* status = new QHBoxLayout;
    status->addWidget(FrameText);
    status->addWidget(PBarFrames);
    status->addStretch();

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setFixedSize(950, 640);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, [this] { RunCommand(dialogs_, [this] { Timer1Timer(); }); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addLayout(status);
    // A window smaller than the frames scrolls them; a larger one shows them whole.
    auto* area = new QScrollArea(this);
    area->setObjectName("Image1Area");
    area->setFrameShape(QFrame::NoFrame);
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area->setWidget(Image1);
    layout->addWidget(area, 1);
    enablePlayer(false);
    Button1->setEnabled(false);
    showInterval();
}

void TFormAnimacao::showInterval()
{
    IntervalText->setText(app_.text(AddedText::AnimationInterval)
                              .arg(QString::fromStdString(FormatGeneral(Timer1->interval() / 1000.0, app_.separator))));
    // The text's room is that of the longest interval, so the bar keeps its
    // width; the window narrows no further than the bar, so that no button
    // of the player hides in the bar's overflow.
    const QString longest = app_.text(AddedText::AnimationInterval).arg("0" + QString(QChar(app_.separator)) + "55");
    IntervalText->setMinimumWidth(IntervalText->fontMetrics().horizontalAdvance(longest) + 12);
    ToolBar1->setMinimumWidth(ToolBar1->sizeHint().width());
}

void TFormAnimacao::showFrameNumber(int shown)
{
    FrameText->setText(shown < 0 ? QString() : app_.text(AddedText::AnimationFrameOf).arg(shown + 1).arg(Image.size()));
}

void TFormAnimacao::enablePlayer(bool on)
{
    for (QWidget* w : {static_cast<QWidget*>(SpeedButtonPlay), static_cast<QWidget*>(SpeedButtonPause),
                       static_cast<QWidget*>(SpeedButtonStop), static_cast<QWidget*>(ButtonGif)})
        w->setEnabled(on);
}

void TFormAnimacao::FormActivate()
{
    Button1->setEnabled(app_.project.ResultsExist && !making_);
    if (!app_.project.ResultsExist) dialogs_.notice(app_.messages.MsgAnimationNeedsResults);
}

void TFormAnimacao::FormClose()
{
    Timer1->stop();
}

void TFormAnimacao::Button1Click()
{
    if (making_) return;
    frames = 0;
    const std::optional<std::uint64_t> memory = availableMemory();
    if (memory && !EnoughMemoryForFrames(*memory)) {
        dialogs_.notice(app_.messages.MsgLowMemory);
        return;
    }
    struct Making {
        TFormAnimacao* window;
        ~Making()
        {
            window->making_ = false;
            window->Button1->setEnabled(window->app_.project.ResultsExist);
            window->PBarFrames->hide();
        }
    };
    making_ = true;
    stopMaking_ = false;
    Button1->setEnabled(false);
    showFrameNumber(-1);
    PBarFrames->setValue(0);
    PBarFrames->show();
    const Making making{this};
    Image.clear();
    Image = app_.windows.mapa->CarregaAnimacao([this](int done, int total) {
        PBarFrames->setMaximum(total);
        PBarFrames->setValue(done);
        return !stopMaking_;
    });
    if (stopMaking_) return;
    app_.windows.principal->showWindow(this, true);
    enablePlayer(true);
    enable = true;
}

void TFormAnimacao::MostraQuadro()
{
    if (Image.isEmpty()) return;
    if (frames >= Image.size()) frames = 0;
    const QImage frame(Image[frames]);
    if (frame.isNull()) {
        Image1->clear();
    } else {
        const QImage shown = frame.width() > Image1->width() || frame.height() > Image1->height()
                                 ? frame.scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                 : frame;
        Image1->setPixmap(QPixmap::fromImage(shown));
    }
    showFrameNumber(frames);
    frames += 1;
    if (frames > Image.size() - 1) frames = 0;
    Timer1->start();
}

void TFormAnimacao::SpeedButtonPlayClick()
{
    if (enable) MostraQuadro();
}

void TFormAnimacao::SpeedButtonPauseClick()
{
    if (enable) Timer1->stop();
}

void TFormAnimacao::ClearAnimacao()
{
    Timer1->stop();
    Image.clear();
    frames = 0;
    Image1->clear();
    showFrameNumber(-1);
    enablePlayer(false);
    enable = false;
}

void TFormAnimacao::SpeedButtonStopClick()
{
    if (!enable) return;
    Timer1->stop();
    frames = 0;
}

void TFormAnimacao::Timer1Timer()
{
    Timer1->stop();
    MostraQuadro();
}

void TFormAnimacao::RxSlider1Changed()
{
    Timer1->setInterval(SliderInterval(RxSlider1->value()));
    showInterval();
}

void TFormAnimacao::SaveGif()
{
    if (Image.isEmpty()) return;
    const std::optional<PictureSaveChoice> choice =
        AskPictureSave(dialogs_, FrameFiltersAfter(app_, QStringLiteral("GIF (*.gif)")));
    if (!choice) return;
    if (choice->format) {
        saveFramePictures(*choice);
        return;
    }
    const QString path = WithExtension(choice->path, kGifExtension);
    // One frame file in memory at a time.
    AnimatedGifWriter gif(path.toStdString(), Timer1->interval());
    for (const QString& file : Image) {
        const QImage frame = QImage(file).convertToFormat(QImage::Format_RGB888);
        if (frame.isNull()) throw FileError(ENOENT, file.toStdString());
        gif.addFrame({frame.constBits(), frame.width(), frame.height(), frame.bytesPerLine()});
    }
    gif.finish();
}

void TFormAnimacao::saveFramePictures(const PictureSaveChoice& choice)
{
    // Each frame is drawn again by the map window, from its time's results;
    // the map it showed is drawn again afterwards.
    TFormMapa* map = app_.windows.mapa;
    struct Restore {
        TFormMapa* map;
        TFormPrincipal* principal;
        QString shown;
        bool drawn;
        ~Restore()
        {
            QGuiApplication::restoreOverrideCursor();
            map->MapTimeText = shown;
            try {
                if (drawn && map->TimeIsComplete(shown)) {
                    principal->files().CompletaArray(shown);
                    if (map->DesenhaMapa()) return;
                }
            } catch (const std::exception&) {
            }
            map->ClearMapa();  // a map that cannot be drawn again is not left showing another time
        }
    };
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const Restore restore{map, app_.windows.principal, map->MapTimeText, map->hasPicture()};
    const QStringList times = map->AnimationTimes;
    WriteFramePictures(choice.path, *choice.format, times, MapSaveSize(), [&](int n) -> const MapPicture& {
        if (!map->TimeIsComplete(times[n]))
            throw CheckError(app_.text(AddedText::TimeWithoutCompleteResults).arg(times[n]).toStdString());
        map->MapTimeText = times[n];
        app_.windows.principal->files().CompletaArray(times[n]);
        if (!map->DesenhaMapa()) throw CheckError(app_.text(AddedText::TimeWithoutCompleteResults).arg(times[n]).toStdString());
        return map->drawnMap();
    });
}

bool TFormAnimacao::event(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        showInterval();
        if (!FrameText->text().isEmpty()) showFrameNumber(frames == 0 ? static_cast<int>(Image.size()) - 1 : frames - 1);
    }
    // Closing the child window that holds this form stops the playback.
    if (event->type() == QEvent::ParentChange && parentWidget()) parentWidget()->installEventFilter(this);
    return QWidget::event(event);
}

bool TFormAnimacao::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Close) FormClose();
    return QWidget::eventFilter(watched, event);
}

}  // namespace kavrin
