#include "views/TFormMapa.h"
#include "NamedWidget.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavrin {

namespace {

QLabel* readout(QWidget* parent, const char* name, const char* text, bool bold)
{
    auto* label = NamedWidget<QLabel>(parent, name, QString::fromUtf8(text));
    QFont font("Arial", 9);
    font.setBold(bold);
    label->setFont(font);
    label->setMinimumWidth(bold ? 0 : 90);
    return label;
}

}  // namespace

TFormMapa::TFormMapa(AppState& app) : app_(app)
{
    setObjectName("TFormMapa");
    setWindowTitle("Mapa");
    auto* timeBox = new QGroupBox("Tempo", this);
    timeBox->setObjectName("GroupBox2");
    ComboBox1 = new QComboBox(timeBox);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setMinimumWidth(140);
    (new QVBoxLayout(timeBox))->addWidget(ComboBox1);
    auto* update = new QPushButton("Atualizar", this);
    update->setObjectName("BitBtn1");

    Label4 = readout(this, "Label4", "0", false);
    Label5 = readout(this, "Label5", "0", false);
    Label6 = readout(this, "Label6", "0", false);
    auto* top = new QHBoxLayout;
    top->addWidget(timeBox);
    top->addWidget(update, 0, Qt::AlignBottom);
    top->addSpacing(30);
    top->addWidget(readout(this, "Label1", "X (m):", true), 0, Qt::AlignBottom);
    top->addWidget(Label4, 0, Qt::AlignBottom);
    top->addWidget(readout(this, "Label2", "Y (m):", true), 0, Qt::AlignBottom);
    top->addWidget(Label5, 0, Qt::AlignBottom);
    top->addWidget(readout(this, "Label3", "C (mg/L):", true), 0, Qt::AlignBottom);
    top->addWidget(Label6, 0, Qt::AlignBottom);
    top->addStretch();

    Mapa = new QLabel(this);
    Mapa->setObjectName("Mapa");
    Mapa->setFixedSize(950, 640);
    Mapa->setMouseTracking(true);
    Mapa->setStyleSheet("background: white;");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Mapa);
}

void TFormMapa::ClearMapa()
{
    Mapa->clear();
}

}  // namespace kavrin
