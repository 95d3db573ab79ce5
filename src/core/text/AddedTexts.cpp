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
    {"Incerteza", "Uncertainty"},
    {"Dados", "Settings"},
    {"Mapa", "Map"},
    {"Receptor", "Receptor"},
    {"Parâmetros", "Parameters"},
    {"Parâmetro", "Parameter"},
    {"Valor", "Value"},
    {"Distribuição", "Distribution"},
    {"a", "a"},
    {"b", "b"},
    {"c", "c"},
    {"fixo", "fixed"},
    {"uniforme", "uniform"},
    {"normal", "normal"},
    {"lognormal", "lognormal"},
    {"triangular", "triangular"},
    {"do ajuste", "from the fit"},
    {"uniforme: a = mínimo, b = máximo; normal: a = média, b = desvio padrão; lognormal: a = mediana, b = desvio padrão "
     "geométrico (> 1); triangular: a = mínimo, b = moda, c = máximo; do ajuste: os valores do ajuste da calibração, sorteados "
     "juntos com sua covariância.",
     "uniform: a = lower, b = upper; normal: a = mean, b = standard deviation; lognormal: a = median, b = geometric standard "
     "deviation (> 1); triangular: a = lower, b = mode, c = upper; from the fit: the calibration fit's values, drawn jointly "
     "with their covariance."},
    {"Padrão (mg/L):", "Standard (mg/L):"},
    {"Outros limites (mg/L, até 7):", "Other thresholds (mg/L, up to 7):"},
    {"Realizações:", "Realizations:"},
    {"Semente:", "Seed:"},
    {"Hipercubo latino", "Latin hypercube"},
    {"Tempos (dias)", "Times (days)"},
    {"Receptores x, y, z (m), até 50", "Receptors x, y, z (m), up to 50"},
    {"Calcular", "Run"},
    {"Cancelar", "Cancel"},
    {"%1 de %2 realizações", "%1 of %2 realizations"},
    {"Cálculo cancelado: nenhum resultado.", "Run cancelled: no results."},
    {"%1 realizações em %2 s", "%1 realizations in %2 s"},
    {"Calcule o projeto antes: a incerteza usa os tempos da simulação.",
     "Run the project first: the uncertainty uses the run's times."},
    {"%1: \"%2\" não é um número.", "%1: \"%2\" is not a number."},
    {"Mapa:", "Map:"},
    {"Tempo:", "Time:"},
    {"Probabilidade de C > %1 mg/L", "Probability of C > %1 mg/L"},
    {"Média (mg/L)", "Mean (mg/L)"},
    {"Desvio padrão (mg/L)", "Standard deviation (mg/L)"},
    {"Percentil %1 (mg/L)", "Percentile %1 (mg/L)"},
    {"Probabilidade", "Probability"},
    {"Contornos: 5, 50 e 95 %", "Outlines: 5, 50 and 95 %"},
    {"Receptor:", "Receptor:"},
    {"%1: x = %2, y = %3, z = %4", "%1: x = %2, y = %3, z = %4"},
    {"Concentração (mg/L)", "Concentration (mg/L)"},
    {"Padrão %1 mg/L", "Standard %1 mg/L"},
    {"P(C > padrão até t)", "P(C > standard by t)"},
    {"Salvar imagem", "Save picture"},
    {"Copiar valores", "Copy values"},
    {"Comprimento da pluma até o padrão: %1 / %2 / %3 m (percentis 5 / 50 / 95)",
     "Plume length to the standard: %1 / %2 / %3 m (percentiles 5 / 50 / 95)"},
    {"\"%1\" não é NOME=DIST:ARGS.", "\"%1\" is not NAME=DIST:ARGS."},
    {"\"%1\" não é um parâmetro que pode variar.", "\"%1\" is not a parameter that can vary."},
    {"\"%1\" não é uma distribuição: uniforme, normal, lognormal ou triangular.",
     "\"%1\" is not a distribution: uniform, normal, lognormal or triangular."},
    {"%1: uniforme pede a e b, normal a e b, lognormal a e b, triangular a, b e c.",
     "%1: uniform takes a and b, normal a and b, lognormal a and b, triangular a, b and c."},
    {"%1: um valor da distribuição não é um número.", "%1: a value of the distribution is not a number."},
    {"%1: os valores da distribuição devem ser números finitos.", "%1: the distribution's values must be finite numbers."},
    {"%1: o mínimo da distribuição deve ser menor que o máximo, e a moda deve estar entre eles.",
     "%1: the distribution's lower end must be below its upper end, and its mode between them."},
    {"%1: o desvio padrão e a mediana devem ser maiores que zero, o desvio padrão geométrico maior que 1.",
     "%1: the standard deviation and the median must be greater than zero, the geometric standard deviation greater than 1."},
    {"%1: a distribuição não dá nenhum valor fisicamente possível para o parâmetro.",
     "%1: the distribution gives no value the parameter can physically take."},
    {"%1: as opções da fonte não usam este parâmetro, e ele não pode variar.",
     "%1: the source options do not use this parameter, so it cannot vary."},
    {"%1 varia duas vezes.", "%1 is varied twice."},
    {"O número de realizações deve ser pelo menos 2, não %1.", "The number of realizations must be at least 2, not %1."},
    {"O número de realizações deve ser no máximo 1000000, não %1.",
     "The number of realizations must be at most 1000000, not %1."},
    {"Falta o padrão (o primeiro limite).", "A standard (the first threshold) is needed."},
    {"No máximo 8 limites, o padrão incluído.", "At most 8 thresholds can be given, the standard included."},
    {"O limite %1 não é um número maior que zero.", "The threshold %1 is not a number greater than zero."},
    {"Não há ajuste para sortear: nenhum parâmetro ajustado tem erro padrão.",
     "There is no fit to draw from: no fitted parameter has a standard error."},
    {"A covariância do ajuste é singular: seus parâmetros não podem ser sorteados juntos.",
     "The fit's covariance is singular: its parameters cannot be drawn jointly."},
    {"Nenhum tempo foi escolhido.", "No time is chosen."},
    {"O tempo %1 não é um número maior que zero.", "The time %1 is not a number greater than zero."},
    {"No máximo 50 receptores.", "At most 50 receptors can be given."},
    {"O receptor %1 tem uma coordenada que não é um número finito.", "Receptor %1 has a coordinate that is not a finite number."},
    {"A parte %1 deve ser I/M, com I de 1 a M.", "The part %1 must be I/M with I from 1 to M."},
    {"Nenhum parâmetro varia: escolha uma distribuição para pelo menos um.",
     "No parameter is varied: choose a distribution for at least one."},
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
