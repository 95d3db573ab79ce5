#include "views/TFormGrafico.h"

#include "charts/ValueList.h"
#include "frame/TFormPrincipal.h"
#include "gui/ChartCurves.h"
#include "gui/ChartDetailLine.h"
#include "gui/ChartNumbers.h"
#include "gui/ChartView.h"
#include "gui/CommandRunner.h"
#include "gui/NamedWidget.h"
#include "gui/SaveName.h"
#include "gui/Settings.h"
#include "model/RunTimes.h"
#include "model/Variaveis.h"
#include "text/NumberText.h"
#include "text/SafeSave.h"
#include "workspace/CompleteTime.h"
#include "workspace/ResultLoading.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

namespace kavrin {

namespace {

QComboBox* editableList(QWidget* parent, const char* name)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(150);
    return combo;
}

// A group box with two labelled lists.
QGroupBox* inputGroup(QWidget* parent, const char* name, const QString& title, QLabel* firstLabel, QComboBox* first,
                      QLabel* secondLabel, QComboBox* second)
{
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(name);
    auto* form = new QFormLayout(box);
    form->addRow(firstLabel, first);
    form->addRow(secondLabel, second);
    return box;
}

// The controls of each kind, enabled together when the kind is picked.
constexpr std::initializer_list<const char*> kNodeControls = {"GroupBox3", "Label1", "Label2", "ComboBox4", "ComboBox5"};
constexpr std::initializer_list<const char*> kLongitudinalControls = {"GroupBox1", "ComboBox1", "ComboBox3", "Label3", "Tempo"};
constexpr std::initializer_list<const char*> kTransversalControls = {"GroupBox4", "ComboBox6", "ComboBox7", "Label4", "Label5"};

QString number(double value, char separator)
{
    return QString::fromStdString(FormatGeneral(value, separator));
}

// A profile's time that has no whole results file listed by the run.
struct TimeWithoutResults {
    QString tempo;
};

}  // namespace

TFormGrafico::Kind TFormGrafico::KindOf(const QString& text)
{
    if (text == QString::fromUtf8("Concentração x Tempo") || text == "Concentration x Time") return Kind::ConcentrationTime;
    if (text == QString::fromUtf8("Perfil longitudinal de concentração") || text == "Longitudinal profile of concentration")
        return Kind::LongitudinalProfile;
    if (text == QString::fromUtf8("Perfil Transversal de concentração") || text == "Transversal profile of concentration")
        return Kind::TransversalProfile;
    if (text == QString::fromUtf8(BuiltInAddedText(static_cast<int>(AddedText::MassBalanceChart), true)) ||
        text == QString::fromUtf8(BuiltInAddedText(static_cast<int>(AddedText::MassBalanceChart), false)))
        return Kind::MassBalance;
    return Kind::None;
}

TFormGrafico::TFormGrafico(AppState& app, Dialogs& dialogs) : app_(app), dialogs_(dialogs)
{
    setObjectName("TFormGrafico");
    setWindowTitle(QString::fromUtf8("Gráficos"));

    auto* kindBox = new QGroupBox(QString::fromUtf8("Gráfico"), this);
    kindBox->setObjectName("GroupBox2");
    ComboBox2 = editableList(kindBox, "ComboBox2");
    ComboBox2->addItems({QString::fromUtf8("Concentração x Tempo"), QString::fromUtf8("Perfil longitudinal de concentração"),
                         QString::fromUtf8("Perfil transversal de concentração")});
    ComboBox2->setMinimumWidth(230);
    (new QVBoxLayout(kindBox))->addWidget(ComboBox2);

    ComboBox1 = editableList(this, "ComboBox1");
    ComboBox3 = editableList(this, "ComboBox3");
    ComboBox6 = editableList(this, "ComboBox6");
    ComboBox7 = editableList(this, "ComboBox7");
    ComboBox4 = editableList(this, "ComboBox4");
    ComboBox5 = editableList(this, "ComboBox5");
    QGroupBox* longitudinal =
        inputGroup(this, "GroupBox1", QString::fromUtf8("Perfil longitudinal de concentração"),
                   NamedWidget<QLabel>(this, "Tempo", "Tempo"), ComboBox1, NamedWidget<QLabel>(this, "Label3", "Y"), ComboBox3);
    QGroupBox* transversal =
        inputGroup(this, "GroupBox4", QString::fromUtf8("Perfil transversal de concentração"),
                   NamedWidget<QLabel>(this, "Label4", "Tempo"), ComboBox6, NamedWidget<QLabel>(this, "Label5", "X"), ComboBox7);
    QGroupBox* node =
        inputGroup(this, "GroupBox3", QString::fromUtf8("Concentração x Tempo"), NamedWidget<QLabel>(this, "Label1", "X"),
                   ComboBox4, NamedWidget<QLabel>(this, "Label2", "Y"), ComboBox5);
    BitBtn1 = NamedWidget<QPushButton>(this, "BitBtn1", "Atualizar");
    BitBtn1->setEnabled(false);
    CopyButton = NamedWidget<QPushButton>(this, "CopyButton", "Copiar valores");
    CopyButton->setEnabled(false);
    SaveValuesButton = NamedWidget<QPushButton>(this, "SaveValuesButton", QString());
    SaveValuesButton->setEnabled(false);
    AddCurveButton = NamedWidget<QPushButton>(this, "AddCurveButton", QString());
    ClearCurvesButton = NamedWidget<QPushButton>(this, "ClearCurvesButton", QString());
    LogarithmicAxis = NamedWidget<QCheckBox>(this, "LogarithmicAxis", QString());

    Series1 = new QLineSeries;
    Series1->setObjectName("Series1");
    Chart1 = MakeChartView("Chart1", QString::fromUtf8("Distância (m)"), QString::fromUtf8("Concentração (mg/L)"), {Series1});
    Chart1->chart()->legend()->hide();
    Chart1->setMinimumSize(561, 401);
    curves_ = std::make_unique<ChartCurves>(Chart1->chart(), Series1);
    MassBalanceView = MakeMassBalanceView();
    MassBalanceView->setMinimumSize(561, 401);
    MassBalanceView->hide();
    auto* panel = new QWidget(this);
    panel->setObjectName("Panel1");
    auto* charts = new QVBoxLayout(panel);
    charts->addWidget(Chart1);
    charts->addWidget(MassBalanceView);

    auto* left = new QVBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(kindBox), static_cast<QWidget*>(longitudinal), static_cast<QWidget*>(transversal),
                       static_cast<QWidget*>(node)})
        left->addWidget(w);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addWidget(CopyButton);
    left->addLayout(buttons);
    // Two rows more in the room the column has beside the chart, closer
    // together, so that the window and its chart keep their sizes.
    left->setSpacing(2);
    for (QWidget* pair : {static_cast<QWidget*>(AddCurveButton), static_cast<QWidget*>(LogarithmicAxis)}) {
        auto* row = new QHBoxLayout;
        row->addWidget(pair);
        row->addWidget(pair == AddCurveButton ? static_cast<QWidget*>(ClearCurvesButton) : SaveValuesButton);
        left->addLayout(row);
    }
    left->addStretch();
    setAddedCaptions();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(panel, 1);
    resize(824, 458);

    // Only the user's own picks and typing change the kind; texts set by the
    // program (the language file) do not.
    const auto kindChanged = [this] { RunCommand(dialogs_, [this] { ComboBox2Change(); }); };
    connect(ComboBox2, &QComboBox::textActivated, this, kindChanged);
    connect(ComboBox2->lineEdit(), &QLineEdit::textEdited, this, kindChanged);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { RunCommand(dialogs_, [this] { BitBtn1Click(); }); });
    connect(CopyButton, &QPushButton::clicked, this, [this] { CopyValues(); });
    connect(SaveValuesButton, &QPushButton::clicked, this, [this] { RunCommand(dialogs_, [this] { SaveValues(); }); });
    connect(AddCurveButton, &QPushButton::clicked, this, [this] { AddCurve(); });
    connect(ClearCurvesButton, &QPushButton::clicked, this, [this] { ClearCurves(); });
    connect(LogarithmicAxis, &QCheckBox::toggled, this, [this] { showCurves(); });
}

TFormGrafico::~TFormGrafico() = default;

void TFormGrafico::setAddedCaptions()
{
    AddCurveButton->setText(app_.text(AddedText::ChartAddCurve));
    AddCurveButton->setToolTip(app_.text(AddedText::ChartAddCurveHint));
    ClearCurvesButton->setText(app_.text(AddedText::ChartClearCurves));
    ClearCurvesButton->setToolTip(app_.text(AddedText::ChartClearCurvesHint));
    SaveValuesButton->setText(app_.text(AddedText::ChartSaveValues));
    LogarithmicAxis->setText(app_.text(AddedText::ChartLogarithmicAxis));
}

void TFormGrafico::setEnabledNamed(std::initializer_list<const char*> names, bool enabled)
{
    for (const char* name : names)
        if (auto* control = findChild<QWidget*>(name)) control->setEnabled(enabled);
}

void TFormGrafico::withChecks(const std::function<void()>& step)
{
    try {
        step();
    } catch (const StepRefused& refused) {
        const QString& text = app_.messages.MsgStepRefused;
        dialogs_.notice(text.isEmpty() ? QString::fromUtf8(refused.what())
                                       : text.arg(QString::fromStdString(refused.stepName())));
    } catch (const TimeWithoutResults& missing) {
        dialogs_.notice(app_.text(AddedText::TimeWithoutCompleteResults).arg(missing.tempo));
    } catch (const PositionOutsideGrid& outside) {
        const QString& text = app_.messages.MsgPositionOutsideGrid;
        const char s = app_.separator;
        dialogs_.notice(text.isEmpty() ? QString::fromUtf8(outside.what())
                                       : text.arg(QString::fromStdString(outside.axis), number(outside.position, s),
                                                  number(outside.first, s), number(outside.last, s)));
    }
}

void TFormGrafico::fillList(QComboBox* list, double start, double step, double end, const char* stepName)
{
    const std::vector<std::string> values = ValueList(start, step, end, stepName, app_.separator);
    list->clear();
    QStringList items;
    items.reserve(static_cast<qsizetype>(values.size()));
    for (const std::string& value : values) items << QString::fromStdString(value);
    list->addItems(items);
    list->setEditText(number(start, app_.separator));
}

void TFormGrafico::fillTimes(QComboBox* list)
{
    const ModelState& m = app_.model;
    if (!(m.DT > 0)) throw StepRefused("DT");
    // Only the times the run's index lists have results (a cancelled or
    // failed run lists fewer than T0 … T1).
    const std::vector<double> times = ListedRunTimes(m, app_.project.ProjectIndexPath).value_or(std::vector<double>{});
    list->clear();
    QStringList items;
    items.reserve(static_cast<qsizetype>(times.size()));
    for (double t : times) items << QString::fromStdString(TimeText(t, app_.separator));
    list->addItems(items);
    list->setEditText(number(m.T0, app_.separator));
}

std::optional<ResultGrid> TFormGrafico::listedCompleteTime(const QString& tempo) const
{
    const ModelState& m = app_.model;
    const ProjectState& project = app_.project;
    const std::string text = tempo.toStdString();
    if (!IsListedCompleteTime(m, project.Root, project.ProjectName, project.ProjectIndexPath, text, app_.separator))
        return std::nullopt;
    ResultGrid grid = app_.grid;
    try {
        if (!LoadResultFile(ResultFilePath(project.Root, project.ProjectName, text), grid, m, app_.separator))
            return std::nullopt;
    } catch (const FileFormatError&) {
        return std::nullopt;  // changed since the check
    }
    return grid;
}

void TFormGrafico::loadProfileTime(const QString& tempo)
{
    std::optional<ResultGrid> grid = listedCompleteTime(tempo);
    if (!grid) throw TimeWithoutResults(tempo);
    app_.grid = std::move(*grid);
}

void TFormGrafico::FormActivate()
{
    QComboBox* const lists[] = {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5, ComboBox6, ComboBox7};
    if (!app_.project.ResultsExist) {
        BitBtn1->setEnabled(false);
        setEnabledNamed({"GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4"}, false);
        for (QComboBox* list : lists) list->setEnabled(false);
        offerMassBalance();
        dialogs_.notice(app_.messages.MsgChartsNeedResults);
        return;
    }
    offerMassBalance();
    showCurves();  // the standard may have changed in the map's options
    for (QComboBox* list : {ComboBox1, ComboBox3, ComboBox6, ComboBox7, ComboBox4, ComboBox5}) {
        list->clear();
        list->clearEditText();
    }
    setEnabledNamed({"ComboBox1", "ComboBox3", "ComboBox6", "ComboBox7", "GroupBox4", "GroupBox1"}, false);
    // An activation without results disabled the kind list and the node's
    // controls; with results the list is needed again, and the node's
    // controls when the chosen chart is the one that uses them (a chosen
    // profile keeps them disabled, as picking it left them).
    setEnabledNamed({"GroupBox2", "ComboBox2"}, true);
    if (const Kind kind = currentKind(); kind != Kind::None) setEnabledNamed(kNodeControls, kind == Kind::ConcentrationTime);
    const ModelState& m = app_.model;
    withChecks([&] {
        fillList(ComboBox4, m.X0, m.DX, m.X1, "DX");
        fillList(ComboBox5, m.Y0, m.DY, m.Y1, "DY");
    });
    BitBtn1->setEnabled(true);
}

void TFormGrafico::ComboBox2Change()
{
    const Kind kind = currentKind();
    if (kind == Kind::None) return;
    setEnabledNamed(kNodeControls, kind == Kind::ConcentrationTime);
    setEnabledNamed(kLongitudinalControls, kind == Kind::LongitudinalProfile);
    setEnabledNamed(kTransversalControls, kind == Kind::TransversalProfile);
    const ModelState& m = app_.model;
    withChecks([&] {
        switch (kind) {
        case Kind::ConcentrationTime:
            fillList(ComboBox4, m.X0, m.DX, m.X1, "DX");
            fillList(ComboBox5, m.Y0, m.DY, m.Y1, "DY");
            break;
        case Kind::LongitudinalProfile:
            fillTimes(ComboBox1);
            fillList(ComboBox3, m.Y0, m.DY, m.Y1, "DY");
            break;
        case Kind::TransversalProfile:
            fillTimes(ComboBox6);
            fillList(ComboBox7, m.X0, m.DX, m.X1, "DX");
            break;
        case Kind::MassBalance:
        case Kind::None:
            break;
        }
    });
}

void TFormGrafico::BitBtn1Click()
{
    switch (currentKind()) {
    case Kind::ConcentrationTime:
        GrConcTemp();
        break;
    case Kind::LongitudinalProfile:
        GrConcDisX();
        break;
    case Kind::TransversalProfile:
        GrConcDisY();
        break;
    case Kind::MassBalance:
        MassBalanceChartClick();
        break;
    case Kind::None:
        break;
    }
}

void TFormGrafico::startChart(Kind kind, const QString& bottomTitle, const QString& title)
{
    showMassBalanceView(false);
    if (!held_.empty() && held_.front().label.kind != kind) held_.clear();
    Series1->clear();
    drawn_.reset();
    detail_.clear();
    for (QAbstractAxis* axis : Chart1->chart()->axes(Qt::Horizontal)) axis->setTitleText(bottomTitle);
    Chart1->chart()->setTitle(title);
    showCurves();
}

void TFormGrafico::showPoints(ChartPoints points)
{
    WriteTicksAsNumberTexts(Chart1->chart(), app_.separator);
    // The series keeps its x values ascending: each point goes to its x position.
    std::stable_sort(points.begin(), points.end(), [](const ChartPoint& a, const ChartPoint& b) { return a.x < b.x; });
    QList<QPointF> shown;
    shown.reserve(static_cast<qsizetype>(points.size()));
    for (const ChartPoint& p : points) shown << QPointF(p.x, p.y);
    Series1->replace(shown);
    showCurves(true);
}

void TFormGrafico::nameCurve(const CurveLabel& label)
{
    drawn_ = label;
    showCurves();
}

bool TFormGrafico::positionShared() const
{
    const auto across = [](const CurveLabel& label) { return label.kind == Kind::LongitudinalProfile ? label.y : label.x; };
    std::vector<double> positions;
    for (const HeldCurve& curve : held_) positions.push_back(across(curve.label));
    if (drawn_) positions.push_back(across(*drawn_));
    return std::all_of(positions.begin(), positions.end(), [&](double p) { return p == positions.front(); });
}

QString TFormGrafico::curveName(const CurveLabel& label, bool shared) const
{
    const char s = app_.separator;
    switch (label.kind) {
    case Kind::ConcentrationTime:
        return app_.text(AddedText::ChartCurveNode).arg(number(label.x, s), number(label.y, s));
    case Kind::LongitudinalProfile:
    case Kind::TransversalProfile: {
        const bool longitudinal = label.kind == Kind::LongitudinalProfile;
        if (shared) return app_.text(AddedText::ChartCurveTime).arg(label.time);
        return app_.text(AddedText::ChartCurveTimeAt)
            .arg(label.time, longitudinal ? "Y" : "X", number(longitudinal ? label.y : label.x, s));
    }
    case Kind::MassBalance:
    case Kind::None:
        break;
    }
    return QString();
}

QString TFormGrafico::severalCurvesDetail() const
{
    // The legend names each node; the profiles' common line is said once.
    const CurveLabel& first = held_.front().label;
    if (first.kind == Kind::ConcentrationTime || !positionShared()) return QString();
    const bool longitudinal = first.kind == Kind::LongitudinalProfile;
    return app_.text(AddedText::ChartCurvesAlong)
        .arg(longitudinal ? "Y" : "X", number(longitudinal ? first.y : first.x, app_.separator));
}

void TFormGrafico::showCurves(bool refitAxes)
{
    const bool shared = positionShared();
    std::vector<ShownCurve> held;
    for (const HeldCurve& curve : held_) held.push_back({curveName(curve.label, shared), curve.points});
    CurveDecorations decorations;
    decorations.logarithmic = LogarithmicAxis->isChecked();
    decorations.standard = StoredMapOptions().standard;
    if (decorations.standard)
        decorations.standardName = app_.text(AddedText::ChartStandardLine).arg(number(*decorations.standard, app_.separator));
    const int leftOut = curves_->show(held, drawn_ ? curveName(*drawn_, shared) : QString(), decorations, refitAxes);
    QString detail = held_.empty() ? detail_ : severalCurvesDetail();
    if (leftOut > 0) {
        const QString note = app_.text(AddedText::ChartLogarithmicLeftOut).arg(leftOut);
        detail = detail.isEmpty() ? note : detail + "; " + note;
    }
    SetChartDetailLine(Chart1->chart(), detail);
    if (!MassBalanceView->isVisibleTo(this)) enableValues(!held_.empty() || Series1->count() > 0);
}

void TFormGrafico::enableValues(bool enabled)
{
    CopyButton->setEnabled(enabled);
    SaveValuesButton->setEnabled(enabled);
}

double TFormGrafico::position(const QComboBox* list) const
{
    return ParseFloat(list->currentText().toStdString(), app_.separator);
}

void TFormGrafico::GrConcTemp()
{
    startChart(Kind::ConcentrationTime, app_.messages.MsgAxisTime, app_.messages.MsgTitleConcTime);
    ChartPoints points;
    bool indexMissing = false;
    withChecks([&] {
        try {
            indexMissing =
                !ConcentrationTimeSeries(app_.project.ProjectIndexPath, app_.model, ComboBox4->currentText().toStdString(),
                                         ComboBox5->currentText().toStdString(), app_.separator, points);
        } catch (...) {
            showPoints(points);  // what was read before the failure stays on the chart
            throw;
        }
        showPoints(points);
        if (!indexMissing) {
            const char s = app_.separator;
            const GridAxis x = XAxisOf(app_.model), y = YAxisOf(app_.model);
            const int i = NodeOf(x, position(ComboBox4), s), j = NodeOf(y, position(ComboBox5), s);
            showDetail(app_.text(AddedText::ChartNodeLine).arg(number(x.position(i), s), number(y.position(j), s)));
            nameCurve({Kind::ConcentrationTime, x.position(i), y.position(j), QString()});
        }
    });
    if (indexMissing) dialogs_.notice(app_.messages.MsgResultFileMissing);
}

void TFormGrafico::GrConcDisX()
{
    startChart(Kind::LongitudinalProfile, app_.messages.MsgAxisDistance, app_.messages.MsgTitleLongProfile);
    withChecks([&] {
        const int j = NodeOf(YAxisOf(app_.model), position(ComboBox3), app_.separator);
        const GridAxis x = XAxisOf(app_.model);
        loadProfileTime(ComboBox1->currentText());
        showPoints(GridProfile(app_.grid, x, j));
        const double y = YAxisOf(app_.model).position(j);
        showDetail(app_.text(AddedText::ChartLongitudinalLine).arg(ComboBox1->currentText(), number(y, app_.separator)));
        nameCurve({Kind::LongitudinalProfile, 0, y, ComboBox1->currentText()});
        ComboBox3->setEnabled(true);
        ComboBox1->setEnabled(true);
    });
}

void TFormGrafico::GrConcDisY()
{
    startChart(Kind::TransversalProfile, app_.messages.MsgAxisDistance, app_.messages.MsgTitleTransProfile);
    withChecks([&] {
        const int i = NodeOf(XAxisOf(app_.model), position(ComboBox7), app_.separator);
        const GridAxis y = YAxisOf(app_.model);
        loadProfileTime(ComboBox6->currentText());
        showPoints(GridProfile(app_.grid, y, i));
        const double x = XAxisOf(app_.model).position(i);
        showDetail(app_.text(AddedText::ChartTransversalLine).arg(ComboBox6->currentText(), number(x, app_.separator)));
        nameCurve({Kind::TransversalProfile, x, 0, ComboBox6->currentText()});
        ComboBox7->setEnabled(true);
        ComboBox6->setEnabled(true);
    });
}

void TFormGrafico::showDetail(const QString& text)
{
    detail_ = text;
    showCurves();
}

void TFormGrafico::ClearGrafico()
{
    showMassBalanceView(false);
    held_.clear();
    Series1->clear();
    drawn_.reset();
    detail_.clear();
    showCurves();
}

void TFormGrafico::AddCurve()
{
    if (MassBalanceView->isVisibleTo(this) || !drawn_ || Series1->count() == 0) {
        dialogs_.notice(app_.text(AddedText::ChartNoCurveToAdd));
        return;
    }
    if (std::any_of(held_.begin(), held_.end(), [&](const HeldCurve& curve) { return curve.label == *drawn_; })) {
        dialogs_.notice(app_.text(AddedText::ChartCurveAlreadyAdded));
        return;
    }
    // The curve moves from the chart's own series to the held ones, so that
    // it is drawn once.
    held_.push_back({*drawn_, Series1->points()});
    Series1->clear();
    drawn_.reset();
    detail_.clear();
    showCurves();
}

void TFormGrafico::ClearCurves()
{
    held_.clear();
    showCurves(true);
}

CurveTable TFormGrafico::valuesTable() const
{
    if (MassBalanceView->isVisibleTo(this)) return MassBalanceTable(MassBalanceView);
    QChart* chart = Chart1->chart();
    const QString bottom = chart->axes(Qt::Horizontal).isEmpty() ? QString() : chart->axes(Qt::Horizontal).first()->titleText();
    const QString left = chart->axes(Qt::Vertical).isEmpty() ? QString() : chart->axes(Qt::Vertical).first()->titleText();
    const auto points = [](const QList<QPointF>& shown) {
        ChartPoints values;
        for (const QPointF& p : shown) values.push_back({p.x(), p.y()});
        return values;
    };
    // One curve under the axes' titles; several under the concentration's title and each curve's name.
    std::vector<NamedCurve> curves;
    const bool shared = positionShared();
    for (const HeldCurve& curve : held_)
        curves.push_back({(left + ": " + curveName(curve.label, shared)).toStdString(), points(curve.points)});
    if (held_.empty())
        curves.push_back({left.toStdString(), points(Series1->points())});
    else if (Series1->count() > 0)
        curves.push_back(
            {(left + ": " + (drawn_ ? curveName(*drawn_, shared) : QString())).toStdString(), points(Series1->points())});
    return TableOfCurves(bottom.toStdString(), curves);
}

void TFormGrafico::CopyValues()
{
    QApplication::clipboard()->setText(QString::fromStdString(TabSeparatedText(valuesTable(), app_.separator)));
}

void TFormGrafico::SaveValues()
{
    const QString chosen = dialogs_.saveFile(app_.text(AddedText::ChartValuesFilter), QString());
    if (chosen.isEmpty()) return;
    SaveTextLines(WithExtension(chosen, ".csv").toStdString(), CsvLines(valuesTable()));
}

TFormGrafico::Kind TFormGrafico::currentKind() const
{
    const QString text = ComboBox2->currentText();
    return text == app_.text(AddedText::MassBalanceChart) ? Kind::MassBalance : KindOf(text);
}

void TFormGrafico::offerMassBalance()
{
    const QString kind = app_.text(AddedText::MassBalanceChart);
    for (int i = ComboBox2->count() - 1; i >= 0; --i) {
        const QString item = ComboBox2->itemText(i);
        const bool balance = KindOf(item) == Kind::MassBalance || item == kind;
        if (balance && (item != kind || !app_.project.ResultsExist)) ComboBox2->removeItem(i);
    }
    if (app_.project.ResultsExist && ComboBox2->findText(kind) < 0) ComboBox2->addItem(kind);
}

void TFormGrafico::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    offerMassBalance();
    setAddedCaptions();
    showCurves();
    if (MassBalanceView->isVisibleTo(this)) ShowMassBalance(MassBalanceView, massBalance_, massBalanceTexts(), app_.separator);
}

MassBalanceTexts TFormGrafico::massBalanceTexts() const
{
    using T = AddedText;
    return {app_.text(T::MassBalanceChart),
            app_.messages.MsgAxisTime,
            app_.text(T::MassBalanceMassAxis),
            app_.text(T::MassBalanceDischargeAxis),
            app_.text(T::MassBalancePresent),
            app_.text(T::MassBalanceDecayed),
            app_.text(T::MassBalanceDischargeControl),
            app_.text(T::MassBalanceDischargeEdge),
            app_.text(T::MassBalanceDetail)};
}

void TFormGrafico::showMassBalanceView(bool shown)
{
    Chart1->setVisible(!shown);
    MassBalanceView->setVisible(shown);
}

QChartView* TFormGrafico::shownChart() const
{
    return MassBalanceView->isVisibleTo(this) ? MassBalanceView : Chart1;
}

void TFormGrafico::MassBalanceChartClick()
{
    // The balance of the model the results were computed from, not of values typed since.
    ModelState model = app_.model;
    Variaveis(app_.resultsTexts, model, app_.separator);
    const std::optional<std::vector<double>> times = ListedRunTimes(model, app_.project.ProjectIndexPath);
    if (!times) {
        dialogs_.notice(app_.messages.MsgResultFileMissing);
        return;
    }
    massBalance_ = {ComputeMassBalance(model, *times), model.source.controlPlaneX, model.X1};
    held_.clear();
    showCurves();
    showMassBalanceView(true);
    ShowMassBalance(MassBalanceView, massBalance_, massBalanceTexts(), app_.separator);
    enableValues(!massBalance_.rows.empty());
}

}  // namespace kavrin
