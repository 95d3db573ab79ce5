#include "text/AddedTexts.h"

namespace kavrin {

namespace {

struct BuiltIn {
    const char* portuguese;
    const char* english;
};

// In AddedText's order. A trailing empty entry keeps the array valid while no
// line exists; it is never a line.
const BuiltIn kBuiltIn[kAddedTextLines + 1] = {
    {"O tempo %1 não tem resultados completos neste projeto: não foi calculado, ou seu arquivo está vazio ou incompleto.",
     "Time %1 has no complete results in this project: it was not computed, or its file is empty or incomplete."},
    {"Quadro %1 de %2", "Frame %1 of %2"},
    {"Intervalo: %1 s", "Interval: %1 s"},
    {"No nó X = %1 m, Y = %2 m", "At the node X = %1 m, Y = %2 m"},
    {"Tempo = %1 dias, ao longo de Y = %2 m", "Time = %1 days, along Y = %2 m"},
    {"Tempo = %1 dias, ao longo de X = %2 m", "Time = %1 days, along X = %2 m"},
    {"O campo \"%1\" deve ser maior que 0 e no máximo 1.", "The field \"%1\" must be greater than 0 and at most 1."},
    {"O campo \"%1\" deve ser um número finito maior ou igual a 0.", "The field \"%1\" must be a finite number of 0 or more."},
    {"no limite mínimo", "at the lower bound"},
    {"no limite máximo", "at the upper bound"},
    {"Linha %1, coluna %2", "Row %1, column %2"},
    {"Observações e comparação", "Observations and comparison"},
    // Saving and quitting
    {"Não há mapa para salvar: desenhe o mapa de um tempo antes.", "There is no map to save: draw the map of a time first."},
    {"Os dados da janela de dados mudaram desde o último cálculo. O projeto guarda os resultados com os parâmetros com que "
     "foram calculados; os valores digitados depois não são salvos. Salvar assim?",
     "The data window has changed since the last run. The project keeps the results with the parameters they were "
     "computed from; the values typed since then are not saved. Save anyway?"},
    {"Voltar", "Back"},
    {"Volta ao trecho mostrado antes", "Goes back to the part shown before"},
    {"Avançar", "Forward"},
    {"Avança ao trecho de onde se voltou", "Goes forward to the part you came back from"},
    {"Início", "Start"},
    {"Volta ao início da ajuda", "Goes back to the start of the help"},
    {"Abrir no navegador", "Open in browser"},
    {"Abre esta página no navegador da área de trabalho", "Opens this page in the desktop's web browser"},
    {"Nenhum navegador foi encontrado nesta área de trabalho (nem na variável BROWSER, nem como navegador padrão). A ajuda "
     "continua nesta janela.",
     "No web browser was found on this desktop (neither in the BROWSER variable nor as the default web browser). The help stays "
     "in this window."},
    // The source window, the mass-balance chart and the parameter file's warning.
    {"Fonte", "Source"},
    {"Histórico da fonte", "Source history"},
    {"Constante", "Constant"},
    {"Decaimento de primeira ordem", "First-order decay"},
    {"Liberação interrompida", "Release stopped"},
    {"Degraus", "Steps"},
    {"Taxa (1/dia)", "Rate (1/day)"},
    {"Meia-vida (dias)", "Half-life (days)"},
    {"Fim da liberação (dias)", "Release end (days)"},
    {"Início (dias)", "Start (days)"},
    {"Concentração relativa", "Relative concentration"},
    {"Degrau %1", "Step %1"},
    {"Adicionar", "Add"},
    {"Remover", "Remove"},
    {"Zonas da fonte no plano x = 0", "Source zones in the plane x = 0"},
    {"Centro Y (m)", "Centre Y (m)"},
    {"Centro Z (m)", "Centre Z (m)"},
    {"Largura (m)", "Width (m)"},
    {"Altura (m)", "Height (m)"},
    {"Concentração (mg/L)", "Concentration (mg/L)"},
    {"Zona %1", "Zone %1"},
    {"A zona 1 tem a concentração e as dimensões da fonte da janela de dados; as zonas se somam, e numa zona aninhada vale a "
     "concentração dela.",
     "Zone 1 has the concentration and size of the data window's source; zones add up, and inside a nested zone its own "
     "concentration holds."},
    {"Plano de controle X (m):", "Control plane X (m):"},
    {"nenhum", "none"},
    {"\"%1\" não é uma opção da fonte.", "\"%1\" is not a source option."},
    {"%1: o histórico deve ser constante, decaimento, interrupção ou degraus.",
     "%1: the history must be constant, decay, stop or steps."},
    {"%1: o valor não é um número.", "%1: the value is not a number."},
    {"%1: o valor deve ser um número finito maior que zero.", "%1: the value must be a finite number greater than zero."},
    {"%1: os tempos de início dos degraus devem ser crescentes.", "%1: the steps' start times must increase."},
    {"%1: a largura e a altura devem ser maiores que zero, e todos os valores números finitos.",
     "%1: the width and height must be greater than zero, and every value a finite number."},
    {"%1: no máximo 20 zonas.", "%1: at most 20 zones."},
    {"%1: a zona se sobrepõe a outra sem conter a outra nem estar contida nela.",
     "%1: the zone overlaps another without containing it or lying inside it."},
    {"%1: o plano de controle deve estar entre 0 e a posição final de X (%2 m).",
     "%1: the control plane must lie between 0 and the final X position (%2 m)."},
    {"%1: falta o valor.", "%1: the value is missing."},
    {"Balanço de massa", "Mass balance"},
    {"Massa (mg)", "Mass (mg)"},
    {"Descarga de massa (mg/dia)", "Mass discharge (mg/day)"},
    {"Presente", "Present"},
    {"Decaída", "Decayed"},
    {"Descarga X = %1 m", "Discharge X = %1 m"},
    {"Descarga X = %1 m (borda)", "Discharge X = %1 m (edge)"},
    {"Pluma inteira (3-D), massa presente = dissolvida + sorvida, de %1 a %2 dias",
     "Whole plume (3-D), mass present = dissolved + sorbed, from %1 to %2 days"},
    {"Um arquivo de parâmetros não guarda as opções da fonte (histórico, zonas, plano de controle): elas não serão salvas nele. "
     "Salvar assim?",
     "A parameter file cannot hold the source options (history, zones, control plane): they will not be saved in it. Save "
     "anyway?"},
    {"Decaimento da fonte (1/dia)", "Source decay (1/day)"},
    {"Concentração da zona %1 (mg/L)", "Zone %1 concentration (mg/L)"},
    {"%1: as opções da fonte não usam este parâmetro, e ele não pode ser ajustado.",
     "%1: the source options do not use this parameter, so it cannot be fitted."},
    {"R = 1 + densidade aparente × Kd / porosidade. Divide a velocidade e a dispersão, não o decaimento. Um fator abaixo "
     "de 1 não é aplicado: o cálculo usa 1.",
     "R = 1 + bulk density × Kd / porosity. It divides the velocity and the dispersion, not the decay. A factor below 1 is "
     "not applied: the computation uses 1."},
    {"", ""},
};

}  // namespace

const char* BuiltInAddedText(int line, bool portuguese)
{
    if (line < kFirstAddedTextLine || line >= kFirstAddedTextLine + kAddedTextLines) return "";
    const BuiltIn& text = kBuiltIn[line - kFirstAddedTextLine];
    return portuguese ? text.portuguese : text.english;
}

}  // namespace kavrin
