#include "observations/TObservacao.h"

#include "ChartView.h"
#include "NamedWidget.h"

#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

namespace kavrin {

const char* const kObservationHeadings[6] = {"Observação", "     C (mg/L)", "     X (m)",
                                             "     Y (m)", "     Z (m)", "     T (dias)"};

namespace {

QChartView* comparisonChart()
{
    auto* fitted = new QLineSeries;
    fitted->setObjectName("Series2");
    fitted->setName(QString::fromUtf8("Regressão das concentrações observadas e calculadas"));
    fitted->setPen(QPen(Qt::black, 1.5, Qt::DashLine));
    auto* points = new QScatterSeries;
    points->setObjectName("Series3");
    points->setName(QString::fromUtf8("Dispersão dos valores de concentração calculadas e observadas"));
    points->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    points->setMarkerSize(8);
    points->setColor(Qt::blue);
    auto* ideal = new QLineSeries;
    ideal->setObjectName("Series1");
    ideal->setName(QString::fromUtf8("Regressão ideal de concentração observada e calculada"));
    ideal->setPen(QPen(Qt::red, 1.5));
    QChartView* view = MakeChartView("Chart1", QString::fromUtf8("Concentração medida (mg/L)"),
                                     QString::fromUtf8("Concentração calculada (mg/L)"), {fitted, points, ideal});
    view->chart()->legend()->setAlignment(Qt::AlignBottom);
    view->setMinimumSize(520, 360);
    return view;
}

}  // namespace

TObservacao::TObservacao(AppState& app, Dialogs& dialogs) : app_(app), dialogs_(dialogs)
{
    setObjectName("TObservacao");
    setWindowTitle(QString::fromUtf8("Calibração"));
    auto* box = new QGroupBox(QString::fromUtf8("Informações para calibração"), this);
    box->setObjectName("GroupBox1");

    StringGrid1 = new QTableWidget(1, 6, box);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setDefaultSectionSize(82);
    StringGrid1->horizontalHeader()->setMinimumSectionSize(40);
    StringGrid1->verticalHeader()->setDefaultSectionSize(28);
    StringGrid1->setColumnWidth(0, 82);
    StringGrid1->setMinimumWidth(82 + 5 * 82 + 4);

    Edit1 = new QLineEdit("0", box);
    Edit1->setObjectName("Edit1");
    Edit1->setFixedWidth(60);
    auto* count = new QHBoxLayout;
    count->addWidget(NamedWidget<QLabel>(box, "Label1", QString::fromUtf8("Nº de Observações:")));
    count->addWidget(Edit1);
    count->addStretch();
    auto* tableButtons = new QHBoxLayout;
    for (QPushButton* b : {NamedWidget<QPushButton>(box, "BitBtn5", "Importar Dados"), NamedWidget<QPushButton>(box, "BitBtn1", "Salvar"),
                           NamedWidget<QPushButton>(box, "BitBtn2", "Cancelar"), NamedWidget<QPushButton>(box, "BitBtn6", "Calcular")})
        tableButtons->addWidget(b);

    auto* comparison = new QGroupBox(QString::fromUtf8("Gráfico comparativo entre concentração mensurada e calculada"), box);
    comparison->setObjectName("GroupBox2");
    Chart1 = comparisonChart();
    Label3 = NamedWidget<QLabel>(comparison, "Label3", "0");
    Label7 = NamedWidget<QLabel>(comparison, "Label7", "0");
    auto* results = new QGridLayout;
    results->addWidget(NamedWidget<QLabel>(comparison, "Label2", QString::fromUtf8("Coeficiente de determinação:")), 0, 0);
    results->addWidget(Label3, 0, 1);
    results->addWidget(NamedWidget<QLabel>(comparison, "Label6", QString::fromUtf8("Erro médio (mg/L):")), 1, 0);
    results->addWidget(Label7, 1, 1);
    results->addWidget(NamedWidget<QPushButton>(comparison, "BitBtn3", QString::fromUtf8("Exportar Gráfico como figura")), 0, 2, 2, 1);
    results->setColumnStretch(1, 1);
    auto* comparisonLayout = new QVBoxLayout(comparison);
    comparisonLayout->addWidget(Chart1, 1);
    comparisonLayout->addLayout(results);

    auto* tableSide = new QVBoxLayout;
    tableSide->addLayout(count);
    tableSide->addWidget(StringGrid1, 1);
    tableSide->addLayout(tableButtons);
    auto* boxLayout = new QHBoxLayout(box);
    boxLayout->addLayout(tableSide);
    boxLayout->addWidget(comparison, 1);
    (new QVBoxLayout(this))->addWidget(box);
    resize(974, 522);
}

void TObservacao::FormCreate()
{
    for (int column = 0; column < 6; ++column)
        StringGrid1->setHorizontalHeaderItem(column, new QTableWidgetItem(QString::fromUtf8(kObservationHeadings[column])));
}

}  // namespace kavrin
