#include "observations/FitPanel.h"

#include "calibration/FitSetup.h"
#include "calibration/FitStartLimits.h"
#include "calibration/FittedSourceTexts.h"
#include "fit/ParameterFit.h"
#include "gui/CommandRunner.h"
#include "gui/NamedWidget.h"
#include "model/Variaveis.h"
#include "observations/ResidualChart.h"
#include "observations/TObservacao.h"
#include "project/OrderInEffect.h"
#include "project/TFormDados.h"
#include "text/DecimalSeparator.h"
#include "text/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>

namespace kavrin {

namespace {

QString number(double value, char separator)
{
    return std::isnan(value) ? QStringLiteral("-") : QString::number(value, 'g', 6).replace('.', QChar(separator));
}

double parsed(const QString& text, char separator)
{
    return ParseFloat(ArrumaDecimal(text.toStdString(), separator), separator);
}

}  // namespace

FitPanel::FitPanel(AppState& app, Dialogs& dialogs, std::function<const ObservationTable&()> table, ShowFitted showFitted,
                   QWidget* parent)
    : QGroupBox(parent), app_(app), dialogs_(dialogs), table_(std::move(table)), showFitted_(std::move(showFitted))
{
    setObjectName("FitPanel");
    // One row per parameter, its bounds beside it.
    auto* bounds = new QGridLayout;
    bounds->addWidget(NamedWidget<QLabel>(this, "LowerBoundHeading", QString()), 0, 1);
    bounds->addWidget(NamedWidget<QLabel>(this, "UpperBoundHeading", QString()), 0, 2);
    for (std::size_t i = 0; i < kFitParameters.size(); ++i)
        addRow(bounds, kFitParameters[i], QString::number(i + 1), CheckBoxes[i], LowerEdits[i], UpperEdits[i]);
    for (std::size_t i = 0; i < kSourceFitParameters.size(); ++i)
        addRow(bounds, kSourceFitParameters[i], QString::fromUtf8(kSourceFitParameters[i].name), SourceCheckBoxes[i],
               SourceLowerEdits[i], SourceUpperEdits[i]);
    connect(app_.windows.dados, &TFormDados::sourceTextsChanged, this, &FitPanel::showSourceRows);
    CheckBoxLog = NamedWidget<QCheckBox>(this, "CheckBoxLog", QString());
    EditDetectionLimit = NamedWidget<QLineEdit>(this, "EditDetectionLimit", QString());
    EditDetectionLimit->setFixedWidth(90);
    auto* limit = new QHBoxLayout;
    limit->addWidget(CheckBoxLog);
    limit->addSpacing(16);
    limit->addWidget(NamedWidget<QLabel>(this, "DetectionLimitLabel", QString()));
    limit->addWidget(EditDetectionLimit);
    limit->addStretch();
    ComboBoxWeights = new QComboBox(this);
    ComboBoxWeights->setObjectName("ComboBoxWeights");
    ComboBoxWeights->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* weights = new QHBoxLayout;
    weights->addWidget(NamedWidget<QLabel>(this, "WeightsLabel", QString()));
    weights->addWidget(ComboBoxWeights);
    weights->addStretch();
    CheckBoxSeveralStarts = NamedWidget<QCheckBox>(this, "CheckBoxSeveralStarts", QString());
    SpinBoxStarts = new QSpinBox(this);
    SpinBoxStarts->setObjectName("SpinBoxStarts");
    SpinBoxStarts->setRange(2, kMostStarts);
    SpinBoxStarts->setValue(kDefaultStarts);
    SpinBoxSeed = new QSpinBox(this);
    SpinBoxSeed->setObjectName("SpinBoxSeed");
    SpinBoxSeed->setRange(0, static_cast<int>(kMostSeed));
    SpinBoxSeed->setValue(static_cast<int>(kDefaultSeed));
    auto* starts = new QHBoxLayout;
    starts->addWidget(CheckBoxSeveralStarts);
    starts->addWidget(SpinBoxStarts);
    starts->addSpacing(16);
    starts->addWidget(NamedWidget<QLabel>(this, "SeedLabel", QString()));
    starts->addWidget(SpinBoxSeed);
    starts->addStretch();
    ComboBoxProfile = new QComboBox(this);
    ComboBoxProfile->setObjectName("ComboBoxProfile");
    ComboBoxProfile->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* profile = new QHBoxLayout;
    profile->addWidget(NamedWidget<QLabel>(this, "ProfileLabel", QString()));
    profile->addWidget(ComboBoxProfile);
    profile->addStretch();
    fitButton_ = NamedWidget<QPushButton>(this, "FitButton", QString());
    cancelButton_ = NamedWidget<QPushButton>(this, "CancelFitButton", QString());
    applyButton_ = NamedWidget<QPushButton>(this, "ApplyFitButton", QString());
    undoButton_ = NamedWidget<QPushButton>(this, "UndoApplyButton", QString());
    auto* run = new QHBoxLayout;
    run->addWidget(fitButton_);
    run->addWidget(cancelButton_);
    FitProgressBar = new QProgressBar(this);
    FitProgressBar->setObjectName("FitProgressBar");
    FitProgressBar->setTextVisible(true);
    FitProgressBar->setRange(0, 1);
    FitProgressBar->setValue(0);
    FitProgressBar->setFormat(QString());
    run->addWidget(FitProgressBar, 1);
    LabelNotes = NamedWidget<QLabel>(this, "LabelNotes", QString());
    LabelNotes->setWordWrap(true);
    LabelNotes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LabelNotes->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    // The parameters scroll when the source adds many (a zone each).
    auto* boundsWidget = new QWidget;
    boundsWidget->setLayout(bounds);
    bounds->setContentsMargins(0, 0, 0, 0);
    boundsArea_ = new QScrollArea(this);
    boundsArea_->setObjectName("FitParametersArea");
    boundsArea_->setWidget(boundsWidget);
    boundsArea_->setWidgetResizable(true);
    boundsArea_->setFrameShape(QFrame::NoFrame);
    boundsArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* left = new QVBoxLayout;
    left->addWidget(boundsArea_);
    left->addLayout(limit);
    left->addLayout(weights);
    left->addLayout(starts);
    left->addLayout(profile);
    left->addLayout(run);
    left->addWidget(LabelNotes, 1);

    FittedValuesGrid = new QTableWidget(0, 6, this);
    FittedValuesGrid->setObjectName("FittedValuesGrid");
    StatisticsGrid = new QTableWidget(4, 2, this);
    StatisticsGrid->setObjectName("StatisticsGrid");
    for (QTableWidget* grid : {FittedValuesGrid, StatisticsGrid}) {
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->verticalHeader()->setDefaultSectionSize(22);
    }
    FittedValuesGrid->verticalHeader()->hide();
    StatisticsGrid->setFixedWidth(300);
    StatisticsGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    FittedValuesGrid->setMinimumSize(400, 130);
    auto* tables = new QHBoxLayout;
    tables->addWidget(FittedValuesGrid, 1);
    tables->addWidget(StatisticsGrid);
    auto* applyRow = new QHBoxLayout;
    applyRow->addStretch();
    applyRow->addWidget(applyButton_);
    applyRow->addWidget(undoButton_);
    Residuals = new ResidualChart(app_, this);
    LabelDiagnostics = NamedWidget<QLabel>(this, "LabelDiagnostics", QString());
    LabelDiagnostics->setWordWrap(true);
    LabelDiagnostics->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* right = new QVBoxLayout;
    right->addLayout(tables, 1);
    right->addLayout(applyRow);
    right->addWidget(LabelDiagnostics);
    right->addWidget(Residuals, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(fitButton_, &QPushButton::clicked, this, &FitPanel::startFit);
    connect(cancelButton_, &QPushButton::clicked, this, &FitPanel::cancelFit);
    connect(applyButton_, &QPushButton::clicked, this, &FitPanel::applyFittedValues);
    connect(undoButton_, &QPushButton::clicked, this, &FitPanel::undoApply);
    applyLanguage({}, true);
    showSourceRows();
    setRunning(false);
}

// The task's own destruction stops the fit and waits for it.
FitPanel::~FitPanel() = default;

void FitPanel::addRow(QGridLayout* grid, const FitParameterInfo& info, const QString& number, QCheckBox*& check,
                      QLineEdit*& lower, QLineEdit*& upper)
{
    check = NamedWidget<QCheckBox>(this, ("CheckBoxFit" + number).toUtf8().constData(), QString::fromUtf8(info.name));
    lower = NamedWidget<QLineEdit>(this, ("EditLower" + number).toUtf8().constData(), QString());
    upper = NamedWidget<QLineEdit>(this, ("EditUpper" + number).toUtf8().constData(), QString());
    lower->setMinimumWidth(80);
    upper->setMinimumWidth(80);
    const int line = static_cast<int>(rows_.size()) + 1;
    grid->addWidget(check, line, 0);
    grid->addWidget(lower, line, 1);
    grid->addWidget(upper, line, 2);
    rows_.push_back({&info, check, lower, upper});
    const std::size_t index = rows_.size() - 1;
    connect(check, &QCheckBox::toggled, this, [this, index](bool on) {
        if (on) fillDefaultBounds(rows_[index]);
        showProfileChoices();
    });
}

ModelState FitPanel::currentModel() const
{
    ModelState model;
    try {
        Variaveis(app_.texts, model, app_.separator);
    } catch (const KavrinError&) {
        model.source = {};
    }
    return model;
}

void FitPanel::showSourceRows()
{
    const ModelState model = currentModel();
    for (const ParameterRow& row : rows_) {
        if (row.info->edit >= 0) continue;
        const bool used = ModelUses(model, row.info->parameter);
        if (!used) row.check->setChecked(false);
        for (QWidget* widget :
             {static_cast<QWidget*>(row.check), static_cast<QWidget*>(row.lower), static_cast<QWidget*>(row.upper)})
            widget->setVisible(used);
    }
    fitBoundsArea();
}

void FitPanel::fitBoundsArea()
{
    QWidget* content = boundsArea_->widget();
    content->layout()->activate();
    const QSize wanted = content->sizeHint();
    boundsArea_->setMinimumWidth(wanted.width() + boundsArea_->verticalScrollBar()->sizeHint().width());
    // The heading, the nine and three of the source's in view; more scroll.
    const auto* grid = static_cast<QGridLayout*>(content->layout());
    const int line = std::max(CheckBoxes[0]->sizeHint().height(), LowerEdits[0]->sizeHint().height()) + grid->verticalSpacing();
    boundsArea_->setMinimumHeight(std::min(wanted.height(), 13 * line));
}

void FitPanel::applyLanguage(const QStringList& lines, bool portuguese)
{
    for (int i = 0; i < kLanguageLines; ++i) {
        const QString given = i < lines.size() ? lines[i] : QString();
        texts_.lines[static_cast<std::size_t>(i)] =
            given.isEmpty() ? BuiltInFitText(kFirstLanguageLine + i, portuguese) : given.toStdString();
    }
    setTitle(text(FitText::Title));
    findChild<QLabel*>("LowerBoundHeading")->setText(text(FitText::LowerBound));
    findChild<QLabel*>("UpperBoundHeading")->setText(text(FitText::UpperBound));
    showParameterNames();
    CheckBoxLog->setText(text(FitText::LogResiduals));
    findChild<QLabel*>("DetectionLimitLabel")->setText(text(FitText::DetectionLimit));
    fitButton_->setText(text(FitText::FitButton));
    cancelButton_->setText(text(FitText::CancelButton));
    applyButton_->setText(text(FitText::ApplyButton));
    undoButton_->setText(text(FitText::UndoButton));
    findChild<QLabel*>("WeightsLabel")->setText(text(FitText::Weights));
    const int rule = std::max(ComboBoxWeights->currentIndex(), 0);
    ComboBoxWeights->clear();
    ComboBoxWeights->addItems(text(FitText::WeightRules).split('|'));
    ComboBoxWeights->setCurrentIndex(rule);
    FittedValuesGrid->setHorizontalHeaderLabels(text(FitText::ParameterHeadings).split('|'));
    const QStringList statistics = text(FitText::StatisticsHeadings).split('|');
    StatisticsGrid->setVerticalHeaderLabels(statistics.mid(0, 4));
    StatisticsGrid->setHorizontalHeaderLabels(statistics.mid(4, 2));
    showAddedTexts();
    if (result_) showResult();
}

void FitPanel::changeEvent(QEvent* event)
{
    // The data window's captions have changed with the language.
    if (event->type() == QEvent::LanguageChange) {
        showParameterNames();
        showAddedTexts();
        if (result_) showResult();
    }
    QGroupBox::changeEvent(event);
}

QString FitPanel::parameterName(FitParameter parameter) const
{
    if (parameter == FitParameter::SourceDecay) return app_.text(AddedText::FitSourceDecay);
    if (parameter == FitParameter::ReleaseEnd) return app_.text(AddedText::SourceReleaseEnd);
    const int zone = static_cast<int>(parameter) - static_cast<int>(FitParameter::ReleaseEnd) + 1;
    if (zone >= 2) return app_.text(AddedText::FitZoneConcentration).arg(zone);
    const QString caption = app_.windows.dados ? app_.windows.dados->fieldCaption(InfoOf(parameter).edit) : QString();
    return caption.isEmpty() ? QString::fromUtf8(InfoOf(parameter).name) : caption;
}

void FitPanel::showParameterNames()
{
    for (const ParameterRow& row : rows_) row.check->setText(parameterName(row.info->parameter));
    showProfileChoices();
    fitBoundsArea();
}

QString FitPanel::messageText(const FitMessage& message) const
{
    FitMessage named = message;
    for (std::string& argument : named.arguments)
        if (const std::optional<FitParameter> parameter = AnyFitParameterOfName(argument))
            argument = parameterName(*parameter).toStdString();
    return QString::fromStdString(RefusalText(texts_, named));
}

void FitPanel::clearResult()
{
    result_.reset();
    starts_.reset();
    profile_.reset();
    profileFailure_.clear();
    Residuals->clear();
    LabelDiagnostics->clear();
    FittedValuesGrid->setRowCount(0);
    for (int row = 0; row < StatisticsGrid->rowCount(); ++row)
        for (int column = 0; column < StatisticsGrid->columnCount(); ++column) delete StatisticsGrid->takeItem(row, column);
    LabelNotes->clear();
    FitProgressBar->setRange(0, 1);
    FitProgressBar->setValue(0);
    FitProgressBar->setFormat(QString());
    setRunning(running());
}

void FitPanel::fillDefaultBounds(const ParameterRow& row)
{
    const FitParameterInfo& info = *row.info;
    try {
        // The data window's text as it stands; the source's value from its options.
        const double current = info.edit >= 0
                                   ? parsed(app_.windows.dados->Edit[static_cast<std::size_t>(info.edit)]->text(), app_.separator)
                                   : info.get(currentModel());
        const FitBounds bounds = DefaultBounds(info.parameter, current);
        row.lower->setText(QString::fromStdString(FormatGeneral(bounds.lower, app_.separator)));
        row.upper->setText(QString::fromStdString(FormatGeneral(bounds.upper, app_.separator)));
    } catch (const KavrinError&) {
        // The data window's text is not a number yet; the fit will report it.
    }
}

void FitPanel::setRunning(bool running)
{
    fitButton_->setEnabled(!running);
    cancelButton_->setEnabled(running);
    applyButton_->setEnabled(!running && result_ && result_->identifiable() && result_->stop != FitStop::Cancelled);
    undoButton_->setEnabled(!running && (!undo_.empty() || undoSource_));
}

void FitPanel::startFit()
{
    if (running()) return;
    RunCommand(dialogs_, [this] {
        const char separator = app_.separator;
        const ObservationTable& table = table_();
        std::vector<Observation> observations;
        try {
            observations = ReadObservations(table.observations(), separator);
        } catch (const ObservationsIncomplete& incomplete) {
            dialogs_.notice(app_.messages.MsgObservationsIncomplete + "\n" + app_.windows.observacao->placeOf(incomplete.cell));
            return;
        } catch (const ObservationValueError& error) {
            dialogs_.error(QString::fromUtf8(error.what()) + "\n" + app_.windows.observacao->placeOf(error.cell));
            return;
        }
        auto model = std::make_shared<ModelState>();
        Variaveis(app_.windows.dados->texts(), *model, separator);
        FitChoices choices;
        for (const ParameterRow& row : rows_) {
            if (!row.check->isChecked()) continue;
            if (!ModelUses(*model, row.info->parameter)) {
                dialogs_.error(app_.text(AddedText::FitParameterUnused).arg(parameterName(row.info->parameter)));
                return;
            }
            if (row.lower->text().isEmpty() || row.upper->text().isEmpty()) fillDefaultBounds(row);
            choices.parameters.push_back(row.info->parameter);
            choices.bounds.push_back(FitBounds{parsed(row.lower->text(), separator), parsed(row.upper->text(), separator)});
        }
        choices.logResiduals = CheckBoxLog->isChecked();
        if (!EditDetectionLimit->text().trimmed().isEmpty())
            choices.detectionLimit = parsed(EditDetectionLimit->text(), separator);
        choices.weightRule = static_cast<WeightRule>(ComboBoxWeights->currentIndex());
        choices.weightTexts = table.weights();
        if (!GaussOrderGivesNodes(app_, dialogs_)) return;
        std::shared_ptr<FitSetup> setup;
        try {
            setup = SetUpFit(choices, observations, *model, app_.quadrature,
                             (app_.executableFolder + "valores.txt").toStdString(), separator);
        } catch (const FitRefusal& refusal) {
            dialogs_.error(messageText(refusal.message()));
            return;
        }
        FitSettings* settings = &setup->settings;
        const int startCount = CheckBoxSeveralStarts->isChecked() ? SpinBoxStarts->value() : 1;
        const auto seed = static_cast<std::uint64_t>(SpinBoxSeed->value());
        const std::optional<FitParameter> profiled =
            ComboBoxProfile->currentIndex() > 0 ? std::optional(static_cast<FitParameter>(ComboBoxProfile->currentData().toInt()))
                                                : std::nullopt;
        iterationBound_ = startCount > 1 ? startCount : setup->iterationBound();
        settings->progress = [this, startCount](int step, double objective) {
            task_.post([this, step, objective, startCount] {
                FitProgressBar->setValue(std::min(step, iterationBound_));
                const QString best = number(objective, app_.separator);
                FitProgressBar->setFormat(startCount > 1
                                              ? app_.text(AddedText::FitStartsProgress).arg(step).arg(startCount).arg(best)
                                              : text(FitText::Progress).arg(step).arg(best));
            });
            return !task_.stopRequested();
        };

        setRunning(true);
        FitProgressBar->setRange(0, iterationBound_);
        FitProgressBar->setValue(0);
        FitProgressBar->setFormat(text(FitText::Progress).arg(0).arg(QString()));
        task_.start<std::shared_ptr<FitRun>>(
            [this, observations, model, setup, startCount, seed, profiled](BackgroundTask&) {
                auto run = std::make_shared<FitRun>();
                if (startCount > 1) {
                    run->starts =
                        FitFromSeveralStarts(observations, *model, setup->quadrature, setup->settings, startCount, seed);
                    run->result = run->starts->best;
                } else {
                    run->result = FitObservations(observations, *model, setup->quadrature, setup->settings);
                }
                if (!profiled || !run->result.reachedEnd() || run->result.stop == FitStop::Cancelled) return run;
                // The profile's fits, counted while they run.
                setup->settings.progress = [this](int fits, double objective) {
                    task_.post([this, fits, objective] {
                        FitProgressBar->setRange(0, 0);
                        FitProgressBar->setFormat(
                            app_.text(AddedText::FitProfileProgress).arg(fits).arg(number(objective, app_.separator)));
                    });
                    return !task_.stopRequested();
                };
                try {
                    run->profile =
                        ProfileLikelihoodInterval(observations, setup->quadrature, setup->settings, run->result, *profiled);
                } catch (const FitCancelled&) {
                    run->result.stop = FitStop::Cancelled;
                } catch (const std::exception& error) {
                    run->profileFailure = error.what();
                }
                return run;
            },
            [this, observations](TaskOutcome<std::shared_ptr<FitRun>> outcome) {
                std::shared_ptr<FitRun> result;
                std::optional<FitMessage> refusal;
                QString failure;
                try {
                    result = outcome.get();
                } catch (const FitRefusal& error) {
                    refusal = error.message();
                } catch (const std::exception& error) {
                    failure = QString::fromUtf8(error.what());
                }
                finish(result, refusal, failure, observations);
            });
    });
}

void FitPanel::finish(std::shared_ptr<FitRun> run, std::optional<FitMessage> refusal, QString failure,
                      std::vector<Observation> observations)
{
    if (refusal || !failure.isEmpty()) {
        clearResult();
        dialogs_.error(refusal ? messageText(*refusal) : failure);
        return;
    }
    // Cancel pressed while the fit showed as running ends it as cancelled, also
    // when the worker had just finished: what the user gets does not depend on
    // how the threads happened to run.
    if (task_.stopRequested() && run->result.stop != FitStop::Cancelled) {
        run->result.stop = FitStop::Cancelled;
        run->profile.reset();
        run->profileFailure.clear();
    }
    result_ = std::make_shared<FitResult>(std::move(run->result));
    starts_ = std::move(run->starts);
    profile_ = run->profile;
    profileFailure_ = QString::fromStdString(run->profileFailure);
    showResult();
    setRunning(false);
    if (result_->stop != FitStop::Cancelled && result_->stop != FitStop::Failed && !result_->calculatedAfter.empty()) {
        Residuals->showResiduals(observations, *result_);
        showFitted_(observations, result_->calculatedAfter);
    }
}

void FitPanel::showResult()
{
    const FitResult& r = *result_;
    const char separator = app_.separator;
    // The bar ends full however the fit ended; its text says how.
    FitProgressBar->setRange(0, 1);
    FitProgressBar->setValue(1);
    FitProgressBar->setFormat(text(FitText::Ended).arg(r.iterations).arg(QString::fromStdString(StopText(texts_, r.stop))));
    const bool numbers = r.identifiable() && r.stop != FitStop::Cancelled && r.stop != FitStop::Failed;
    FittedValuesGrid->setRowCount(static_cast<int>(r.parameters.size()));
    for (std::size_t j = 0; j < r.parameters.size(); ++j) {
        const FittedParameter& p = r.parameters[j];
        // A value on a bound has no error or interval; the error's cell says which bound.
        const QString error = p.hasInterval()
                                  ? number(p.standardError, separator)
                                  : app_.text(p.bound == BoundReached::Lower ? AddedText::AtLowerBound : AddedText::AtUpperBound);
        const bool interval = numbers && p.hasInterval();
        const QString cells[6] = {parameterName(p.parameter),
                                  number(p.initial, separator),
                                  numbers ? number(p.value, separator) : QString(),
                                  numbers ? error : QString(),
                                  interval ? number(p.lower95, separator) : QString(),
                                  interval ? number(p.upper95, separator) : QString()};
        for (int column = 0; column < 6; ++column)
            FittedValuesGrid->setItem(static_cast<int>(j), column, new QTableWidgetItem(cells[column]));
    }
    FittedValuesGrid->resizeColumnsToContents();
    const double FitStatistics::*rows[4] = {&FitStatistics::objective, &FitStatistics::R2, &FitStatistics::MAE,
                                            &FitStatistics::RMSE};
    for (int row = 0; row < 4; ++row) {
        StatisticsGrid->setItem(row, 0, new QTableWidgetItem(number(r.before.*rows[row], separator)));
        const bool after = r.stop != FitStop::Cancelled && r.stop != FitStop::Failed;
        StatisticsGrid->setItem(row, 1, new QTableWidgetItem(after ? number(r.after.*rows[row], separator) : QString()));
    }
    QString notes;
    if (r.stop == FitStop::Cancelled || r.stop == FitStop::Failed) {
        notes = text(r.stop == FitStop::Cancelled ? FitText::Cancelled : FitText::Failed);
    } else if (!r.identifiable()) {
        notes = QString::fromStdString(
            NotIdentifiableText(texts_, r, [this](FitParameter p) { return parameterName(p).toStdString(); }));
    } else {
        notes = text(FitText::Intervals).arg(number(r.t975, separator)).arg(r.degreesOfFreedom) + "\n" +
                text(FitText::Correlations) + ":";
        // A value held by a bound has no correlation with the others: it is left out.
        for (std::size_t j = 0; j < r.parameters.size(); ++j) {
            if (!r.parameters[j].hasInterval()) continue;
            notes += "\n" + parameterName(r.parameters[j].parameter) + ":";
            for (std::size_t k = 0; k < r.parameters.size(); ++k)
                if (r.parameters[k].hasInterval())
                    notes += " " + QString::number(r.correlation[j][k], 'f', 3).replace('.', QChar(separator));
        }
    }
    LabelNotes->setText(notes);
    LabelDiagnostics->setText(diagnosticsText());
}

void FitPanel::cancelFit()
{
    task_.requestStop();
}

void FitPanel::applyFittedValues()
{
    if (!result_ || !result_->identifiable()) return;
    undo_.clear();
    undoSource_.reset();
    ParameterTexts fitted = app_.texts;
    for (const FittedParameter& p : result_->parameters) {
        const int field = InfoOf(p.parameter).edit;
        if (field < 0) {
            WriteFittedValue(fitted, p.parameter, p.value, app_.separator);
            continue;
        }
        QLineEdit* edit = app_.windows.dados->Edit[static_cast<std::size_t>(field)];
        undo_.emplace_back(field, edit->text());
        edit->setText(QString::fromStdString(RoundTripText(p.value, app_.separator)));
        edit->setCursorPosition(0);  // a long value reads from its first digit
    }
    if (fitted.source != app_.texts.source) {
        undoSource_ = app_.texts.source;
        app_.windows.dados->setSourceTexts(fitted.source);
    }
    setRunning(false);
}

void FitPanel::undoApply()
{
    for (const auto& [edit, previous] : undo_) {
        app_.windows.dados->Edit[static_cast<std::size_t>(edit)]->setText(previous);
        app_.windows.dados->Edit[static_cast<std::size_t>(edit)]->setCursorPosition(0);
    }
    undo_.clear();
    if (undoSource_) app_.windows.dados->setSourceTexts(*std::exchange(undoSource_, std::nullopt));
    setRunning(false);
}

}  // namespace kavrin
