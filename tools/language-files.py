#!/usr/bin/env python3
"""Writes the two language files next to the data: 125 lines of the windows,
then the calibration window's automatic fit from line 126 on, then the lines
the windows gained later, Windows-1252, CR LF. Line n of each list is line n
of the file; the loader gives each line to its controls and message slots by
position. The lines after 125 are the program's own built-in texts, printed by
kavrin-later-language-lines (built with the program) so that they are written
in one place. Run from the repository root:
    python3 tools/language-files.py [path of kavrin-later-language-lines]"""

import subprocess
import sys

PORTUGUESE = [
    # 1-7: messages
    "Não há resultados para salvar. Rode o modelo ou abra um projeto antes de salvar.",
    "Não há resultados para os gráficos. Rode o modelo ou abra um projeto primeiro.",
    "Não há resultados para o mapa. Rode o modelo ou abra um projeto primeiro.",
    "Não há resultados para a animação. Rode o modelo ou abra um projeto primeiro.",
    "O arquivo de resultados não foi encontrado. Verifique se a pasta do projeto ainda existe.",
    "Há células vazias na tabela de observações. Preencha todas as células antes de calcular.",
    "Deseja realmente sair do KAVRIN?",
    # 8-47
    "Arquivo", "&Abrir", "&Salvar", "Sair", "Editar", "Ferramentas", "Configurações", "Idiomas",
    "Salvar todos os projetos automaticamente", "Deletar automaticamente dados", "Perguntar antes de deletar dados",
    "Selecione o idioma de sua preferência:", "Português (Brasil)", "Inglês", "Cancelar", "Aplicar",
    "Exportar", "Arquivo Texto   *.txt", "Todos os Arquivos", "Escolher arquivo", "Exportar Resultados", "OK",
    "Grd AscII   *.grd", "Graficos *.jpeg", "Mapa *.jpeg", "Projeto", "Novo", "Exibir", "Dados", "Gráficos",
    "Mapa", "Ajuda", "So&bre", "&Help", "Rodar", "Novo Projeto", "Abrir Projeto", "Salvar Projeto", "Dados",
    "Dados do Projeto",
    # 48-70: data window
    "Geometria do Modelo", "Dimensão da fonte em Y (m):", "Dimensão da fonte em Z (m):",
    "Localização vertical de Z (m):", "Posição inicial de X (m):", "Posição final de X (m):",
    "Posição inicial de Y (m):", "Posição final de Y (m):", "Tempo inicial (dias):", "Tempo final (dias):",
    "DT (dias):", "Parâmetros de Transporte", "Concentração na Fonte (mg/L):", "Coef. de dispersão em X (m):",
    "Coef. de dispersão em Y (m):", "Coef. de dispersão em  Z (m):", "Kxx (m/dia):", "Gradiente de H em X:",
    "Fator de retardamento:", "Porosidade efetiva:", "Taxa de decaimento (dias-1):", "Integração Numérica",
    "Nº de intervalos:",
    # 71-80: charts, map
    "Concentração x Tempo", "Perfil longitudinal de concentração", "Tempo", "Perfil Transversal de concentração",
    "Atualizar", "Concentração (mg/L)", "Distância (m)", "Mapa", "Tempo",
    "Exportar resultados para Arquivo *.grd",
    # 81-92
    "", "Calibração", "Informações para calibração", "Importar Dados", "Calcular", "Nº de Observações:",
    "Gráfico comparativo entre concentração mensurada e calculada", "Concentração calculada (mg/L)",
    "Concentração medida (mg/L)", "Coeficiente de determinação:", "Erro médio (mg/L):",
    "Exportar Gráfico como figura",
    # 93-107
    "Calculando ...", "Animação", "Cálculo cancelado. Os tempos completos foram gravados na pasta do projeto.", "", "",
    "Regressão das concentrações observadas e calculadas",
    "Dispersão dos valores de concentração calculadas e observadas",
    "Regressão ideal de concentração observada e calculada",
    "Exportar resultados para Tabela *.txt", "Animação",
    "Cálculo concluído. Os resultados foram gravados na pasta do projeto.",
    "Observação", "     T (dias)", "Calibração", "",
    # 108-125
    "A faixa de X tem mais de 450 intervalos de DX. Reduza a faixa de X ou aumente DX.",
    "A faixa de Y tem mais de 450 intervalos de DY. Reduza a faixa de Y ou aumente DY.",
    "Tempo (dias)", "Concentração x Tempo", "Distância (m)", "Perfil longitudinal de concentração",
    "Perfil transversal de concentração",
    "O passo de tempo DT deve ser maior que zero e pequeno o bastante para no máximo 1000000 tempos. Corrija DT.",
    "O tempo final é anterior ao tempo inicial: não há tempo a calcular. Informe um tempo final não anterior ao inicial.",
    "Copiar valores",
    "A posição %1 = %2 está fora da grade, que vai de %1 = %3 a %1 = %4. Escolha uma posição dentro da grade.",
    "O passo %1 deve ser maior que zero e dar no máximo 1000000 valores. Corrija %1 nos dados do projeto.",
    "Deseja salvar o projeto atual antes de continuar? Se responder Não, os resultados serão apagados.",
    "A faixa de Y é maior que a faixa de X. A faixa de X deve ser pelo menos tão longa quanto a de Y.",
    "A faixa de Y deve ser maior que a dimensão da fonte em Y. Aumente a faixa de Y.",
    "Há menos de 50 MB de memória livre. Feche outros programas e tente de novo.",
    "Velocidade da animação", "Gerar Animação",
]

ENGLISH = [
    "There are no results to save. Run the model or open a project before saving.",
    "There are no results for the charts. Run the model or open a project first.",
    "There are no results for the map. Run the model or open a project first.",
    "There are no results for the animation. Run the model or open a project first.",
    "The results file was not found. Check that the project folder still exists.",
    "The observation table has empty cells. Fill in every cell before calculating.",
    "Do you really want to quit KAVRIN?",
    "File", "&Open", "&Save", "Exit", "Edit", "Tools", "Settings", "Languages",
    "Save every project automatically", "Delete project data automatically", "Ask before deleting project data",
    "Choose your language:", "Portuguese (Brazil)", "English", "Cancel", "Apply",
    "Export", "Text file   *.txt", "All files", "Choose file", "Export Results", "OK",
    "ASCII grid   *.grd", "Charts *.jpeg", "Map *.jpeg", "Project", "New", "View", "Data", "Charts",
    "Map", "Help", "A&bout", "&Help", "Run", "New Project", "Open Project", "Save Project", "Data",
    "Project Data",
    "Model Geometry", "Source size in Y (m):", "Source size in Z (m):",
    "Vertical position of Z (m):", "Initial X position (m):", "Final X position (m):",
    "Initial Y position (m):", "Final Y position (m):", "Initial time (days):", "Final time (days):",
    "DT (days):", "Transport Parameters", "Source concentration (mg/L):", "Dispersivity in X (m):",
    "Dispersivity in Y (m):", "Dispersivity in Z (m):", "Kxx (m/day):", "Head gradient in X:",
    "Retardation factor:", "Effective porosity:", "Decay rate (1/day):", "Numerical Integration",
    "Number of intervals:",
    "Concentration x Time", "Longitudinal profile of concentration", "Time", "Transversal profile of concentration",
    "Update", "Concentration (mg/L)", "Distance (m)", "Map", "Time",
    "Export results to grid file *.grd",
    "", "Calibration", "Calibration data", "Import Data", "Calculate", "Number of observations:",
    "Comparison of measured and calculated concentration", "Calculated concentration (mg/L)",
    "Measured concentration (mg/L)", "Coefficient of determination:", "Mean error (mg/L):",
    "Export chart as picture",
    "Calculating ...", "Animation", "Calculation cancelled. The complete times were written to the project folder.", "", "",
    "Regression of observed and calculated concentrations",
    "Calculated versus observed concentrations",
    "Ideal agreement of observed and calculated concentration",
    "Export results to table *.txt", "Animation",
    "Calculation finished. The results were written to the project folder.",
    "Observation", "     T (days)", "Calibration", "",
    "The X range holds more than 450 intervals of DX. Reduce the X range or enlarge DX.",
    "The Y range holds more than 450 intervals of DY. Reduce the Y range or enlarge DY.",
    "Time (days)", "Concentration x Time", "Distance (m)", "Longitudinal profile of concentration",
    "Transversal profile of concentration",
    "The time step DT must be greater than zero and large enough for at most 1000000 times. Correct DT.",
    "The final time is earlier than the initial time: there is no time to compute. Enter a final time not earlier than the initial one.",
    "Copy values",
    "The position %1 = %2 is outside the grid, which goes from %1 = %3 to %1 = %4. Choose a position inside the grid.",
    "The step %1 must be greater than zero and give at most 1000000 values. Correct %1 in the project data.",
    "Do you want to save the current project before going on? If you answer No, its results will be deleted.",
    "The Y range is longer than the X range. The X range must be at least as long as the Y range.",
    "The Y range must be longer than the source size in Y. Enlarge the Y range.",
    "Less than 50 MB of memory is free. Close other programs and try again.",
    "Animation speed", "Make Animation",
]

FIXED = {71: ("Concentração x Tempo", "Concentration x Time"),
         72: ("Perfil longitudinal de concentração", "Longitudinal profile of concentration"),
         74: ("Perfil Transversal de concentração", "Transversal profile of concentration")}


def later_lines(language):
    """Lines 126 on: the built-in texts of the fit and of what the windows
    gained later (the program's fallback for shorter files), printed by the
    program's own tables."""
    out = subprocess.run([PROGRAM, language], check=True, capture_output=True).stdout.decode("utf-8")
    return out.split("\n")[:-1]


def write(path, lines):
    assert len(lines) == len(PORTUGUESE), (path, len(lines))
    with open(path, "wb") as out:
        out.write("".join(line + "\r\n" for line in lines).encode("windows-1252"))


if __name__ == "__main__":
    PROGRAM = sys.argv[1] if len(sys.argv) > 1 else "build/bin/kavrin-later-language-lines"
    PORTUGUESE += later_lines("port")
    ENGLISH += later_lines("english")
    assert len(PORTUGUESE) == len(ENGLISH) > 125
    for line, (pt, en) in FIXED.items():
        assert PORTUGUESE[line - 1] == pt and ENGLISH[line - 1] == en, line
    write("data/idiomport.txt", PORTUGUESE)
    write("data/idiominglês.txt", ENGLISH)
