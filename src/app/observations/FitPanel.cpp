#include "observations/FitPanel.h"

#include "calibration/FitSetup.h"
#include "fit/ParameterFit.h"
#include "gui/CommandRunner.h"
#include "gui/NamedWidget.h"
#include "model/Variaveis.h"
#include "observations/TObservacao.h"
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
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <cmath>

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

// The shortest text that reads back as the same double, with the user's separator.
QString roundTripText(double value, char separator)
{
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return QString::fromLatin1(text, static_cast<int>(end - text)).replace('e', 'E').replace('.', QChar(separator));
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
    for (std::size_t i = 0; i < kFitParameters.size(); ++i) {
        const QString name = QString("CheckBoxFit%1").arg(i + 1);
        CheckBoxes[i] = NamedWidget<QCheckBox>(this, name.toUtf8().constData(), QString::fromUtf8(kFitParameters[i].name));
        LowerEdits[i] = NamedWidget<QLineEdit>(this, QString("EditLower%1").arg(i + 1).toUtf8().constData(), QString());
        UpperEdits[i] = NamedWidget<QLineEdit>(this, QString("EditUpper%1").arg(i + 1).toUtf8().constData(), QString());
        LowerEdits[i]->setMinimumWidth(80);
        UpperEdits[i]->setMinimumWidth(80);
        const int row = static_cast<int>(i) + 1;
        bounds->addWidget(CheckBoxes[i], row, 0);
        bounds->addWidget(LowerEdits[i], row, 1);
        bounds->addWidget(UpperEdits[i], row, 2);
        connect(CheckBoxes[i], &QCheckBox::toggled, this, [this, i](bool on) {
            if (on) fillDefaultBounds(static_cast<int>(i));
        });
    }
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
    auto* left = new QVBoxLayout;
    left->addLayout(bounds);
    left->addLayout(limit);
    left->addLayout(weights);
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
    auto* right = new QVBoxLayout;
    right->addLayout(tables, 1);
    right->addLayout(applyRow);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(fitButton_, &QPushButton::clicked, this, &FitPanel::startFit);
    connect(cancelButton_, &QPushButton::clicked, this, &FitPanel::cancelFit);
    connect(applyButton_, &QPushButton::clicked, this, &FitPanel::applyFittedValues);
    connect(undoButton_, &QPushButton::clicked, this, &FitPanel::undoApply);
    applyLanguage({}, true);
    setRunning(false);
}

// The task's own destruction stops the fit and waits for it.
FitPanel::~FitPanel() = default;

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
    if (result_) showResult();
}

void FitPanel::changeEvent(QEvent* event)
{
    // The data window's captions have changed with the language.
    if (event->type() == QEvent::LanguageChange) {
        showParameterNames();
        if (result_) showResult();
    }
    QGroupBox::changeEvent(event);
}

QString FitPanel::parameterName(FitParameter parameter) const
{
    const QString caption = app_.windows.dados ? app_.windows.dados->fieldCaption(InfoOf(parameter).edit) : QString();
    return caption.isEmpty() ? QString::fromUtf8(InfoOf(parameter).name) : caption;
}

void FitPanel::showParameterNames()
{
    for (std::size_t i = 0; i < kFitParameters.size(); ++i) CheckBoxes[i]->setText(parameterName(kFitParameters[i].parameter));
}

QString FitPanel::messageText(const FitMessage& message) const
{
    FitMessage named = message;
    for (std::string& argument : named.arguments)
        if (const std::optional<FitParameter> parameter = FitParameterOfName(argument))
            argument = parameterName(*parameter).toStdString();
    return QString::fromStdString(RefusalText(texts_, named));
}

void FitPanel::clearResult()
{
    result_.reset();
    FittedValuesGrid->setRowCount(0);
    for (int row = 0; row < StatisticsGrid->rowCount(); ++row)
        for (int column = 0; column < StatisticsGrid->columnCount(); ++column) delete StatisticsGrid->takeItem(row, column);
    LabelNotes->clear();
    FitProgressBar->setRange(0, 1);
    FitProgressBar->setValue(0);
    FitProgressBar->setFormat(QString());
    setRunning(running());
}

void FitPanel::fillDefaultBounds(int index)
{
    const FitParameterInfo& info = kFitParameters[static_cast<std::size_t>(index)];
    const QString current = app_.windows.dados->Edit[static_cast<std::size_t>(info.edit)]->text();
    try {
        const FitBounds bounds = DefaultBounds(info.parameter, parsed(current, app_.separator));
        LowerEdits[static_cast<std::size_t>(index)]->setText(QString::fromStdString(FormatGeneral(bounds.lower, app_.separator)));
        UpperEdits[static_cast<std::size_t>(index)]->setText(QString::fromStdString(FormatGeneral(bounds.upper, app_.separator)));
    } catch (const KavrinError&) {
        // The data window's text is not a number yet; the fit will report it.
    }
}

void FitPanel::setRunning(bool running)
{
    fitButton_->setEnabled(!running);
    cancelButton_->setEnabled(running);
    applyButton_->setEnabled(!running && result_ && result_->identifiable() && result_->stop != FitStop::Cancelled);
    undoButton_->setEnabled(!running && !undo_.empty());
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
        for (std::size_t i = 0; i < kFitParameters.size(); ++i) {
            if (!CheckBoxes[i]->isChecked()) continue;
            if (LowerEdits[i]->text().isEmpty() || UpperEdits[i]->text().isEmpty()) fillDefaultBounds(static_cast<int>(i));
            choices.parameters.push_back(kFitParameters[i].parameter);
            choices.bounds.push_back(
                FitBounds{parsed(LowerEdits[i]->text(), separator), parsed(UpperEdits[i]->text(), separator)});
        }
        choices.logResiduals = CheckBoxLog->isChecked();
        if (!EditDetectionLimit->text().trimmed().isEmpty())
            choices.detectionLimit = parsed(EditDetectionLimit->text(), separator);
        choices.weightRule = static_cast<WeightRule>(ComboBoxWeights->currentIndex());
        choices.weightTexts = table.weights();
        std::shared_ptr<FitSetup> setup;
        try {
            setup = SetUpFit(choices, observations, *model, app_.quadrature,
                             (app_.executableFolder + "valores.txt").toStdString(), separator);
        } catch (const FitRefusal& refusal) {
            dialogs_.error(messageText(refusal.message()));
            return;
        }
        FitSettings* settings = &setup->settings;
        iterationBound_ = setup->iterationBound();
        settings->progress = [this](int iteration, double objective) {
            task_.post([this, iteration, objective] {
                FitProgressBar->setValue(std::min(iteration, iterationBound_));
                FitProgressBar->setFormat(text(FitText::Progress).arg(iteration).arg(number(objective, app_.separator)));
            });
            return !task_.stopRequested();
        };

        setRunning(true);
        FitProgressBar->setRange(0, iterationBound_);
        FitProgressBar->setValue(0);
        FitProgressBar->setFormat(text(FitText::Progress).arg(0).arg(QString()));
        task_.start<std::shared_ptr<FitResult>>(
            [observations, model, setup](BackgroundTask&) {
                return std::make_shared<FitResult>(FitObservations(observations, *model, setup->quadrature, setup->settings));
            },
            [this, observations](TaskOutcome<std::shared_ptr<FitResult>> outcome) {
                std::shared_ptr<FitResult> result;
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

void FitPanel::finish(std::shared_ptr<FitResult> result, std::optional<FitMessage> refusal, QString failure,
                      std::vector<Observation> observations)
{
    if (refusal || !failure.isEmpty()) {
        clearResult();
        dialogs_.error(refusal ? messageText(*refusal) : failure);
        return;
    }
    result_ = result;
    showResult();
    setRunning(false);
    if (result_->stop != FitStop::Cancelled && result_->stop != FitStop::Failed && !result_->calculatedAfter.empty())
        showFitted_(observations, result_->calculatedAfter);
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
}

void FitPanel::cancelFit()
{
    task_.requestStop();
}

void FitPanel::applyFittedValues()
{
    if (!result_ || !result_->identifiable()) return;
    undo_.clear();
    for (const FittedParameter& p : result_->parameters) {
        QLineEdit* edit = app_.windows.dados->Edit[static_cast<std::size_t>(InfoOf(p.parameter).edit)];
        undo_.emplace_back(InfoOf(p.parameter).edit, edit->text());
        edit->setText(roundTripText(p.value, app_.separator));
        edit->setCursorPosition(0);  // a long value reads from its first digit
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
    setRunning(false);
}

}  // namespace kavrin
