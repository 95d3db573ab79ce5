#include "project/TFormDados.h"

#include "files/ProjectFile.h"
#include "frame/TFormPrincipal.h"
#include "gui/CommandRunner.h"
#include "gui/NamedWidget.h"
#include "model/SourceTextRules.h"
#include "model/Variaveis.h"
#include "source/SourceWindow.h"
#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavrin {

namespace {

struct Row {
    int edit;
    const char* label;
    const char* caption;
};

// The rows of each group, in the window's order, with the label of each edit.
const Row kGeometry[] = {
    {2, "Label2", "Dimensão da fonte em Y (m):"},
    {3, "Label3", "Dimensão da fonte em Z (m):"},
    {4, "Label4", "Localização vertical de Z (m):"},
    {5, "Label5", "Posição inicial de X (m):"},
    {6, "Label6", "Posição final de X (m):"},
    {7, "Label7", "DX (m):"},
    {10, "Label10", "Posição inicial de Y (m):"},
    {8, "Label8", "Posição final de Y (m):"},
    {9, "Label9", "DY (m):"},
    {11, "Label13", "Tempo inicial (dias):"},
    {12, "Label12", "Tempo final (dias):"},
    {13, "Label11", "DT (dias):"},
};
const Row kTransport[] = {
    {1, "Label1", "Concentração na Fonte (mg/L):"},
    {14, "Label14", "Coef. de dispersão em X (m):"},
    {15, "Label15", "Coef. de dispersão em Y (m):"},
    {16, "Label16", "Coef. de dispersão em  Z (m):"},
    {18, "Label18", "Kxx (m/dia):"},
    {19, "Label19", "Gradiente de H em X:"},
    {20, "Label20", "Fator de retardamento:"},
    {17, "Label17", "Porosidade efetiva:"},
    {21, "Label21", "Taxa de decaimento (dias-1):"},
};

// The label beside control `edit` (0: ComboBox1).
QString labelOf(int edit)
{
    for (const Row& row : kGeometry)
        if (row.edit == edit) return row.label;
    for (const Row& row : kTransport)
        if (row.edit == edit) return row.label;
    return QStringLiteral("Label22");
}

}  // namespace

TFormDados::TFormDados(AppState& app, Dialogs& dialogs)
    : ComboBox1(new QComboBox(this)), SourceButton(new QPushButton(app.text(AddedText::SourceWindowCaption), this)), app_(app),
      dialogs_(dialogs)
{
    setObjectName("TFormDados");
    setWindowTitle("Dados do Projeto");
    const ParameterTexts initial = InitialParameterTexts();

    auto group = [&](const char* name, const char* title, const auto& rows) {
        auto* box = new QGroupBox(QString::fromUtf8(title), this);
        box->setObjectName(name);
        auto* form = new QFormLayout(box);
        form->setLabelAlignment(Qt::AlignRight);
        for (const Row& row : rows) {
            auto* edit = new QLineEdit(QString::fromStdString(initial.edit[static_cast<std::size_t>(row.edit)]), box);
            edit->setObjectName(QString("Edit%1").arg(row.edit));
            edit->setFixedWidth(110);
            Edit[static_cast<std::size_t>(row.edit)] = edit;
            form->addRow(NamedWidget<QLabel>(box, row.label, QString::fromUtf8(row.caption)), edit);
        }
        return box;
    };
    QGroupBox* geometry = group("GroupBox3", "Geometria do Modelo", kGeometry);
    QGroupBox* transport = group("GroupBox4", "Parâmetros de Transporte", kTransport);

    auto* integration = new QGroupBox(QString::fromUtf8("Integração Numérica"), this);
    integration->setObjectName("GroupBox1");
    auto* order = new QFormLayout(integration);
    order->setLabelAlignment(Qt::AlignRight);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->addItems({"4", "20", "60", "104", "256"});
    ComboBox1->setCurrentText("60");
    ComboBox1->setFixedWidth(110);
    order->addRow(NamedWidget<QLabel>(integration, "Label22", QString::fromUtf8("Nº de intervalos:")), ComboBox1);

    app_.texts = initial;
    for (int n = 1; n <= 21; ++n) {
        QLineEdit* edit = Edit[static_cast<std::size_t>(n)];
        // The texts follow every change first, so that handlers and commands read them.
        connect(edit, &QLineEdit::textChanged, this,
                [this, n](const QString& text) { app_.texts.edit[static_cast<std::size_t>(n)] = text.toStdString(); });
        edit->installEventFilter(this);
        if (n == 8 || n == 10) connect(edit, &QLineEdit::textChanged, this, [this, n] { EditChange(n); });
    }
    connect(ComboBox1, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { app_.texts.comboBox1 = text.toStdString(); });
    connect(ComboBox1, &QComboBox::editTextChanged, this, &TFormDados::ComboBox1Change);

    showRetardationHint();
    SourceButton->setObjectName("SourceButton");
    connect(SourceButton, &QPushButton::clicked, this, [this] { ShowSourceWindow(app_); });

    auto* right = new QVBoxLayout;
    right->addWidget(transport);
    right->addWidget(integration);
    right->addWidget(SourceButton, 0, Qt::AlignRight);
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(geometry, 0, Qt::AlignTop);
    layout->addLayout(right);
    setFixedSize(sizeHint());
}

const ParameterTexts& TFormDados::texts() const
{
    return app_.texts;
}

void TFormDados::setTexts(const ParameterTexts& texts)
{
    showing_ = true;
    for (int n = 1; n <= 21; ++n) {
        const QString text = QString::fromStdString(texts.edit[static_cast<std::size_t>(n)]);
        if (Edit[static_cast<std::size_t>(n)]->text() != text) Edit[static_cast<std::size_t>(n)]->setText(text);
    }
    const QString order = QString::fromStdString(texts.comboBox1);
    if (ComboBox1->currentText() != order) ComboBox1->setCurrentText(order);
    showing_ = false;
}

void TFormDados::setSourceTexts(const SourceTexts& texts)
{
    app_.texts.source = texts;
    if (app_.windows.source) app_.windows.source->showTexts(texts);
    emit sourceTextsChanged();
}

void TFormDados::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    SourceButton->setText(app_.text(AddedText::SourceWindowCaption));
    showRetardationHint();
}

void TFormDados::showRetardationHint()
{
    // As a paragraph, so that the tooltip wraps instead of running off the screen.
    Edit[20]->setToolTip("<p>" + app_.text(AddedText::RetardationHint).toHtmlEscaped() + "</p>");
}

void TFormDados::EditChange(int edit)
{
    if (showing_) return;
    ParameterTexts current = texts();
    RunCommand(dialogs_, [&] { ControlTextChanged(current, edit, app_.separator); });
    setTexts(current);
}

void TFormDados::EditExit(int edit)
{
    ParameterTexts current = texts();
    RunCommand(dialogs_, [&] {
        try {
            ApplyExitRule(current, edit, app_.model, app_.separator);
        } catch (const ConversionError& error) {
            setTexts(current);
            failAtField(edit, error);
        }
    });
    setTexts(current);
}

QString TFormDados::fieldCaption(int edit) const
{
    QString caption;
    if (const auto* shown = findChild<QLabel*>(labelOf(edit))) caption = shown->text().remove('&');
    while (caption.endsWith(':') || caption.endsWith(' ')) caption.chop(1);
    return caption;
}

void TFormDados::focusField(int edit)
{
    QWidget* field = edit == 0 ? static_cast<QWidget*>(ComboBox1) : static_cast<QWidget*>(Edit[static_cast<std::size_t>(edit)]);
    field->setFocus(Qt::OtherFocusReason);
}

void TFormDados::failAtField(int edit, const ConversionError& error)
{
    const QString caption = fieldCaption(edit);
    focusField(edit);
    throw ConversionError(std::string(error.what()) + " — " + caption.toStdString());
}

void TFormDados::convertTexts(ModelState& model)
{
    try {
        Variaveis(texts(), model, app_.separator);
    } catch (const ConversionError& error) {
        // The fields in the order the model takes them: the first that fails is the one.
        for (const ParameterField& field : kParameterFields) {
            try {
                ParseFloat(ArrumaDecimal(texts().edit[static_cast<std::size_t>(field.edit)], app_.separator), app_.separator);
            } catch (const ConversionError&) {
                failAtField(field.edit, error);
            }
        }
        failAtField(0, error);
    }
}

void TFormDados::ComboBox1Change()
{
    if (showing_) return;
    RunCommand(dialogs_, [this] { app_.model.GaussOrder = ParseInteger(ComboBox1->currentText().toStdString()); });
}

bool TFormDados::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        // Leaving the box for another control of the program; switching to
        // another application or opening a menu is not leaving it.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            for (int n = 1; n <= 21; ++n)
                if (watched == Edit[static_cast<std::size_t>(n)]) EditExit(n);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFormDados::openproject(const QString& path)
{
    app_.commandLine.OpenCommandLineProject = false;
    // Everything is read and converted before anything changes: a file that
    // is not a project leaves the window, the project and the results as they were.
    const ProjectFileContents contents = ReadProjectFile(path.toStdString());
    ParameterTexts current = texts();
    ApplyProjectTexts(current, contents, app_.separator);
    // Source options this project's own grid cannot take are refused in the program's language.
    if (const auto refusal = CheckSourceTexts(current, app_.separator); refusal && app_.windows.source)
        throw CheckError(app_.windows.source->refusalText(*refusal, &current).toStdString());
    ModelState model = app_.model;
    Variaveis(current, model, app_.separator);

    setTexts(current);
    setSourceTexts(current.source);
    app_.model = model;
    app_.project.ProjectName = contents.projectName;
    app_.project.ProjectIndexPath = contents.indexPath;
    // A project saved before any run (a fitted one, say) names no results.
    app_.project.ResultsExist = !contents.indexPath.empty();
    app_.project.ProjectSaved = true;  // the file on disk points to these results
    app_.resultsTexts = current;
}

void TFormDados::ClearDados()
{
    ParameterTexts current = texts();
    for (const ParameterField& field : kParameterFields)
        SetControlText(current, field.edit, ArrumaDecimal(field.newProjectText, app_.separator), app_.separator);
    setTexts(current);
    // A new project starts from the source as it has always been.
    setSourceTexts({});
}

void TFormDados::FormShow()
{
    if (app_.commandLine.OpenCommandLineProject)
        RunCommand(dialogs_, [this] { openproject(app_.commandLine.CommandLineProject); });
    RunCommand(dialogs_, [this] {
        ParameterTexts current = texts();
        ArrumaCampos(current, app_.separator);
        setTexts(current);
        Variaveis(current, app_.model, app_.separator);
    });
    if (app_.windows.principal) app_.windows.principal->showProjectName();
}

void TFormDados::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

}  // namespace kavrin
