#include "project/TFormCalculando.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace kavrin {

TFormCalculando::TFormCalculando(QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), Label1(new QLabel("Calculando ...", this)),
      PBar(new QProgressBar(this))
{
    setObjectName("TFormCalculando");
    setWindowTitle("Calculando");
    setFixedSize(300, 94);
    setStyleSheet("TFormCalculando { background: palette(alternate-base); border: 3px solid palette(dark); }");
    Label1->setObjectName("Label1");
    QFont font = Label1->font();
    font.setPointSize(14);
    font.setBold(true);
    Label1->setFont(font);
    Label1->setAlignment(Qt::AlignCenter);
    PBar->setObjectName("PBar");
    PBar->setRange(0, 100);
    PBar->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 14);
    layout->addWidget(Label1);
    layout->addWidget(PBar);
}

}  // namespace kavrin
