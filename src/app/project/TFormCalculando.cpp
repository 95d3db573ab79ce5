#include "project/TFormCalculando.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavrin {

TFormCalculando::TFormCalculando(QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), Label1(new QLabel("Calculando ...", this)), Label2(new QLabel(this)),
      PBar(new QProgressBar(this)), BitBtn2(new QPushButton("Cancelar", this))
{
    setObjectName("TFormCalculando");
    setWindowTitle("Calculando");
    setStyleSheet("TFormCalculando { background: palette(alternate-base); border: 3px solid palette(dark); }");
    Label1->setObjectName("Label1");
    QFont font = Label1->font();
    font.setPointSize(14);
    font.setBold(true);
    Label1->setFont(font);
    Label1->setAlignment(Qt::AlignCenter);
    Label2->setObjectName("Label2");
    Label2->setAlignment(Qt::AlignCenter);
    PBar->setObjectName("PBar");
    PBar->setRange(0, 100);
    PBar->setTextVisible(false);
    BitBtn2->setObjectName("BitBtn2");
    connect(BitBtn2, &QPushButton::clicked, this, &TFormCalculando::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 14);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(PBar);
    layout->addLayout(buttons);
    setFixedSize(340, sizeHint().height());
}

void TFormCalculando::reset(const QString& message)
{
    stopRequested = false;
    Label1->setText(message);
    Label2->clear();
    PBar->setValue(0);
    BitBtn2->setEnabled(true);
}

void TFormCalculando::showProgress(int percent, const QString& timeCaption, const QString& time)
{
    PBar->setValue(percent);
    Label2->setText(QString("%1%   %2: %3").arg(percent).arg(timeCaption, time));
}

void TFormCalculando::reject()
{
    stopRequested = true;
    BitBtn2->setEnabled(false);
}

}  // namespace kavrin
