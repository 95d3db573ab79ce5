#include "views/TFormAnimacao.h"

#include "frame/TFormPrincipal.h"
#include "gui/CommandRunner.h"
#include "gui/PictureExport.h"
#include "gui/SaveName.h"
#include "map/AnimatedGif.h"
#include "map/AnimationFrames.h"
#include "text/Errors.h"
#include "views/TFormMapa.h"

#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
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
    auto* bar = new QToolBar(this);
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
    connect(RxSlider1, &QSlider::valueChanged, this, [this] { RxSlider1Changed(); });
    ButtonGif = new QToolButton(bar);
    ButtonGif->setObjectName("ButtonGif");
    ButtonGif->setText("GIF");
    ButtonGif->setFixedSize(50, 39);
    bar->addWidget(ButtonGif);
    command(ButtonGif, &TFormAnimacao::SaveGif);
    PBarFrames = new QProgressBar(bar);
    PBarFrames->setObjectName("PBarFrames");
    PBarFrames->setFormat("%v / %m");
    PBarFrames->setFixedWidth(160);
    PBarFrames->hide();
    bar->addWidget(PBarFrames);

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
    layout->addWidget(Image1);
    enablePlayer(false);
    Button1->setEnabled(false);
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
    Button1->setEnabled(false);
    PBarFrames->setValue(0);
    PBarFrames->show();
    const Making making{this};
    Image.clear();
    Image = app_.windows.mapa->CarregaAnimacao([this](int done, int total) {
        PBarFrames->setMaximum(total);
        PBarFrames->setValue(done);
    });
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
}

void TFormAnimacao::SaveGif()
{
    if (Image.isEmpty()) return;
    QString path = dialogs_.saveFile(QStringLiteral("GIF (*.gif)"), QString());
    if (path.isEmpty()) return;
    path = WithExtension(path, kGifExtension);
    // One frame file in memory at a time.
    AnimatedGifWriter gif(path.toStdString(), Timer1->interval());
    for (const QString& file : Image) {
        const QImage frame = QImage(file).convertToFormat(QImage::Format_RGB888);
        if (frame.isNull()) throw FileError(ENOENT, file.toStdString());
        gif.addFrame({frame.constBits(), frame.width(), frame.height(), frame.bytesPerLine()});
    }
    gif.finish();
}

bool TFormAnimacao::event(QEvent* event)
{
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
