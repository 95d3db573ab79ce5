#include "observations/FitPanel.h"

#include "CommandRunner.h"
#include "NamedWidget.h"
#include "calibration/ObservationWeights.h"
#include "model/Variaveis.h"
#include "project/TFormDados.h"
#include "solution/Parallel.h"
#include "text/DecimalSeparator.h"
#include "text/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
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
#include <cmath>

namespace kavrin {

namespace {

// Lines 126 … 151 of the language files, Portuguese and English: the texts
// of files that stop before them, and the lines tools/language-files.py
// writes into the files.
constexpr int kPanelLines = 26;
const char* const kBuiltIn[2][kPanelLines] = {
    {"Ajuste automático dos parâmetros", "Mínimo", "Máximo", "Resíduos em log10 da concentração",
     "Limite de detecção (mg/L):", "Ajustar", "Cancelar ajuste", "Aplicar à janela de dados", "Desfazer aplicação",
     "Parâmetro|Inicial|Ajustado|Erro padrão|Mínimo 95 %|Máximo 95 %", "Objetivo|R²|EMA (mg/L)|REQM (mg/L)|Antes|Depois",
     "Iteração %1, objetivo %2", "%1 iterações; %2", "convergiu|limite de iterações atingido|cancelado|falhou",
     "As observações não determinam os parâmetros ajustados:", "%1 não influencia as observações",
     "%1 e %2 têm correlação acima de 0,99", "Ajuste menos parâmetros ou acrescente observações que os distingam.",
     "Correlações", "Intervalos de 95 % com t de Student = %1 e %2 graus de liberdade", "Pesos:",
     "da coluna Peso|relativos: Peso / C²", "     Peso", "Ajuste cancelado; nada foi alterado.",
     "O ajuste falhou: o modelo não pode ser avaliado perto destes valores.",
     "os efeitos dos parâmetros sobre as observações dependem uns dos outros"},
    {"Automatic parameter fit", "Lower bound", "Upper bound", "Residuals on log10 concentrations",
     "Detection limit (mg/L):", "Fit", "Cancel fit", "Apply to the data window", "Undo apply",
     "Parameter|Initial|Fitted|Std. error|Lower 95 %|Upper 95 %", "Objective|R²|MAE (mg/L)|RMSE (mg/L)|Before|After",
     "Iteration %1, objective %2", "%1 iterations; %2", "converged|iteration limit reached|cancelled|failed",
     "The observations cannot determine the fitted parameters:", "%1 has no influence on them",
     "%1 and %2 are correlated beyond 0.99", "Fit fewer parameters or add observations that separate them.",
     "Correlations", "95 % intervals from Student's t = %1 with %2 degrees of freedom", "Weights:",
     "from the Weight column|relative: Weight / C²", "     Weight", "Fit cancelled; nothing was changed.",
     "The fit failed: the model cannot be evaluated near these values.",
     "their effects on the observations depend on each other"},
};

// Lines 152 … 162: the refusals in FitMessageId's order, in Portuguese (the
// generator copies them too); the English ones are the core's own texts.
const char* const kPortugueseRefusals[kFitMessageCount] = {
    "Escolha ao menos um parâmetro para ajustar",
    "Cada parâmetro ajustado precisa de seus limites",
    "%1 foi escolhido duas vezes",
    "Os limites de %1 devem ter o mínimo abaixo do máximo",
    "O limite mínimo de %1 deve ser maior que zero",
    "O valor atual de %1 está fora de seus limites",
    "Um ajuste de %1 parâmetros precisa de mais de %1 observações",
    "Resíduos em log10 precisam de um limite de detecção quando uma observação é zero ou menor",
    "Resíduos em log10 precisam de um limite de detecção: o modelo dá zero em algumas observações",
    "O peso da observação %1 (\"%2\") deve ser um número maior que zero",
    "Pesos relativos precisam da observação %1 acima de zero (ou de um limite de detecção)",
};
static_assert(kPanelLines + kFitMessageCount == FitPanel::kLanguageLines);

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
    setObjectName("GroupBox3");
    // Three groups of three parameters side by side, each with its bounds.
    auto* bounds = new QGridLayout;
    for (int group = 0; group < 3; ++group) {
        bounds->addWidget(NamedWidget<QLabel>(this, QString("Label12_%1").arg(group).toUtf8().constData(), QString()), 0, 3 * group + 1);
        bounds->addWidget(NamedWidget<QLabel>(this, QString("Label13_%1").arg(group).toUtf8().constData(), QString()), 0, 3 * group + 2);
    }
    for (std::size_t i = 0; i < kFitParameters.size(); ++i) {
        const QString name = QString("CheckBoxFit%1").arg(i + 1);
        CheckBoxes[i] = NamedWidget<QCheckBox>(this, name.toUtf8().constData(), QString::fromUtf8(kFitParameters[i].name));
        LowerEdits[i] = NamedWidget<QLineEdit>(this, QString("EditLower%1").arg(i + 1).toUtf8().constData(), QString());
        UpperEdits[i] = NamedWidget<QLineEdit>(this, QString("EditUpper%1").arg(i + 1).toUtf8().constData(), QString());
        LowerEdits[i]->setFixedWidth(62);
        UpperEdits[i]->setFixedWidth(62);
        const int row = static_cast<int>(i) % 3 + 1, column = 3 * (static_cast<int>(i) / 3);
        bounds->addWidget(CheckBoxes[i], row, column);
        bounds->addWidget(LowerEdits[i], row, column + 1);
        bounds->addWidget(UpperEdits[i], row, column + 2);
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
    limit->addWidget(NamedWidget<QLabel>(this, "Label14", QString()));
    limit->addWidget(EditDetectionLimit);
    limit->addStretch();
    ComboBoxWeights = new QComboBox(this);
    ComboBoxWeights->setObjectName("ComboBoxWeights");
    auto* weights = new QHBoxLayout;
    weights->addWidget(NamedWidget<QLabel>(this, "Label15", QString()));
    weights->addWidget(ComboBoxWeights);
    weights->addStretch();
    fitButton_ = NamedWidget<QPushButton>(this, "BitBtn7", QString());
    cancelButton_ = NamedWidget<QPushButton>(this, "BitBtn8", QString());
    applyButton_ = NamedWidget<QPushButton>(this, "BitBtn9", QString());
    undoButton_ = NamedWidget<QPushButton>(this, "BitBtn10", QString());
    auto* run = new QHBoxLayout;
    run->addWidget(fitButton_);
    run->addWidget(cancelButton_);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setTextVisible(true);
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    ProgressBar1->setFormat(QString());
    run->addWidget(ProgressBar1, 1);
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

    StringGrid2 = new QTableWidget(0, 6, this);
    StringGrid2->setObjectName("StringGrid2");
    StringGrid3 = new QTableWidget(4, 2, this);
    StringGrid3->setObjectName("StringGrid3");
    for (QTableWidget* grid : {StringGrid2, StringGrid3}) {
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->verticalHeader()->setDefaultSectionSize(22);
    }
    StringGrid2->verticalHeader()->hide();
    StringGrid3->setFixedWidth(300);
    StringGrid3->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    StringGrid2->setMinimumSize(400, 130);
    auto* tables = new QHBoxLayout;
    tables->addWidget(StringGrid2, 1);
    tables->addWidget(StringGrid3);
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

    connect(fitButton_, &QPushButton::clicked, this, &FitPanel::BitBtn7Click);
    connect(cancelButton_, &QPushButton::clicked, this, &FitPanel::BitBtn8Click);
    connect(applyButton_, &QPushButton::clicked, this, &FitPanel::BitBtn9Click);
    connect(undoButton_, &QPushButton::clicked, this, &FitPanel::BitBtn10Click);
    applyLanguage({}, true);
    setRunning(false);
}

FitPanel::~FitPanel()
{
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

void FitPanel::applyLanguage(const QStringList& lines, bool portuguese)
{
    for (int i = 0; i < kLanguageLines; ++i) {
        const QString given = i < lines.size() ? lines[i] : QString();
        const char* builtIn = i < kPanelLines ? kBuiltIn[portuguese ? 0 : 1][i]
                            : portuguese      ? kPortugueseRefusals[i - kPanelLines]
                                              : EnglishFitTemplate(static_cast<FitMessageId>(i - kPanelLines));
        texts_[static_cast<std::size_t>(i)] = given.isEmpty() ? QString::fromUtf8(builtIn) : given;
    }
    setTitle(text(126));
    for (int group = 0; group < 3; ++group) {
        findChild<QLabel*>(QString("Label12_%1").arg(group))->setText(text(127));
        findChild<QLabel*>(QString("Label13_%1").arg(group))->setText(text(128));
    }
    CheckBoxLog->setText(text(129));
    findChild<QLabel*>("Label14")->setText(text(130));
    fitButton_->setText(text(131));
    cancelButton_->setText(text(132));
    applyButton_->setText(text(133));
    undoButton_->setText(text(134));
    findChild<QLabel*>("Label15")->setText(text(146));
    const int rule = std::max(ComboBoxWeights->currentIndex(), 0);
    ComboBoxWeights->clear();
    ComboBoxWeights->addItems(text(147).split('|'));
    ComboBoxWeights->setCurrentIndex(rule);
    StringGrid2->setHorizontalHeaderLabels(text(135).split('|'));
    const QStringList statistics = text(136).split('|');
    StringGrid3->setVerticalHeaderLabels(statistics.mid(0, 4));
    StringGrid3->setHorizontalHeaderLabels(statistics.mid(4, 2));
    if (result_) showResult();
}

QString FitPanel::messageText(const FitMessage& message) const
{
    const QString shown = text(kPanelLines + kFirstLanguageLine + static_cast<int>(message.id));
    QStringList arguments;
    for (const std::string& argument : message.arguments) arguments << QString::fromStdString(argument);
    // One pass over the markers, so an argument's own "%1" stays as it is.
    switch (arguments.size()) {
    case 0: return shown;
    case 1: return shown.arg(arguments[0]);
    default: return shown.arg(arguments[0], arguments[1]);
    }
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

void FitPanel::BitBtn7Click()
{
    if (running()) return;
    RunCommand(dialogs_, [this] {
        const char separator = app_.separator;
        const ObservationTable& table = table_();
        std::vector<Observation> observations;
        try {
            observations = ReadObservations(table.observations(), separator);
        } catch (const ObservationsIncomplete&) {
            dialogs_.notice(app_.messages.MsgObservationsIncomplete);
            return;
        }
        auto model = std::make_shared<ModelState>();
        Variaveis(app_.windows.dados->texts(), *model, separator);
        auto quadrature = std::make_shared<QuadratureState>(app_.quadrature);
        const std::string valores = (app_.executableFolder + "valores.txt").toStdString();
        LoadGaussOrder(*quadrature, model->GaussOrder, valores, separator);
        auto coarse = std::make_shared<QuadratureState>();
        if (quadrature->GaussN > 60) LoadGaussOrder(*coarse, 60, valores, separator);

        auto settings = std::make_shared<FitSettings>();
        for (std::size_t i = 0; i < kFitParameters.size(); ++i) {
            if (!CheckBoxes[i]->isChecked()) continue;
            if (LowerEdits[i]->text().isEmpty() || UpperEdits[i]->text().isEmpty()) fillDefaultBounds(static_cast<int>(i));
            settings->parameters.push_back(kFitParameters[i].parameter);
            settings->bounds.push_back({parsed(LowerEdits[i]->text(), separator), parsed(UpperEdits[i]->text(), separator)});
        }
        settings->logResiduals = CheckBoxLog->isChecked();
        if (!EditDetectionLimit->text().trimmed().isEmpty()) settings->detectionLimit = parsed(EditDetectionLimit->text(), separator);
        try {
            settings->weights = ObservationWeights(table.weights(), observations, static_cast<WeightRule>(ComboBoxWeights->currentIndex()),
                                                   settings->detectionLimit, separator);
        } catch (const FitRefusal& refusal) {
            dialogs_.error(messageText(refusal.message()));
            return;
        }
        settings->workers = WorkerCount();
        if (quadrature->GaussN > 60) settings->coarseQuadrature = coarse.get();
        iterationBound_ = settings->maxIterations * (settings->coarseQuadrature ? 2 : 1);
        cancel_ = false;
        settings->progress = [this](int iteration, double objective) {
            QMetaObject::invokeMethod(this, [this, iteration, objective] {
                if (!running()) return;
                ProgressBar1->setValue(std::min(iteration, iterationBound_));
                ProgressBar1->setFormat(text(137).arg(iteration).arg(number(objective, app_.separator)));
            }, Qt::QueuedConnection);
            return !cancel_;
        };

        if (worker_.joinable()) worker_.join();
        finished_ = false;
        setRunning(true);
        ProgressBar1->setRange(0, iterationBound_);
        ProgressBar1->setValue(0);
        ProgressBar1->setFormat(text(137).arg(0).arg(QString()));
        worker_ = std::thread([this, observations, model, quadrature, coarse, settings] {
            std::shared_ptr<FitResult> result;
            std::optional<FitMessage> refusal;
            QString failure;
            try {
                result = std::make_shared<FitResult>(FitObservations(observations, *model, *quadrature, *settings));
            } catch (const FitRefusal& error) {
                refusal = error.message();
            } catch (const std::exception& error) {
                failure = QString::fromUtf8(error.what());
            }
            QMetaObject::invokeMethod(
                this, [this, result, refusal, failure, observations] { finish(result, refusal, failure, observations); },
                Qt::QueuedConnection);
        });
    });
}

void FitPanel::finish(std::shared_ptr<FitResult> result, std::optional<FitMessage> refusal, QString failure,
                      std::vector<Observation> observations)
{
    finished_ = true;
    if (worker_.joinable()) worker_.join();
    if (refusal || !failure.isEmpty()) {
        ProgressBar1->setRange(0, 1);
        ProgressBar1->setValue(0);
        ProgressBar1->setFormat(QString());
        setRunning(false);
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
    const QStringList stops = text(139).split('|');
    // The bar ends full however the fit ended; its text says how.
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(1);
    ProgressBar1->setFormat(text(138).arg(r.iterations).arg(stops.value(static_cast<int>(r.stop))));
    const bool numbers = r.identifiable() && r.stop != FitStop::Cancelled && r.stop != FitStop::Failed;
    StringGrid2->setRowCount(static_cast<int>(r.parameters.size()));
    for (std::size_t j = 0; j < r.parameters.size(); ++j) {
        const FittedParameter& p = r.parameters[j];
        const QString cells[6] = {QString::fromUtf8(InfoOf(p.parameter).name), number(p.initial, separator),
                                  numbers ? number(p.value, separator) : QString(), numbers ? number(p.standardError, separator) : QString(),
                                  numbers ? number(p.lower95, separator) : QString(), numbers ? number(p.upper95, separator) : QString()};
        for (int column = 0; column < 6; ++column)
            StringGrid2->setItem(static_cast<int>(j), column, new QTableWidgetItem(cells[column]));
    }
    StringGrid2->resizeColumnsToContents();
    const double FitStatistics::*rows[4] = {&FitStatistics::objective, &FitStatistics::R2, &FitStatistics::MAE, &FitStatistics::RMSE};
    for (int row = 0; row < 4; ++row) {
        StringGrid3->setItem(row, 0, new QTableWidgetItem(number(r.before.*rows[row], separator)));
        const bool after = r.stop != FitStop::Cancelled && r.stop != FitStop::Failed;
        StringGrid3->setItem(row, 1, new QTableWidgetItem(after ? number(r.after.*rows[row], separator) : QString()));
    }
    QString notes;
    if (r.stop == FitStop::Cancelled || r.stop == FitStop::Failed) {
        notes = text(r.stop == FitStop::Cancelled ? 149 : 150);
    } else if (!r.identifiable()) {
        QStringList reasons;
        for (FitParameter parameter : r.noInfluence) reasons << text(141).arg(QString::fromUtf8(InfoOf(parameter).name));
        for (const auto& [a, b] : r.correlated)
            reasons << text(142).arg(QString::fromUtf8(InfoOf(a).name), QString::fromUtf8(InfoOf(b).name));
        if (reasons.isEmpty()) reasons << text(151);
        notes = text(140) + " " + reasons.join("; ") + ". " + text(143);
    } else {
        notes = text(145).arg(number(r.t975, separator)).arg(r.degreesOfFreedom) + "\n" + text(144) + ":";
        for (std::size_t j = 0; j < r.parameters.size(); ++j) {
            notes += "\n" + QString::fromUtf8(InfoOf(r.parameters[j].parameter).name) + ":";
            for (double c : r.correlation[j]) notes += " " + QString::number(c, 'f', 3).replace('.', QChar(separator));
        }
    }
    LabelNotes->setText(notes);
}

void FitPanel::BitBtn8Click()
{
    cancel_ = true;
}

void FitPanel::BitBtn9Click()
{
    if (!result_ || !result_->identifiable()) return;
    undo_.clear();
    for (const FittedParameter& p : result_->parameters) {
        QLineEdit* edit = app_.windows.dados->Edit[static_cast<std::size_t>(InfoOf(p.parameter).edit)];
        undo_.emplace_back(InfoOf(p.parameter).edit, edit->text());
        edit->setText(QString::fromStdString(FormatGeneral(p.value, app_.separator)));
    }
    setRunning(false);
}

void FitPanel::BitBtn10Click()
{
    for (const auto& [edit, previous] : undo_) app_.windows.dados->Edit[static_cast<std::size_t>(edit)]->setText(previous);
    undo_.clear();
    setRunning(false);
}

}  // namespace kavrin
