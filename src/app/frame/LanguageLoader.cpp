#include "frame/LanguageLoader.h"

#include "frame/TFormFerramenta.h"
#include "frame/TFormPrincipal.h"
#include "gui/QtTranslations.h"
#include "observations/TObservacao.h"
#include "project/TFormCalculando.h"
#include "project/TFormDados.h"
#include "project/TFormExportGRD.h"
#include "project/TFormProjeto.h"
#include "source/SourceWindow.h"
#include "text/TextFile.h"
#include "uncertainty/UncertaintyWindow.h"
#include "views/TFormAnimacao.h"
#include "views/TFormGrafico.h"
#include "views/TFormMapa.h"

#include <QAbstractButton>
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTableWidget>
#include <QValueAxis>

namespace kavrin {

namespace {

enum class Window {
    Principal,
    Projeto,
    ExportGRD,
    Dados,
    Grafico,
    Mapa,
    Calculando,
    Ferramenta,
    Animacao,
    Observacao,
    Source,
    Uncertainty
};

enum class Kind {
    Message,        // a message slot
    Caption,        // the text of a label, button, group box, menu or menu item
    WindowCaption,  // the window's own title
    Hint,           // a tool tip
    Tab,            // the caption of a page of a page control
    ItemsFirst,     // ComboBox2: items emptied, its text set, appended as item 1
    ItemAppend,     // ComboBox2: appended
    LeftAxis,       // a chart's left-axis title
    BottomAxis,     // a chart's bottom-axis title
    Series,         // a chart series' legend title
    Heading0,       // a grid's heading cell, column 0
    Heading5,       // a grid's heading cell, column 5
};

struct Target {
    int line;
    Kind kind;
    Window window;
    const char* control;
    QString MessageSlots::*slot = nullptr;
};

constexpr Window P = Window::Principal;

Target message(int line, QString MessageSlots::*slot)
{
    return {line, Kind::Message, P, nullptr, slot};
}

// The line table, in the order each line sets its targets.
const std::vector<Target>& lineTable()
{
    using K = Kind;
    using W = Window;
    static const std::vector<Target> table = {
        message(1, &MessageSlots::MsgSaveNeedsResults),
        message(2, &MessageSlots::MsgChartsNeedResults),
        message(3, &MessageSlots::MsgMapNeedsResults),
        message(4, &MessageSlots::MsgAnimationNeedsResults),
        message(5, &MessageSlots::MsgResultFileMissing),
        message(6, &MessageSlots::MsgObservationsIncomplete),
        message(7, &MessageSlots::MsgConfirmExit),
        {8, K::Caption, P, "Arquivo1"},
        {9, K::Caption, P, "Abrir1"},
        {9, K::Caption, W::ExportGRD, "Label1"},
        {9, K::Caption, P, "Abrir2"},
        {10, K::Caption, P, "Salvar1"},
        {10, K::Caption, W::ExportGRD, "Label2"},
        {10, K::Caption, P, "Salvar2"},
        {10, K::Caption, W::Observacao, "BitBtn1"},
        {11, K::Caption, P, "Sair1"},
        {12, K::Caption, P, "Editar1"},
        {13, K::Caption, P, "Ferramanta"},
        {13, K::WindowCaption, W::Ferramenta, nullptr},
        {14, K::Tab, W::Ferramenta, "TabSheet1"},
        {15, K::Tab, W::Ferramenta, "TabSheet2"},
        {16, K::Caption, W::Ferramenta, "RadioButton1"},
        {17, K::Caption, W::Ferramenta, "RadioButton2"},
        {18, K::Caption, W::Ferramenta, "RadioButton5"},
        {19, K::Caption, W::Ferramenta, "Label1"},
        {20, K::Caption, W::Ferramenta, "RadioButton3"},
        {21, K::Caption, W::Ferramenta, "RadioButton4"},
        {22, K::Caption, W::Ferramenta, "BitBtn2"},
        {22, K::Caption, W::ExportGRD, "BitBtn2"},
        {22, K::Caption, W::Calculando, "BitBtn2"},
        {22, K::Caption, W::Observacao, "BitBtn2"},
        {23, K::Caption, W::Ferramenta, "BitBtn1"},
        {24, K::Caption, P, "Exportar1"},
        {25, K::Caption, P, "extotxt1"},
        {26, K::Caption, P, "odososArquivos1"},
        {26, K::Caption, P, "odososArquivos2"},
        {27, K::Caption, P, "Escolherarquivo1"},
        {27, K::Caption, P, "EscolherArquivo2"},
        {28, K::WindowCaption, W::ExportGRD, nullptr},
        {29, K::Caption, W::ExportGRD, "BitBtn1"},
        {30, K::Caption, P, "GrdAscIIgrd1"},
        {31, K::Caption, P, "Graficos1"},
        {32, K::Caption, P, "Mapajpeg1"},
        {33, K::Caption, P, "Projeto1"},
        {33, K::WindowCaption, W::Projeto, nullptr},
        {33, K::Caption, W::Projeto, "Label1"},
        {34, K::Caption, P, "Novo1"},
        {35, K::Caption, P, "Exibir1"},
        {36, K::Caption, P, "Dados1"},
        {37, K::Caption, P, "Grficos1"},
        {37, K::Hint, P, "ToolButton9"},
        {37, K::WindowCaption, W::Grafico, nullptr},
        {37, K::Caption, W::Grafico, "GroupBox2"},
        {38, K::Caption, P, "MapadePixels1"},
        {39, K::Caption, P, "Ajuda1"},
        {40, K::Caption, P, "Sobre1"},
        {41, K::Caption, P, "Help1"},
        {42, K::Hint, P, "ToolButton1"},
        {43, K::Hint, P, "ToolButton7"},
        {44, K::Hint, P, "ToolButton3"},
        {45, K::Hint, P, "ToolButton4"},
        {46, K::Hint, P, "ToolButton6"},
        {47, K::WindowCaption, W::Dados, nullptr},
        {48, K::Caption, W::Dados, "GroupBox3"},
        {49, K::Caption, W::Dados, "Label2"},
        {50, K::Caption, W::Dados, "Label3"},
        {51, K::Caption, W::Dados, "Label4"},
        {52, K::Caption, W::Dados, "Label5"},
        {53, K::Caption, W::Dados, "Label6"},
        {54, K::Caption, W::Dados, "Label10"},
        {55, K::Caption, W::Dados, "Label8"},
        {56, K::Caption, W::Dados, "Label13"},
        {57, K::Caption, W::Dados, "Label12"},
        {58, K::Caption, W::Dados, "Label11"},
        {59, K::Caption, W::Dados, "GroupBox4"},
        {60, K::Caption, W::Dados, "Label1"},
        {61, K::Caption, W::Dados, "Label14"},
        {62, K::Caption, W::Dados, "Label15"},
        {63, K::Caption, W::Dados, "Label16"},
        {64, K::Caption, W::Dados, "Label18"},
        {65, K::Caption, W::Dados, "Label19"},
        {66, K::Caption, W::Dados, "Label20"},
        {67, K::Caption, W::Dados, "Label17"},
        {68, K::Caption, W::Dados, "Label21"},
        {69, K::Caption, W::Dados, "GroupBox1"},
        {70, K::Caption, W::Dados, "Label22"},
        {71, K::ItemsFirst, W::Grafico, "ComboBox2"},
        {71, K::Caption, W::Grafico, "GroupBox3"},
        {72, K::Caption, W::Grafico, "GroupBox1"},
        {72, K::ItemAppend, W::Grafico, "ComboBox2"},
        {73, K::Caption, W::Grafico, "Tempo"},
        {73, K::Caption, W::Grafico, "Label4"},
        {74, K::Caption, W::Grafico, "GroupBox4"},
        {74, K::ItemAppend, W::Grafico, "ComboBox2"},
        {75, K::Caption, W::Grafico, "BitBtn1"},
        {75, K::Caption, W::Mapa, "BitBtn1"},
        {76, K::LeftAxis, W::Grafico, "Chart1"},
        {77, K::BottomAxis, W::Grafico, "Chart1"},
        {78, K::Hint, P, "ToolButton10"},
        {78, K::WindowCaption, W::Mapa, nullptr},
        {79, K::Caption, W::Mapa, "GroupBox2"},
        {80, K::Hint, P, "ToolButton12"},
        {82, K::WindowCaption, W::Observacao, nullptr},
        {83, K::Caption, W::Observacao, "GroupBox1"},
        {84, K::Caption, W::Observacao, "BitBtn5"},
        {85, K::Caption, W::Observacao, "BitBtn6"},
        {86, K::Caption, W::Observacao, "Label1"},
        {87, K::Caption, W::Observacao, "GroupBox2"},
        {88, K::LeftAxis, W::Observacao, "Chart1"},
        {89, K::BottomAxis, W::Observacao, "Chart1"},
        {90, K::Caption, W::Observacao, "Label2"},
        {91, K::Caption, W::Observacao, "Label6"},
        {92, K::Caption, W::Observacao, "BitBtn3"},
        {93, K::WindowCaption, W::Calculando, nullptr},
        message(93, &MessageSlots::MsgCalculating),
        {94, K::Caption, P, "Animao1"},
        message(95, &MessageSlots::MsgRunCancelled),
        {98, K::Series, W::Observacao, "Series2"},
        {99, K::Series, W::Observacao, "Series3"},
        {100, K::Series, W::Observacao, "Series1"},
        {101, K::Hint, P, "ToolButton13"},
        {102, K::Hint, P, "ToolButton14"},
        {102, K::WindowCaption, W::Animacao, nullptr},
        message(103, &MessageSlots::MsgRunFinished),
        {104, K::Heading0, W::Observacao, "StringGrid1"},
        {105, K::Heading5, W::Observacao, "StringGrid1"},
        {106, K::Hint, P, "ToolButton16"},
        message(108, &MessageSlots::MsgGridTooLargeX),
        message(109, &MessageSlots::MsgGridTooLargeY),
        message(110, &MessageSlots::MsgAxisTime),
        message(111, &MessageSlots::MsgTitleConcTime),
        message(112, &MessageSlots::MsgAxisDistance),
        message(113, &MessageSlots::MsgTitleLongProfile),
        message(114, &MessageSlots::MsgTitleTransProfile),
        message(115, &MessageSlots::MsgTimeStepInvalid),
        message(116, &MessageSlots::MsgTimeRangeEmpty),
        {117, K::Caption, W::Grafico, "CopyButton"},
        message(118, &MessageSlots::MsgPositionOutsideGrid),
        message(119, &MessageSlots::MsgStepRefused),
        message(120, &MessageSlots::MsgAskSaveProject),
        message(121, &MessageSlots::MsgYRangeExceedsX),
        message(122, &MessageSlots::MsgYRangeNotAboveSourceWidth),
        message(123, &MessageSlots::MsgLowMemory),
        {124, K::Hint, W::Animacao, "RxSlider1"},
        {125, K::Caption, W::Animacao, "Button1"},
    };
    return table;
}

QWidget* windowOf(const AppState& app, Window window)
{
    const Windows& w = app.windows;
    switch (window) {
    case Window::Principal:
        return static_cast<QWidget*>(w.principal);
    case Window::Projeto:
        return static_cast<QWidget*>(w.projeto);
    case Window::ExportGRD:
        return static_cast<QWidget*>(w.exportGrd);
    case Window::Dados:
        return static_cast<QWidget*>(w.dados);
    case Window::Grafico:
        return static_cast<QWidget*>(w.grafico);
    case Window::Mapa:
        return static_cast<QWidget*>(w.mapa);
    case Window::Calculando:
        return static_cast<QWidget*>(w.calculando);
    case Window::Ferramenta:
        return static_cast<QWidget*>(w.ferramenta);
    case Window::Animacao:
        return static_cast<QWidget*>(w.animacao);
    case Window::Observacao:
        return static_cast<QWidget*>(w.observacao);
    case Window::Source:
        return static_cast<QWidget*>(w.source);
    case Window::Uncertainty:
        return static_cast<QWidget*>(w.uncertainty);
    }
    return nullptr;
}

// Every window the line table knows that exists.
std::vector<QWidget*> allWindows(const AppState& app)
{
    std::vector<QWidget*> windows;
    for (int window = 0; window <= static_cast<int>(Window::Uncertainty); ++window)
        if (QWidget* w = windowOf(app, static_cast<Window>(window))) windows.push_back(w);
    return windows;
}

void setCaption(QObject* control, const QString& text)
{
    if (auto* a = qobject_cast<QAction*>(control))
        a->setText(text);
    else if (auto* m = qobject_cast<QMenu*>(control))
        m->setTitle(text);
    else if (auto* g = qobject_cast<QGroupBox*>(control))
        g->setTitle(text);
    else if (auto* l = qobject_cast<QLabel*>(control))
        l->setText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(control))
        b->setText(text);
}

void setHint(QObject* control, const QString& text)
{
    if (auto* a = qobject_cast<QAction*>(control))
        a->setToolTip(text);
    else if (auto* w = qobject_cast<QWidget*>(control))
        w->setToolTip(text);
}

QChart* chartOf(QObject* control)
{
    auto* view = qobject_cast<QChartView*>(control);
    return view ? view->chart() : nullptr;
}

void setAxisTitle(QObject* control, Qt::Alignment side, const QString& text)
{
    if (QChart* chart = chartOf(control))
        for (QAbstractAxis* axis : chart->axes(side == Qt::AlignLeft ? Qt::Vertical : Qt::Horizontal)) axis->setTitleText(text);
}

void apply(AppState& app, const Target& target, const QString& text)
{
    if (target.kind == Kind::Message) {
        app.messages.*target.slot = text;
        return;
    }
    QWidget* window = windowOf(app, target.window);
    if (!window) return;
    if (target.kind == Kind::WindowCaption) {
        window->setWindowTitle(text);
        return;
    }
    if (target.kind == Kind::Series) {
        for (auto* view : window->findChildren<QChartView*>())
            for (QAbstractSeries* series : view->chart()->series())
                if (series->objectName() == target.control) series->setName(text);
        return;
    }
    QObject* control = window->findChild<QObject*>(target.control);
    if (!control) return;
    switch (target.kind) {
    case Kind::Caption:
        setCaption(control, text);
        break;
    case Kind::Hint:
        setHint(control, text);
        break;
    case Kind::Tab:
        if (auto* page = qobject_cast<QWidget*>(control))
            for (auto* pages : window->findChildren<QTabWidget*>())
                if (pages->indexOf(page) >= 0) pages->setTabText(pages->indexOf(page), text);
        break;
    case Kind::ItemsFirst:
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            combo->clear();
            combo->setEditText(text);
            combo->addItem(text);
        }
        break;
    case Kind::ItemAppend:
        if (auto* combo = qobject_cast<QComboBox*>(control)) combo->addItem(text);
        break;
    case Kind::LeftAxis:
        setAxisTitle(control, Qt::AlignLeft, text);
        break;
    case Kind::BottomAxis:
        setAxisTitle(control, Qt::AlignBottom, text);
        break;
    case Kind::Heading0:
    case Kind::Heading5:
        if (auto* grid = qobject_cast<QTableWidget*>(control)) {
            const int column = target.kind == Kind::Heading0 ? 0 : 5;
            if (!grid->horizontalHeaderItem(column)) grid->setHorizontalHeaderItem(column, new QTableWidgetItem);
            grid->horizontalHeaderItem(column)->setText(text);
        }
        break;
    default:
        break;
    }
}

}  // namespace

QStringList LanguageTargetsNotFound(const AppState& app)
{
    static const char* const kWindowNames[] = {"TFormPrincipal", "TFormProjeto", "TFormExportGRD",  "TFormDados",
                                               "TFormGrafico",   "TFormMapa",    "TFormCalculando", "TFormFerramenta",
                                               "TFormAnimacao",  "TObservacao",  "SourceWindow",    "UncertaintyWindow"};
    QStringList missing;
    for (const Target& target : lineTable()) {
        if (target.kind == Kind::Message) continue;
        const QWidget* window = windowOf(app, target.window);
        bool found = window != nullptr;
        if (found && target.kind == Kind::Series) {
            found = false;
            for (const auto* view : window->findChildren<QChartView*>())
                for (const QAbstractSeries* series : view->chart()->series())
                    found = found || series->objectName() == target.control;
        } else if (found && target.control) {
            found = window->findChild<QObject*>(target.control) != nullptr;
        }
        if (!found)
            missing << QString("line %1: %2 %3")
                           .arg(target.line)
                           .arg(kWindowNames[static_cast<int>(target.window)], target.control ? target.control : "(window)");
    }
    return missing;
}

void ApplyLanguageLine(AppState& app, int line, const QString& text)
{
    for (const Target& target : lineTable())
        if (target.line == line) apply(app, target, text);
}

void LoadLanguage(AppState& app, Language language)
{
    app.PortugueseActive = language == Language::Portuguese;
    const QString file =
        app.executableFolder + (app.PortugueseActive ? QStringLiteral("idiomport.txt") : QString::fromUtf8("idiominglês.txt"));
    TextFileReader reader(file.toStdString());
    for (int line = 1; line <= 125; ++line) ApplyLanguageLine(app, line, QString::fromStdString(reader.readLine()));
    // Lines the program gained later; an older file without them keeps the built-in texts.
    QStringList later;
    for (int line = 0; line < FitPanel::kLanguageLines; ++line) later << QString::fromStdString(reader.readLine());
    if (app.windows.observacao) app.windows.observacao->applyLaterLanguage(later, app.PortugueseActive);
    app.addedTexts.clear();
    for (int line = kFirstAddedTextLine; line < kFirstAddedTextLine + kAddedTextLines; ++line) {
        const QString given = QString::fromStdString(reader.readLine());
        app.addedTexts << (given.isEmpty() ? QString::fromUtf8(BuiltInAddedText(line, app.PortugueseActive)) : given);
    }
    UseQtTranslations(app.PortugueseActive);
    // The windows set their added texts again from app.text() on this event.
    for (QWidget* window : allWindows(app)) {
        QEvent changed(QEvent::LanguageChange);
        QCoreApplication::sendEvent(window, &changed);
    }
}

}  // namespace kavrin
