#include "views/TFormAnimacao.h"

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kavrin {

TFormAnimacao::TFormAnimacao(AppState& app) : app_(app)
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
    spacer("ToolButton5", 49);
    auto* make = new QPushButton(QString::fromUtf8("Gerar Animação"), bar);
    make->setObjectName("Button1");
    make->setFixedSize(184, 39);
    QFont font("Tahoma", 12);
    font.setBold(true);
    make->setFont(font);
    bar->addWidget(make);
    spacer("ToolButton4", 64);
    struct Player {
        const char* name;
        const char* picture;
        int width;
    };
    for (const Player& p : {Player{"SpeedButtonPlay", "play", 48}, Player{"SpeedButtonPause", "pause", 48},
                            Player{"SpeedButtonStop", "stop", 50}}) {
        auto* button = new QToolButton(bar);
        button->setObjectName(p.name);
        button->setIcon(QIcon(app_.executableFolder + "pictures/player-" + p.picture + ".png"));
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(p.width, 39);
        bar->addWidget(button);
    }
    spacer("ToolButton6", 106);
    RxSlider1 = new QSlider(Qt::Horizontal, bar);
    RxSlider1->setObjectName("RxSlider1");
    RxSlider1->setFixedWidth(162);
    RxSlider1->setRange(0, 100);
    RxSlider1->setValue(60);
    bar->addWidget(RxSlider1);

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setFixedSize(950, 640);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setStyleSheet("background: white;");
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(2000);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(Image1);
}

}  // namespace kavrin
