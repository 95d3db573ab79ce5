#include "uncertainty/UncertaintyWindow.h"

#include "frame/TFormPrincipal.h"
#include "gui/ChildWindow.h"
#include "gui/CommandRunner.h"
#include "gui/MapPainter.h"
#include "gui/MapVectorPainter.h"
#include "gui/NamedWidget.h"
#include "model/RunTimes.h"
#include "model/Variaveis.h"
#include "observations/FitPanel.h"
#include "observations/TObservacao.h"
#include "solution/Parallel.h"
#include "text/NumberText.h"
#include "uncertainty/FitDrawSources.h"
#include "uncertainty/ReceptorBandChart.h"
#include "uncertainty/UncertainParameters.h"
#include "uncertainty/UncertaintyMapPicture.h"
#include "uncertainty/UncertaintyRun.h"
#include "views/PictureSaving.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QXYSeries>

#include <map>

namespace kavrin {

namespace {

constexpr int kNameColumn = 0, kValueColumn = 1, kDistributionColumn = 2, kFirstArgumentColumn = 3;

QString number(double value, char separator)
{
    return QString::fromStdString(FormatGeneral(value, separator));
}

// A length read off the grid: to the decimetre, finer than its steps.
QString metres(double value, char separator)
{
    return QString::fromStdString(FormatFixed(value, 1, separator));
}

QString cell(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

QTableWidgetItem* fixedItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QTableWidget* table(QWidget* parent, const char* name, int columns)
{
    auto* grid = new QTableWidget(0, columns, parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 10);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    return grid;
}

QComboBox* combo(QWidget* parent, const char* name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    return box;
}

void clearSeries(QChartView* view)
{
    for (QAbstractSeries* series : view->chart()->series()) static_cast<QXYSeries*>(series)->clear();
}

// The map choices after the thresholds' probabilities, in the list's order.
enum class ConcentrationMap { Mean, Sd, P05, P50, P95 };
constexpr int kConcentrationMaps = 5;

}  // namespace

UncertaintyWindow::UncertaintyWindow(AppState& app, Dialogs& dialogs, QWidget* owner)
    : QWidget(owner), app_(app), dialogs_(dialogs)
{
    setObjectName("UncertaintyWindow");
    Tabs = new QTabWidget(this);
    Tabs->setObjectName("UncertaintyTabs");
    Tabs->addTab(settingsPage(), QString());
    Tabs->addTab(mapPage(), QString());
    Tabs->addTab(receptorPage(), QString());

    RunButton = NamedWidget<QPushButton>(this, "RunButton", QString());
    CancelButton = NamedWidget<QPushButton>(this, "CancelButton", QString());
    RunProgress = new QProgressBar(this);
    RunProgress->setObjectName("RunProgress");
    RunProgress->setTextVisible(true);
    StatusLabel = NamedWidget<QLabel>(this, "StatusLabel", QString());
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(RunButton);
    bottom->addWidget(CancelButton);
    bottom->addWidget(RunProgress, 1);
    bottom->addWidget(StatusLabel, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Tabs, 1);
    layout->addLayout(bottom);

    connect(RunButton, &QPushButton::clicked, this, [this] { RunCommand(dialogs_, [this] { run(); }); });
    connect(CancelButton, &QPushButton::clicked, this, &UncertaintyWindow::cancel);
    setRunning(false);
    clearResults();
    giveTexts();
}

UncertaintyWindow::~UncertaintyWindow()
{
    // The task's thread is joined after this: the run stops at its next realization.
    if (cancel_) *cancel_ = true;
}

QWidget* UncertaintyWindow::settingsPage()
{
    auto* page = new QWidget(this);
    auto* parameters = new QGroupBox(page);
    parameters->setObjectName("ParametersGroup");
    ParametersTable = table(parameters, "ParametersTable", 6);
    // The arguments share the room the names and choices leave.
    for (int column = kFirstArgumentColumn; column < kFirstArgumentColumn + 3; ++column)
        ParametersTable->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
    auto* legend = NamedWidget<QLabel>(parameters, "ArgumentsLegend", QString());
    legend->setWordWrap(true);
    auto* parametersColumn = new QVBoxLayout(parameters);
    parametersColumn->addWidget(ParametersTable, 1);
    parametersColumn->addWidget(legend);

    StandardEdit = NamedWidget<QLineEdit>(page, "StandardEdit", QString());
    ThresholdsEdit = NamedWidget<QLineEdit>(page, "ThresholdsEdit", QString());
    RealizationsEdit = NamedWidget<QLineEdit>(page, "RealizationsEdit", QStringLiteral("1000"));
    SeedEdit = NamedWidget<QLineEdit>(page, "SeedEdit", QStringLiteral("1"));
    LatinHypercubeBox = NamedWidget<QCheckBox>(page, "LatinHypercubeBox", QString());
    auto* form = new QFormLayout;
    form->addRow(NamedWidget<QLabel>(page, "StandardLabel", QString()), StandardEdit);
    form->addRow(NamedWidget<QLabel>(page, "ThresholdsLabel", QString()), ThresholdsEdit);
    form->addRow(NamedWidget<QLabel>(page, "RealizationsLabel", QString()), RealizationsEdit);
    form->addRow(NamedWidget<QLabel>(page, "SeedLabel", QString()), SeedEdit);
    form->addRow(LatinHypercubeBox);

    auto* times = new QGroupBox(page);
    times->setObjectName("TimesGroup");
    TimesList = new QListWidget(times);
    TimesList->setObjectName("TimesList");
    TimesList->setSelectionMode(QAbstractItemView::MultiSelection);
    (new QVBoxLayout(times))->addWidget(TimesList);

    auto* receptors = new QGroupBox(page);
    receptors->setObjectName("ReceptorsGroup");
    ReceptorsTable = table(receptors, "ReceptorsTable", 3);
    ReceptorsTable->setHorizontalHeaderLabels({"x", "y", "z"});
    ReceptorsTable->horizontalHeader()->setStretchLastSection(false);
    ReceptorsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    AddReceptorButton = NamedWidget<QPushButton>(receptors, "AddReceptorButton", QString());
    RemoveReceptorButton = NamedWidget<QPushButton>(receptors, "RemoveReceptorButton", QString());
    auto* receptorButtons = new QHBoxLayout;
    receptorButtons->addWidget(AddReceptorButton);
    receptorButtons->addWidget(RemoveReceptorButton);
    receptorButtons->addStretch();
    auto* receptorsColumn = new QVBoxLayout(receptors);
    receptorsColumn->addWidget(ReceptorsTable, 1);
    receptorsColumn->addLayout(receptorButtons);

    auto* lists = new QHBoxLayout;
    lists->addWidget(times, 1);
    lists->addWidget(receptors, 2);
    auto* right = new QVBoxLayout;
    right->addLayout(form);
    right->addLayout(lists, 1);
    auto* columns = new QHBoxLayout(page);
    columns->addWidget(parameters, 3);
    columns->addLayout(right, 2);

    connect(AddReceptorButton, &QPushButton::clicked, this, [this] {
        if (ReceptorsTable->rowCount() >= kMostReceptors) return;
        const int row = ReceptorsTable->rowCount();
        ReceptorsTable->insertRow(row);
        for (int column = 0; column < 3; ++column) ReceptorsTable->setItem(row, column, new QTableWidgetItem);
        ReceptorsTable->setCurrentCell(row, 0);
        ReceptorsTable->setFocus(Qt::OtherFocusReason);
        ReceptorsTable->editItem(ReceptorsTable->item(row, 0));
    });
    connect(RemoveReceptorButton, &QPushButton::clicked, this, [this] {
        const int row = ReceptorsTable->currentRow() >= 0 ? ReceptorsTable->currentRow() : ReceptorsTable->rowCount() - 1;
        if (row >= 0) ReceptorsTable->removeRow(row);
    });
    return page;
}

QWidget* UncertaintyWindow::mapPage()
{
    auto* page = new QWidget(this);
    MapChoice = combo(page, "MapChoice");
    MapTimeChoice = combo(page, "MapTimeChoice");
    SaveMapButton = NamedWidget<QPushButton>(page, "SaveMapButton", QString());
    CopyMapButton = NamedWidget<QPushButton>(page, "CopyMapButton", QString());
    PlumeLabel = NamedWidget<QLabel>(page, "PlumeLabel", QString());
    auto* top = new QHBoxLayout;
    top->addWidget(NamedWidget<QLabel>(page, "MapChoiceLabel", QString()));
    top->addWidget(MapChoice);
    top->addWidget(NamedWidget<QLabel>(page, "MapTimeLabel", QString()));
    top->addWidget(MapTimeChoice);
    top->addWidget(SaveMapButton);
    top->addWidget(CopyMapButton);
    top->addStretch();
    MapLabel = NamedWidget<QLabel>(page, "MapLabel", QString());
    MapLabel->setFixedSize(kMapWidth, kMapHeight);
    MapLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The picture keeps its pixels; a window smaller than it scrolls it.
    auto* area = new QScrollArea(page);
    area->setObjectName("MapArea");
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(MapLabel);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(PlumeLabel);
    layout->addWidget(area, 1);

    const auto drawn = [this] { RunCommand(dialogs_, [this] { showMap(); }); };
    connect(MapChoice, &QComboBox::currentIndexChanged, this, drawn);
    connect(MapTimeChoice, &QComboBox::currentIndexChanged, this, drawn);
    connect(SaveMapButton, &QPushButton::clicked, this, [this] {
        if (!shownMap_) return;
        // The map at the size it is shown, in the format the dialog's filter chose.
        const PictureSource picture = MapPictureSource(*shownMap_, QSize(kMapWidth, kMapHeight));
        RunCommand(dialogs_, [&] { SavePicture(app_, dialogs_, picture, app_.text(AddedText::PictureFilterBitmap)); });
    });
    connect(CopyMapButton, &QPushButton::clicked, this, &UncertaintyWindow::copyMapValues);
    return page;
}

QWidget* UncertaintyWindow::receptorPage()
{
    auto* page = new QWidget(this);
    ReceptorChoice = combo(page, "ReceptorChoice");
    SaveChartButton = NamedWidget<QPushButton>(page, "SaveChartButton", QString());
    CopyChartButton = NamedWidget<QPushButton>(page, "CopyChartButton", QString());
    auto* top = new QHBoxLayout;
    top->addWidget(NamedWidget<QLabel>(page, "ReceptorChoiceLabel", QString()));
    top->addWidget(ReceptorChoice);
    top->addWidget(SaveChartButton);
    top->addWidget(CopyChartButton);
    top->addStretch();
    BandChart = MakeReceptorBandChart();
    BandChart->setParent(page);
    BandChart->setMinimumSize(400, 250);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    layout->addWidget(BandChart, 1);

    connect(ReceptorChoice, &QComboBox::currentIndexChanged, this, [this] { showReceptor(); });
    connect(SaveChartButton, &QPushButton::clicked, this, [this] {
        RunCommand(dialogs_, [this] { SaveChartPicture(app_, dialogs_, BandChart, app_.text(AddedText::PictureFilterBitmap)); });
    });
    connect(CopyChartButton, &QPushButton::clicked, this, [this] {
        const int receptor = ReceptorChoice->currentIndex();
        if (!shown_ || receptor < 0) return;
        std::vector<double> times;
        for (const TypedNumber& t : shown_->settings.times) times.push_back(t.value);
        QApplication::clipboard()->setText(
            ReceptorBandColumns(times, shown_->receptors[static_cast<std::size_t>(receptor)], bandTexts(), app_.separator));
    });
    return page;
}

void ShowUncertaintyWindow(AppState& app)
{
    UncertaintyWindow* window = app.windows.uncertainty;
    TFormPrincipal* main = app.windows.principal;
    if (!window || !main) return;
    if (!window->running()) window->refresh();
    const bool first = !dynamic_cast<ChildWindow*>(window->parentWidget());
    if (first) {
        QMdiSubWindow* child = main->addChild(window, true);
        window->show();  // hidden while it waited outside the frame
        // As tall as the frame allows: the maps and the chart want the room.
        const QSize room = main->mdiArea()->viewport()->size();
        child->resize(QSize(child->sizeHint().width(), room.height()).boundedTo(room).expandedTo(child->minimumSizeHint()));
        child->move(0, 0);
        // Coming back to it, the parameters and times are those of the project as it now stands.
        OnActivation(main->mdiArea(), child, [window] {
            if (!window->running()) window->refresh();
        });
    }
    main->showWindow(window, true);
    if (first) window->ParametersTable->setFocus(Qt::OtherFocusReason);
}

void UncertaintyWindow::fillDistributionBox(QComboBox* box, bool fromFit) const
{
    using T = AddedText;
    const AddedText lines[] = {T::UncertaintyFixed,     T::UncertaintyUniform,    T::UncertaintyNormal,
                               T::UncertaintyLognormal, T::UncertaintyTriangular, T::UncertaintyFromFit};
    const int count = fromFit ? 6 : 5;
    while (box->count() > count) box->removeItem(box->count() - 1);
    for (int i = 0; i < count; ++i) {
        if (i < box->count())
            box->setItemText(i, app_.text(lines[i]));
        else
            box->addItem(app_.text(lines[i]));
    }
}

const FitResult* UncertaintyWindow::fitResult() const
{
    const TObservacao* calibration = app_.windows.observacao;
    return calibration && calibration->fitPanel ? calibration->fitPanel->result() : nullptr;
}

ModelState UncertaintyWindow::runModel() const
{
    // The model of the results whose times the run takes, not of values typed since.
    ModelState model = app_.model;
    Variaveis(app_.project.ResultsExist ? app_.resultsTexts : app_.texts, model, app_.separator);
    return model;
}

int UncertaintyWindow::parameterRow(const std::string& name) const
{
    for (int row = 0; row < ParametersTable->rowCount(); ++row)
        if (cell(ParametersTable, row, kNameColumn).toStdString() == name) return row;
    return -1;
}

QComboBox* UncertaintyWindow::distributionBox(int row) const
{
    return qobject_cast<QComboBox*>(ParametersTable->cellWidget(row, kDistributionColumn));
}

void UncertaintyWindow::refresh()
{
    ModelState model;
    try {
        model = runModel();
    } catch (const std::exception&) {
        model = app_.model;  // values that do not read yet: the model as it stands
    }
    const FitResult* fit = fitResult();
    const std::optional<FitDraw> draw = fit ? FitDrawOf(*fit) : std::nullopt;
    // What each parameter had, kept by name.
    std::map<std::string, std::pair<int, std::array<QString, 3>>> kept;
    for (int row = 0; row < ParametersTable->rowCount(); ++row)
        kept[cell(ParametersTable, row, kNameColumn).toStdString()] = {
            distributionBox(row)->currentIndex(),
            {cell(ParametersTable, row, 3), cell(ParametersTable, row, 4), cell(ParametersTable, row, 5)}};
    ParametersTable->setRowCount(0);
    for (const std::string& name : UncertainParameterNames()) {
        const std::optional<UncertainParameter> parameter = UncertainParameterOfName(name);
        if (!parameter || !ModelUsesUncertainParameter(model, *parameter)) continue;
        const int row = ParametersTable->rowCount();
        ParametersTable->insertRow(row);
        ParametersTable->setItem(row, kNameColumn, fixedItem(QString::fromStdString(name)));
        ParametersTable->setItem(row, kValueColumn, fixedItem(number(parameter->valueIn(model), app_.separator)));
        auto* box = new QComboBox(ParametersTable);
        box->setObjectName(QString::fromStdString("Distribution" + name));
        const bool fitted = draw && std::find(draw->names.begin(), draw->names.end(), name) != draw->names.end();
        fillDistributionBox(box, fitted);
        ParametersTable->setCellWidget(row, kDistributionColumn, box);
        const auto before = kept.find(name);
        for (int column = kFirstArgumentColumn; column < kFirstArgumentColumn + 3; ++column)
            ParametersTable->setItem(row, column,
                                     new QTableWidgetItem(before == kept.end()
                                                              ? QString()
                                                              : before->second.second[static_cast<std::size_t>(column - 3)]));
        if (before != kept.end() && before->second.first < box->count()) box->setCurrentIndex(before->second.first);
    }

    // The run's times after the start: a time 0 holds only the source.
    QStringList chosen;
    for (const QListWidgetItem* item : TimesList->selectedItems()) chosen << item->text();
    TimesList->clear();
    if (app_.project.ResultsExist) {
        const std::vector<double> times = ListedRunTimes(model, app_.project.ProjectIndexPath).value_or(std::vector<double>{});
        for (double t : times) {
            if (!(t > 0)) continue;
            auto* item = new QListWidgetItem(QString::fromStdString(TimeText(t, app_.separator)), TimesList);
            item->setData(Qt::UserRole, t);
            item->setSelected(chosen.contains(item->text()));
        }
        // The last time when none is chosen: the question is mostly "by the end".
        if (TimesList->selectedItems().isEmpty() && TimesList->count() > 0)
            TimesList->item(TimesList->count() - 1)->setSelected(true);
    }
}

UncertaintyFormTexts UncertaintyWindow::formTexts() const
{
    UncertaintyFormTexts texts;
    for (int row = 0; row < ParametersTable->rowCount(); ++row) {
        ParameterRowTexts parameter;
        parameter.name = cell(ParametersTable, row, kNameColumn).toStdString();
        parameter.choice = static_cast<ParameterChoice>(std::max(0, distributionBox(row)->currentIndex()));
        for (int i = 0; i < 3; ++i) parameter.arguments[static_cast<std::size_t>(i)] = cell(ParametersTable, row, 3 + i);
        texts.parameters.push_back(std::move(parameter));
    }
    texts.standard = StandardEdit->text();
    texts.moreThresholds = ThresholdsEdit->text();
    texts.realizations = RealizationsEdit->text();
    texts.seed = SeedEdit->text();
    texts.latinHypercube = LatinHypercubeBox->isChecked();
    for (int i = 0; i < TimesList->count(); ++i)
        if (TimesList->item(i)->isSelected()) texts.times.push_back(TimesList->item(i)->data(Qt::UserRole).toDouble());
    for (int row = 0; row < ReceptorsTable->rowCount(); ++row)
        texts.receptors.push_back({cell(ReceptorsTable, row, 0), cell(ReceptorsTable, row, 1), cell(ReceptorsTable, row, 2)});
    return texts;
}

void UncertaintyWindow::run()
{
    if (task_.running()) return;
    if (!app_.project.ResultsExist) {
        dialogs_.notice(app_.text(AddedText::UncertaintyNeedsResults));
        return;
    }
    auto shown = std::make_shared<Shown>();
    shown->model = runModel();
    UncertaintyFormOutcome form = ReadUncertaintyForm(formTexts(), shown->model, fitResult(), app_);
    if (!form.settings) {
        dialogs_.error(form.refusal);
        return;
    }
    shown->settings = std::move(*form.settings);
    clearResults();
    setRunning(true);
    const std::uint64_t total = shown->settings.realizations;
    RunProgress->setRange(0, static_cast<int>(total));
    RunProgress->setValue(0);
    RunProgress->setFormat(app_.text(AddedText::UncertaintyProgress).arg(0).arg(total));
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    clock_.start();
    auto quadrature = std::make_shared<QuadratureState>(app_.quadrature);
    task_.start<std::shared_ptr<Shown>>(
        [this, shown, quadrature, cancel = cancel_](BackgroundTask& task) -> std::shared_ptr<Shown> {
            // A hundred steps of progress at most, whatever the count.
            auto shownStep = std::make_shared<std::atomic<std::uint64_t>>(0);
            const UncertaintyProgress progress = [this, &task, shownStep](std::uint64_t done, std::uint64_t total) {
                const std::uint64_t step = total ? done * 100 / total : 100;
                if (step <= shownStep->load() && done != total) return;
                shownStep->store(step);
                task.post([this, done, total] {
                    RunProgress->setValue(static_cast<int>(done));
                    RunProgress->setFormat(app_.text(AddedText::UncertaintyProgress).arg(done).arg(total));
                });
            };
            std::optional<UncertaintyResults> results =
                RunUncertainty(shown->model, *quadrature, shown->settings, WorkerCount(), progress, cancel.get());
            if (!results) return nullptr;
            shown->results = std::move(*results);
            for (const auto& values : shown->results.receptorValues)
                shown->receptors.push_back(SummariseReceptor(values, shown->settings.standard()));
            return shown;
        },
        [this](TaskOutcome<std::shared_ptr<Shown>> outcome) {
            std::shared_ptr<Shown> results;
            QString failure;
            try {
                results = outcome.get();
            } catch (const std::exception& error) {
                failure = QString::fromUtf8(error.what());
            }
            finish(results, failure);
        });
}

void UncertaintyWindow::cancel()
{
    if (!task_.running()) return;
    if (cancel_) *cancel_ = true;
    task_.requestStop();
}

void UncertaintyWindow::finish(std::shared_ptr<Shown> shown, const QString& failure)
{
    setRunning(false);
    RunProgress->setValue(0);
    RunProgress->setFormat(QString());
    if (!failure.isEmpty()) {
        dialogs_.error(failure);
        return;
    }
    if (!shown) {
        StatusLabel->setText(app_.text(AddedText::UncertaintyCancelled));
        return;
    }
    shown_ = std::make_unique<Shown>(std::move(*shown));
    StatusLabel->setText(app_.text(AddedText::UncertaintyFinished)
                             .arg(shown_->results.realizations)
                             .arg(QString::fromStdString(FormatFixed(clock_.elapsed() / 1000.0, 1, app_.separator))));
    fillResultChoices();
    Tabs->setCurrentIndex(1);
}

void UncertaintyWindow::setRunning(bool running)
{
    RunButton->setEnabled(!running);
    CancelButton->setEnabled(running);
    Tabs->widget(0)->setEnabled(!running);
}

void UncertaintyWindow::clearResults()
{
    shown_.reset();
    shownGrid_.reset();
    shownMap_.reset();
    mapPicture_ = QImage();
    MapLabel->clear();
    PlumeLabel->clear();
    StatusLabel->clear();
    for (QComboBox* box : {MapChoice, MapTimeChoice, ReceptorChoice}) {
        const QSignalBlocker quiet(box);
        box->clear();
    }
    clearSeries(BandChart);
    for (QPushButton* button : {SaveMapButton, CopyMapButton, SaveChartButton, CopyChartButton}) button->setEnabled(false);
}

QString UncertaintyWindow::mapName(int choice) const
{
    using T = AddedText;
    const std::vector<TypedNumber>& thresholds = shown_->settings.thresholds;
    if (choice < static_cast<int>(thresholds.size()))
        return app_.text(T::UncertaintyExceedanceMap)
            .arg(QString::fromStdString(thresholds[static_cast<std::size_t>(choice)].text));
    switch (static_cast<ConcentrationMap>(choice - static_cast<int>(thresholds.size()))) {
    case ConcentrationMap::Mean:
        return app_.text(T::UncertaintyMeanMap);
    case ConcentrationMap::Sd:
        return app_.text(T::UncertaintySdMap);
    case ConcentrationMap::P05:
        return app_.text(T::UncertaintyPercentileMap).arg(5);
    case ConcentrationMap::P50:
        return app_.text(T::UncertaintyPercentileMap).arg(50);
    case ConcentrationMap::P95:
        return app_.text(T::UncertaintyPercentileMap).arg(95);
    }
    return {};
}

void UncertaintyWindow::fillResultChoices()
{
    if (!shown_) return;
    {
        const QSignalBlocker quietMap(MapChoice), quietTime(MapTimeChoice), quietReceptor(ReceptorChoice);
        const int map = std::max(0, MapChoice->currentIndex()), time = MapTimeChoice->currentIndex(),
                  receptor = std::max(0, ReceptorChoice->currentIndex());
        MapChoice->clear();
        const int maps = static_cast<int>(shown_->settings.thresholds.size()) + kConcentrationMaps;
        for (int choice = 0; choice < maps; ++choice) MapChoice->addItem(mapName(choice));
        MapChoice->setCurrentIndex(std::min(map, maps - 1));
        MapTimeChoice->clear();
        for (const TypedNumber& t : shown_->settings.times) MapTimeChoice->addItem(QString::fromStdString(t.text));
        MapTimeChoice->setCurrentIndex(time >= 0 && time < MapTimeChoice->count() ? time : MapTimeChoice->count() - 1);
        ReceptorChoice->clear();
        const std::vector<Receptor>& receptors = shown_->settings.receptors;
        for (std::size_t r = 0; r < receptors.size(); ++r)
            ReceptorChoice->addItem(app_.text(AddedText::UncertaintyReceptorItem)
                                        .arg(r + 1)
                                        .arg(number(receptors[r].x, app_.separator), number(receptors[r].y, app_.separator),
                                             number(receptors[r].z, app_.separator)));
        if (!receptors.empty()) ReceptorChoice->setCurrentIndex(std::min<int>(receptor, ReceptorChoice->count() - 1));
    }
    RunCommand(dialogs_, [this] { showMap(); });
    showReceptor();
}

void UncertaintyWindow::showMap()
{
    const int choice = MapChoice->currentIndex(), time = MapTimeChoice->currentIndex();
    if (!shown_ || choice < 0 || time < 0) return;
    const UncertaintyMaps& maps = shown_->results.times[static_cast<std::size_t>(time)];
    const std::size_t thresholds = shown_->settings.thresholds.size();
    const bool probability = static_cast<std::size_t>(choice) < thresholds;
    const std::vector<double>* values = nullptr;
    if (probability) {
        values = &maps.exceedance[static_cast<std::size_t>(choice)];
    } else {
        const std::vector<double>* concentrations[] = {&maps.mean, &maps.sd, &maps.p05, &maps.p50, &maps.p95};
        values = concentrations[static_cast<std::size_t>(choice) - thresholds];
    }
    const UncertaintyMapTexts texts{shown_->settings.times[static_cast<std::size_t>(time)].text,
                                    mapName(choice).toStdString(),
                                    app_.text(AddedText::UncertaintyProbabilityScale).toStdString(),
                                    app_.text(AddedText::UncertaintyOutlines).toStdString(),
                                    app_.PortugueseActive,
                                    app_.separator};
    // Nothing of an earlier map stays when this one cannot be drawn.
    shownGrid_.reset();
    shownMap_.reset();
    mapPicture_ = QImage();
    MapLabel->clear();
    SaveMapButton->setEnabled(false);
    CopyMapButton->setEnabled(false);
    auto grid = std::make_unique<ResultGrid>(GridOfMap(*values, shown_->results.rows, shown_->results.columns));
    shownMap_ =
        probability ? ProbabilityMapPicture(shown_->model, *grid, texts) : ConcentrationMapPicture(shown_->model, *grid, texts);
    mapPicture_ = PaintMapPicture(*shownMap_);
    shownGrid_ = std::move(grid);
    MapLabel->setPixmap(QPixmap::fromImage(mapPicture_));
    SaveMapButton->setEnabled(true);
    CopyMapButton->setEnabled(true);
    const std::vector<double>& lengths = shown_->results.plumeLength[static_cast<std::size_t>(time)];
    PlumeLabel->setText(lengths.empty() ? QString()
                                        : app_.text(AddedText::UncertaintyPlumeLength)
                                              .arg(metres(ExactPercentile(lengths, 0.05), app_.separator),
                                                   metres(ExactPercentile(lengths, 0.5), app_.separator),
                                                   metres(ExactPercentile(lengths, 0.95), app_.separator)));
}

ReceptorBandTexts UncertaintyWindow::bandTexts() const
{
    using T = AddedText;
    const double standard = shown_ ? shown_->settings.standard() : 0;
    const QString standardText = shown_ && !shown_->settings.thresholds.empty()
                                     ? QString::fromStdString(shown_->settings.thresholds.front().text)
                                     : number(standard, app_.separator);
    return {app_.messages.MsgAxisTime.isEmpty() ? app_.text(T::UncertaintyTimes) : app_.messages.MsgAxisTime,
            app_.text(T::UncertaintyConcentrationAxis),
            app_.text(T::UncertaintyPercentileMap).arg(5),
            app_.text(T::UncertaintyPercentileMap).arg(50),
            app_.text(T::UncertaintyPercentileMap).arg(95),
            app_.text(T::UncertaintyStandardLine).arg(standardText),
            app_.text(T::UncertaintyExceededByNow)};
}

void UncertaintyWindow::showReceptor()
{
    const int receptor = ReceptorChoice->currentIndex();
    const bool any = shown_ && receptor >= 0 && static_cast<std::size_t>(receptor) < shown_->receptors.size();
    SaveChartButton->setEnabled(any);
    CopyChartButton->setEnabled(any);
    if (!any) {
        clearSeries(BandChart);
        return;
    }
    std::vector<double> times;
    for (const TypedNumber& t : shown_->settings.times) times.push_back(t.value);
    ShowReceptorBands(BandChart, times, shown_->receptors[static_cast<std::size_t>(receptor)], shown_->settings.standard(),
                      bandTexts(), app_.separator);
}

void UncertaintyWindow::copyMapValues()
{
    if (!shown_ || !shownGrid_) return;
    const ModelState& m = shown_->model;
    QString text = QStringLiteral("X (m)\tY (m)\t") + MapChoice->currentText() + "\r\n";
    for (int row = 0; row < shown_->results.rows; ++row)
        for (int column = 0; column < shown_->results.columns; ++column)
            text += number(m.X0 + column * m.DX, app_.separator) + '\t' + number(m.Y0 + row * m.DY, app_.separator) + '\t' +
                    number(shownGrid_->at(column + 1, row + 1), app_.separator) + "\r\n";
    QApplication::clipboard()->setText(text);
}

void UncertaintyWindow::giveTexts()
{
    using T = AddedText;
    const auto text = [this](AddedText line) { return app_.text(line); };
    setWindowTitle(text(T::UncertaintyWindowCaption));
    Tabs->setTabText(0, text(T::UncertaintySettingsTab));
    Tabs->setTabText(1, text(T::UncertaintyMapTab));
    Tabs->setTabText(2, text(T::UncertaintyReceptorTab));
    findChild<QGroupBox*>("ParametersGroup")->setTitle(text(T::UncertaintyParametersGroup));
    ParametersTable->setHorizontalHeaderLabels({text(T::UncertaintyParameterColumn), text(T::UncertaintyValueColumn),
                                                text(T::UncertaintyDistributionColumn), text(T::UncertaintyArgumentA),
                                                text(T::UncertaintyArgumentB), text(T::UncertaintyArgumentC)});
    for (int row = 0; row < ParametersTable->rowCount(); ++row)
        if (QComboBox* box = distributionBox(row)) fillDistributionBox(box, box->count() > 5);
    findChild<QLabel*>("ArgumentsLegend")->setText(text(T::UncertaintyArgumentsLegend));
    findChild<QLabel*>("StandardLabel")->setText(text(T::UncertaintyStandard));
    findChild<QLabel*>("ThresholdsLabel")->setText(text(T::UncertaintyMoreThresholds));
    findChild<QLabel*>("RealizationsLabel")->setText(text(T::UncertaintyRealizations));
    findChild<QLabel*>("SeedLabel")->setText(text(T::UncertaintySeed));
    LatinHypercubeBox->setText(text(T::UncertaintyLatinHypercube));
    findChild<QGroupBox*>("TimesGroup")->setTitle(text(T::UncertaintyTimes));
    findChild<QGroupBox*>("ReceptorsGroup")->setTitle(text(T::UncertaintyReceptors));
    AddReceptorButton->setText(text(T::SourceAddRow));
    RemoveReceptorButton->setText(text(T::SourceRemoveRow));
    RunButton->setText(text(T::UncertaintyRun));
    CancelButton->setText(text(T::UncertaintyCancel));
    findChild<QLabel*>("MapChoiceLabel")->setText(text(T::UncertaintyMapChoice));
    findChild<QLabel*>("MapTimeLabel")->setText(text(T::UncertaintyMapTime));
    findChild<QLabel*>("ReceptorChoiceLabel")->setText(text(T::UncertaintyReceptorChoice));
    for (QPushButton* button : {SaveMapButton, SaveChartButton}) button->setText(text(T::UncertaintySavePicture));
    for (QPushButton* button : {CopyMapButton, CopyChartButton}) button->setText(text(T::UncertaintyCopyValues));
}

void UncertaintyWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    giveTexts();
    // The status, the maps' names, the pictures and the chart follow the language too.
    if (!task_.running()) StatusLabel->clear();
    fillResultChoices();
    QWidget* frame = parentWidget() ? parentWidget() : this;
    if (frame->isVisible()) frame->resize(frame->size().expandedTo(frame->minimumSizeHint()));
}

}  // namespace kavrin
