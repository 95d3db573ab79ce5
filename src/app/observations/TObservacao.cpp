#include "observations/TObservacao.h"

#include "calibration/Comparison.h"
#include "gui/ChartNumbers.h"
#include "gui/ChartView.h"
#include "gui/CommandRunner.h"
#include "gui/NamedWidget.h"
#include "gui/RoundAxis.h"
#include "gui/SaveName.h"
#include "map/MapWells.h"
#include "project/OrderInEffect.h"
#include "project/TFormDados.h"
#include "solution/Parallel.h"
#include "text/NumberText.h"
#include "views/PictureSaving.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QLineSeries>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScatterSeries>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kavrin {

const char* const kObservationHeadings[6] = {"Observação", "     C (mg/L)", "     X (m)",
                                             "     Y (m)", "     Z (m)",    "     T (dias)"};

namespace {

// The grid's column of the weights, after the five values.
constexpr int kWeightColumn = ObservationTable::kColumns;

// The three long series titles do not fit side by side under the chart, so
// the legend lists them one under the other in a band below the plot.
void placeLegendBelow(QChart* chart)
{
    constexpr int kBand = 84;
    QLegend* legend = chart->legend();
    legend->setAlignment(Qt::AlignLeft);  // items stacked vertically
    legend->detachFromChart();
    legend->setShowToolTips(true);
    legend->setBackgroundVisible(false);
    chart->setMargins(QMargins(8, 8, 8, kBand));
    QObject::connect(chart, &QChart::plotAreaChanged, legend, [chart, legend](const QRectF&) {
        const QRectF whole = chart->rect();
        legend->setGeometry(QRectF(whole.left() + 12, whole.bottom() - kBand - 4, whole.width() - 24, kBand));
        legend->update();
    });
}

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
    placeLegendBelow(view->chart());
    view->setMinimumSize(520, 370);
    return view;
}

}  // namespace

TObservacao::TObservacao(AppState& app, Dialogs& dialogs) : app_(app), dialogs_(dialogs)
{
    setObjectName("TObservacao");
    setWindowTitle(QString::fromUtf8("Calibração"));
    auto* box = new QGroupBox(QString::fromUtf8("Informações para calibração"), this);
    box->setObjectName("GroupBox1");

    StringGrid1 = new QTableWidget(1, kWeightColumn + 1, box);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setDefaultSectionSize(82);
    StringGrid1->horizontalHeader()->setMinimumSectionSize(40);
    StringGrid1->verticalHeader()->setDefaultSectionSize(28);
    StringGrid1->setColumnWidth(0, 82);
    StringGrid1->setColumnWidth(kWeightColumn, 64);
    // Every column and the scroll bar beside them fit without scrolling sideways.
    StringGrid1->setMinimumWidth(82 + 5 * 82 + 64 + 4 + StringGrid1->verticalScrollBar()->sizeHint().width());

    Edit1 = new QLineEdit("0", box);
    Edit1->setObjectName("Edit1");
    Edit1->setFixedWidth(60);
    auto* count = new QHBoxLayout;
    count->addWidget(NamedWidget<QLabel>(box, "Label1", QString::fromUtf8("Nº de Observações:")));
    count->addWidget(Edit1);
    count->addStretch();
    auto* tableButtons = new QHBoxLayout;
    QPushButton* importButton = NamedWidget<QPushButton>(box, "BitBtn5", "Importar Dados");
    QPushButton* saveButton = NamedWidget<QPushButton>(box, "BitBtn1", "Salvar");
    QPushButton* cancelButton = NamedWidget<QPushButton>(box, "BitBtn2", "Cancelar");
    QPushButton* calculateButton = NamedWidget<QPushButton>(box, "BitBtn6", "Calcular");
    for (QPushButton* b : {importButton, saveButton, cancelButton, calculateButton}) tableButtons->addWidget(b);

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
    QPushButton* pictureButton =
        NamedWidget<QPushButton>(comparison, "BitBtn3", QString::fromUtf8("Exportar Gráfico como figura"));
    results->addWidget(pictureButton, 0, 2, 2, 1);
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
    fitPanel = new FitPanel(
        app_, dialogs_, [this]() -> const ObservationTable& { return table_; },
        [this](const std::vector<Observation>& observations, const std::vector<double>& calculated) {
            RunCommand(dialogs_, [&] {
                std::vector<double> observed;
                for (const Observation& o : observations) observed.push_back(o.C);
                showComparison(observations, calculated, CompareValues(observed, calculated));
            });
        },
        this);
    // The table with its comparison, and the fit, on two tabs: each has the
    // window's whole height, so both fit a small screen without scrolling.
    Tabs = new QTabWidget(this);
    Tabs->setObjectName("CalibrationTabs");
    Tabs->addTab(box, QString());
    Tabs->addTab(fitPanel, QString());
    auto* windowLayout = new QVBoxLayout(this);
    windowLayout->addWidget(Tabs, 1);
    // The minimum follows the texts in either language, so the frame never
    // squeezes the chart over its labels.
    windowLayout->setSizeConstraint(QLayout::SetMinimumSize);
    showTabTitles();
    resize(sizeHint());

    showTable();
    connect(Edit1, &QLineEdit::textChanged, this, &TObservacao::Edit1Change);
    connect(StringGrid1, &QTableWidget::cellChanged, this, &TObservacao::cellEdited);
    connect(saveButton, &QPushButton::clicked, this, &TObservacao::BitBtn1Click);
    connect(cancelButton, &QPushButton::clicked, this, &TObservacao::BitBtn2Click);
    connect(importButton, &QPushButton::clicked, this, &TObservacao::BitBtn4Click);
    connect(pictureButton, &QPushButton::clicked, this, &TObservacao::BitBtn3Click);
    connect(calculateButton, &QPushButton::clicked, this, &TObservacao::BitBtn6Click);
}

void TObservacao::FormCreate()
{
    for (int column = 0; column < 6; ++column)
        StringGrid1->setHorizontalHeaderItem(column, new QTableWidgetItem(QString::fromUtf8(kObservationHeadings[column])));
    StringGrid1->setHorizontalHeaderItem(kWeightColumn, new QTableWidgetItem(fitPanel->text(FitPanel::kWeightHeadingLine)));
    if (app_.windows.dados) app_.windows.dados->showPendingCalibration();
}

void TObservacao::fitChartToTitles()
{
    // Tall enough that the plot beside the legend band holds the
    // calculated-concentration axis title whole, in the language in effect.
    constexpr int kAroundPlot = 84 + 80;  // the legend band, the margins and the horizontal axis
    int tallest = 370;
    for (QAbstractAxis* axis : Chart1->chart()->axes(Qt::Vertical))
        tallest = std::max(tallest, QFontMetrics(axis->titleFont()).horizontalAdvance(axis->titleText()) + kAroundPlot);
    Chart1->setMinimumHeight(tallest);
}

void TObservacao::showTabTitles()
{
    fitChartToTitles();
    Tabs->setTabText(0, app_.text(AddedText::ObservationsTab));
    Tabs->setTabText(1, fitPanel->title());
}

void TObservacao::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) showTabTitles();
    QWidget::changeEvent(event);
}

void TObservacao::applyLaterLanguage(const QStringList& lines, bool portuguese)
{
    fitPanel->applyLanguage(lines, portuguese);
    showTabTitles();
    if (QTableWidgetItem* heading = StringGrid1->horizontalHeaderItem(kWeightColumn))
        heading->setText(fitPanel->text(FitPanel::kWeightHeadingLine));
}

QString TObservacao::placeOf(ObservationCell cell) const
{
    const QTableWidgetItem* heading = StringGrid1->horizontalHeaderItem(cell.column + 1);
    return app_.text(AddedText::ObservationCellPlace)
        .arg(cell.row)
        .arg(heading ? heading->text().trimmed() : QString::number(cell.column + 2));
}

void TObservacao::showTable()
{
    showingTable_ = true;
    StringGrid1->setRowCount(table_.rowCount() - 1);
    for (int row = 1; row < table_.rowCount(); ++row) {
        for (int column = 0; column < ObservationTable::kColumns; ++column)
            StringGrid1->setItem(row - 1, column, new QTableWidgetItem(QString::fromStdString(table_.cell(column, row))));
        StringGrid1->setItem(row - 1, kWeightColumn, new QTableWidgetItem(QString::fromStdString(table_.weight(row))));
    }
    showingTable_ = false;
}

void TObservacao::cellEdited(int row, int column)
{
    if (showingTable_) return;
    const QTableWidgetItem* item = StringGrid1->item(row, column);
    const std::string text = item ? item->text().toStdString() : std::string();
    if (column == kWeightColumn)
        table_.setWeight(row + 1, text);
    else
        table_.setCell(column, row + 1, text);
}

void TObservacao::minimise()
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->showMinimized();
    else
        showMinimized();
}

void TObservacao::Edit1Change()
{
    RunCommand(dialogs_, [this] {
        table_.Edit1Change(Edit1->text().toStdString());
        fitPanel->clearResult();  // its results belong to the table before
        showTable();
    });
}

void TObservacao::BitBtn1Click()
{
    const QString chosen = dialogs_.saveFile(QString::fromUtf8("Arquivo de texto (*.txt)"), QString());
    if (chosen.isEmpty()) return;
    RunCommand(dialogs_, [&] { table_.Save(WithExtension(chosen, kTextExtension).toStdString()); });
}

void TObservacao::BitBtn2Click()
{
    table_.Cancel();
    fitPanel->clearResult();
    showTable();
    minimise();
}

void TObservacao::BitBtn4Click()
{
    const QString chosen = dialogs_.openFile(QString::fromUtf8("Arquivo de texto (*.txt)"), QString());
    if (chosen.isEmpty()) return;
    RunCommand(dialogs_, [&] {
        const int count = table_.Import(chosen.toStdString(), app_.separator);
        const QSignalBlocker quiet(Edit1);  // the table already has its new count
        Edit1->setText(QString::number(count));
        fitPanel->clearResult();
        showTable();
    });
}

void TObservacao::BitBtn3Click()
{
    RunCommand(dialogs_, [&] { SaveChartPicture(app_, dialogs_, Chart1, QString::fromUtf8("Arquivo de figuras (*.jpg)")); });
}

void TObservacao::BitBtn6Click()
{
    RunCommand(dialogs_, [this] {
        if (!table_.observations().empty() && !GaussOrderGivesNodes(app_, dialogs_)) return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        Comparison comparison;
        try {
            comparison = CompareObservations(table_.observations(), app_.windows.dados->texts(),
                                             (app_.executableFolder + "valores.txt").toStdString(), app_.separator, app_.model,
                                             app_.quadrature, WorkerCount());
        } catch (const ObservationsIncomplete& incomplete) {
            dialogs_.notice(app_.messages.MsgObservationsIncomplete + "\n" + placeOf(incomplete.cell));
            return;
        } catch (const ObservationValueError& error) {
            dialogs_.error(QString::fromUtf8(error.what()) + "\n" + placeOf(error.cell));
            return;
        }
        showComparison(comparison.observations, comparison.calculated, comparison.statistics);
    });
}

std::vector<MapWell> TObservacao::mapWells() const
{
    const std::vector<ObservationTexts> rows = table_.observations();
    return MapWellsOf(rows, app_.separator, rows == comparedRows_ ? comparedResiduals_ : std::vector<double>{});
}

void TObservacao::showComparison(const std::vector<Observation>& observations, const std::vector<double>& calculated,
                                 const ComparisonStatistics& s)
{
    Label3->setText(QString::fromStdString(FormatFixed(s.R2, 4, app_.separator)));
    Label7->setText(QString::fromStdString(FormatFixed(s.MAE, 4, app_.separator)));
    QChart* chart = Chart1->chart();
    auto seriesNamed = [chart](const char* name) {
        for (QAbstractSeries* series : chart->series())
            if (series->objectName() == name) return static_cast<QXYSeries*>(series);
        return static_cast<QXYSeries*>(nullptr);
    };
    QXYSeries* ideal = seriesNamed("Series1");
    QXYSeries* fitted = seriesNamed("Series2");
    QXYSeries* points = seriesNamed("Series3");
    ideal->replace({QPointF(s.lo, s.lo), QPointF(s.hi, s.hi)});
    const QPointF fittedLo(s.lo, s.intercept + s.slope * s.lo), fittedHi(s.hi, s.intercept + s.slope * s.hi);
    fitted->replace({fittedLo, fittedHi});
    QList<QPointF> pairs;
    double low = std::min({s.lo, fittedLo.y(), fittedHi.y()}), high = std::max({s.hi, fittedLo.y(), fittedHi.y()});
    for (std::size_t i = 0; i < observations.size(); ++i) {
        pairs.append(QPointF(observations[i].C, calculated[i]));
        low = std::min(low, calculated[i]);
        high = std::max(high, calculated[i]);
    }
    points->replace(pairs);
    comparedRows_ = table_.observations();
    comparedResiduals_.clear();
    for (std::size_t i = 0; i < observations.size(); ++i) comparedResiduals_.push_back(observations[i].C - calculated[i]);
    WriteTicksAsNumberTexts(chart, app_.separator);
    for (QAbstractAxis* axis : chart->axes()) {
        if (axis->orientation() == Qt::Horizontal)
            SetRoundAxis(static_cast<QValueAxis*>(axis), s.lo, s.hi);
        else
            SetRoundAxis(static_cast<QValueAxis*>(axis), low, high);
    }
}

}  // namespace kavrin
