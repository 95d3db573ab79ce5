#include "views/TFormGrafico.h"

#include "ChartView.h"
#include "NamedWidget.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QValueAxis>
#include <QVBoxLayout>

namespace kavrin {

namespace {

QComboBox* editableList(QWidget* parent, const char* name)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setMinimumWidth(150);
    return combo;
}

// A group box with two labelled lists.
QGroupBox* inputGroup(QWidget* parent, const char* name, const QString& title, QLabel* firstLabel,
                      QComboBox* first, QLabel* secondLabel, QComboBox* second)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(name);
    auto* form = new QFormLayout(box);
    form->addRow(firstLabel, first);
    form->addRow(secondLabel, second);
    return box;
}

}  // namespace

TFormGrafico::TFormGrafico(AppState& app) : app_(app)
{
    setObjectName("TFormGrafico");
    setWindowTitle(QString::fromUtf8("Gráficos"));

    auto* kindBox = new QGroupBox(QString::fromUtf8("Gráfico"), this);
    kindBox->setObjectName("GroupBox2");
    ComboBox2 = editableList(kindBox, "ComboBox2");
    ComboBox2->addItems({QString::fromUtf8("Concentração x Tempo"), QString::fromUtf8("Perfil longitudinal de concentração"),
                         QString::fromUtf8("Perfil transversal de concentração")});
    (new QVBoxLayout(kindBox))->addWidget(ComboBox2);

    ComboBox1 = editableList(this, "ComboBox1");
    ComboBox3 = editableList(this, "ComboBox3");
    ComboBox6 = editableList(this, "ComboBox6");
    ComboBox7 = editableList(this, "ComboBox7");
    ComboBox4 = editableList(this, "ComboBox4");
    ComboBox5 = editableList(this, "ComboBox5");
    QGroupBox* longitudinal = inputGroup(this, "GroupBox1", QString::fromUtf8("Perfil longitudinal de concentração"),
                                         NamedWidget<QLabel>(this, "Tempo", "Tempo"), ComboBox1, NamedWidget<QLabel>(this, "Label3", "Y"), ComboBox3);
    QGroupBox* transversal = inputGroup(this, "GroupBox4", QString::fromUtf8("Perfil transversal de concentração"),
                                        NamedWidget<QLabel>(this, "Label4", "Tempo"), ComboBox6, NamedWidget<QLabel>(this, "Label5", "X"), ComboBox7);
    QGroupBox* node = inputGroup(this, "GroupBox3", QString::fromUtf8("Concentração x Tempo"),
                                 NamedWidget<QLabel>(this, "Label1", "X"), ComboBox4, NamedWidget<QLabel>(this, "Label2", "Y"), ComboBox5);
    auto* update = new QPushButton("Atualizar", this);
    update->setObjectName("BitBtn1");

    Series1 = new QLineSeries;
    Series1->setObjectName("Series1");
    Chart1 = MakeChartView("Chart1", QString::fromUtf8("Distância (m)"), QString::fromUtf8("Concentração (mg/L)"), {Series1});
    Chart1->chart()->legend()->hide();
    Chart1->setMinimumSize(561, 401);
    auto* panel = new QWidget(this);
    panel->setObjectName("Panel1");
    (new QVBoxLayout(panel))->addWidget(Chart1);

    auto* left = new QVBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(kindBox), static_cast<QWidget*>(longitudinal),
                       static_cast<QWidget*>(transversal), static_cast<QWidget*>(node), static_cast<QWidget*>(update)})
        left->addWidget(w);
    left->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(panel, 1);
    resize(824, 458);
}

void TFormGrafico::ClearGrafico()
{
    Series1->clear();
    Chart1->chart()->setTitle(QString());
}

}  // namespace kavrin
