// Every piece of state the desktop program shares, owned by one object that
// main() creates and hands to the windows by reference.
#pragma once

#include "gui/Settings.h"
#include "model/ModelState.h"
#include "model/ParameterTexts.h"
#include "model/ProjectState.h"
#include "solution/Quadrature.h"
#include "text/AddedTexts.h"
#include "workspace/ResultGrid.h"

#include <QString>
#include <QStringList>

namespace kavrin {

class TFormPrincipal;
class TFormEntrada;
class TFormProjeto;
class TFormExportGRD;
class TFormDados;
class TFormGrafico;
class TFormMapa;
class TFormCalculando;
class TFormFerramenta;
class TFormAnimacao;
class TObservacao;
class SourceWindow;
class UncertaintyWindow;

// The twenty messages, filled from fixed lines of the language file.
struct MessageSlots {
    QString MsgSaveNeedsResults, MsgChartsNeedResults, MsgMapNeedsResults, MsgAnimationNeedsResults;
    QString MsgResultFileMissing, MsgObservationsIncomplete, MsgConfirmExit, MsgCalculating, MsgRunFinished;
    QString MsgGridTooLargeX, MsgGridTooLargeY, MsgAxisTime, MsgTitleConcTime, MsgAxisDistance;
    QString MsgTitleLongProfile, MsgTitleTransProfile, MsgAskSaveProject, MsgYRangeExceedsX;
    QString MsgYRangeNotAboveSourceWidth, MsgLowMemory;
    QString MsgTimeStepInvalid;      // line 115, the refusal of a time step that would never end
    QString MsgTimeRangeEmpty;       // line 116, the refusal of a final time before the initial one
    QString MsgPositionOutsideGrid;  // line 118: %1 axis, %2 position, %3 and %4 the grid's first and last
    QString MsgStepRefused;          // line 119: %1 the step (DX, DY, DT) with which a list never ends
    QString MsgRunCancelled;         // line 95, a run stopped by Cancel
};

struct SettingsFlags {
    bool AutoSaveProjects = false;
    bool AutoDeleteData = false;
};

struct CommandLineState {
    QString CommandLineProject;
    bool OpenCommandLineProject = false;
    bool StartedWithProject = false;
};

// The eleven windows, the source and the uncertainty windows, created once at start-up and alive until the end.
struct Windows {
    TFormPrincipal* principal = nullptr;
    TFormEntrada* entrada = nullptr;
    TFormProjeto* projeto = nullptr;
    TFormExportGRD* exportGrd = nullptr;
    TFormDados* dados = nullptr;
    TFormGrafico* grafico = nullptr;
    TFormMapa* mapa = nullptr;
    TFormCalculando* calculando = nullptr;
    TFormFerramenta* ferramenta = nullptr;
    TFormAnimacao* animacao = nullptr;
    TObservacao* observacao = nullptr;
    SourceWindow* source = nullptr;
    UncertaintyWindow* uncertainty = nullptr;
};

struct AppState {
    ModelState model;
    ParameterTexts texts;         // the data window's texts as they stand; commands read them here
    ParameterTexts resultsTexts;  // the texts of the run or project file the current results belong to
    std::string NewProjectName;   // typed in the project-name window after New: the next run's name
    QuadratureState quadrature;
    ResultGrid grid;
    ProjectState project;
    MessageSlots messages;
    SettingsFlags settings;
    CommandLineState commandLine;
    bool PortugueseActive = true;  // the language applied to the windows
    QStringList addedTexts;        // lines 165 on of the applied language, built-in where the file has none
    // A line the windows gained after the fit's, in the applied language.
    QString text(AddedText line) const
    {
        const int index = static_cast<int>(line) - kFirstAddedTextLine;
        return index < addedTexts.size() ? addedTexts[index]
                                         : QString::fromUtf8(BuiltInAddedText(static_cast<int>(line), PortugueseActive));
    }
    Language AppliedLanguage() const { return PortugueseActive ? Language::Portuguese : Language::English; }

    QString executableFolder;  // ends with "/": valores.txt, language files, help pages
    char separator = '.';      // the user's decimal separator
    int splashMilliseconds = 3500;
    Windows windows;
};

}  // namespace kavrin
