#include "frame/TFormEntrada.h"

#include "program/ProgramVersion.h"

#include <QLabel>
#include <QTimer>

namespace kavrin {

TFormEntrada::TFormEntrada(AppState& app, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), Timer1(new QTimer(this))
{
    setObjectName("TFormEntrada");
    setFixedSize(369, 278);
    auto* picture = new QLabel(this);
    picture->setObjectName("Entrada");
    picture->setGeometry(0, 0, 369, 278);
    picture->setPixmap(QPixmap(app.executableFolder + "pictures/splash.jpg"));
    picture->setScaledContents(true);

    auto* title = new QLabel(QStringLiteral("KAVRIN"), this);
    title->setObjectName("Label1");
    title->setGeometry(20, 18, 330, 44);
    title->setStyleSheet("color: white; background: transparent; font-family: Verdana; font-size: 28pt;"
                         "font-weight: bold; font-style: italic;");
    auto* contact = new QLabel(QString::fromUtf8("Transporte de contaminantes em águas subterrâneas\n"
                                                 "Solução analítica 3-D · versão ") +
                                   QString::fromUtf8(kProgramVersion.data(), kProgramVersion.size()),
                               this);
    contact->setObjectName("Label2");
    contact->setGeometry(20, 222, 340, 44);
    contact->setStyleSheet("color: white; background: transparent; font-family: Verdana; font-size: 8pt;");

    Timer1->setObjectName("Timer1");
    Timer1->setSingleShot(true);
    Timer1->setInterval(app.splashMilliseconds);
    connect(Timer1, &QTimer::timeout, this, &TFormEntrada::Timer1Timer);
}

void TFormEntrada::showAtStartup()
{
    Timer1->start();
    exec();
}

void TFormEntrada::showAbout()
{
    if (parentWidget()) move(parentWidget()->geometry().center() - rect().center());
    Timer1->start();
    show();
    raise();
}

void TFormEntrada::Timer1Timer()
{
    Timer1->stop();
    close();
}

}  // namespace kavrin
