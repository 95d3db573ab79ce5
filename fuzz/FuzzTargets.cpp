#include "FuzzTargets.h"
#include "FuzzSupport.h"

#include "BatchOptions.h"
#include "calibration/FitMessage.h"
#include "calibration/ObservationTable.h"
#include "calibration/ObservationWeights.h"
#include "files/ParameterFile.h"
#include "files/ProjectFile.h"
#include "files/ResultExports.h"
#include "model/RunChecks.h"
#include "model/Variaveis.h"
#include "solution/Quadrature.h"
#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "text/TextFile.h"
#include "text/Windows1252.h"
#include "workspace/ResultLoading.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace kavrin::fuzz {

namespace {

// Removes the exports of the previous input.
void removeOutputs()
{
    for (const auto& entry : std::filesystem::directory_iterator(scratchFolder())) {
        const std::string name = entry.path().filename();
        if (name.rfind("one", 0) == 0 || name.rfind("all", 0) == 0) std::filesystem::remove(entry.path());
    }
}

// The data window's texts after a project or parameter file was opened.
ParameterTexts openedTexts(const ParameterTexts& loaded, char separator)
{
    ParameterTexts texts = InitialParameterTexts();
    ArrumaCampos(texts, separator);
    AssignEditTexts(texts, loaded, separator);
    return texts;
}

// Converts and checks as the Run command does, without writing.
void modelOf(const ParameterTexts& texts, char separator, ModelState& model)
{
    try {
        Variaveis(texts, model, separator);
        CheckRun(model);
    } catch (const KavrinError&) {
    }
}

}  // namespace

std::string ExportsInput(const std::string& projectFile, const std::string& resultsFile)
{
    const std::size_t length = projectFile.size() & 0xFFFF;
    return std::string{static_cast<char>(length & 0xFF), static_cast<char>(length >> 8)} + projectFile.substr(0, length) +
           resultsFile;
}

void ProjectFile(const std::string& input)
{
    // Two options stored after line 25, as a feature would register them.
    const ProjectLineRegistration number{{"FuzzNumber", "digits", [](const std::string& value) {
                                              return !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
                                          }}};
    const ProjectLineRegistration text{{"FuzzText", "any text", [](const std::string&) { return true; }}};
    const std::string path = scratchFile("p.kvr", input);
    try {
        const ProjectFileContents contents = ReadProjectFile(path);
        // A file that opens has numbers in every field: the window can take them.
        for (char separator : {'.', ','}) {
            ParameterTexts texts = openedTexts(contents.texts, separator);
            SetControlText(texts, 0, contents.texts.comboBox1, separator);
            ModelState model;
            modelOf(texts, separator, model);
        }
        // What opens is saved again as it was read, and opens again the same.
        const std::string again = scratchFolder() + "again.kvr";
        NamedLines lines = CalibrationNamedLines(contents.calibration);
        lines.insert(lines.end(), contents.namedLines.begin(), contents.namedLines.end());
        WriteUnrunProjectFile(again, contents.projectName, "", contents.texts, lines);
        const ProjectFileContents back = ReadProjectFile(again);
        // The name too, whatever its bytes: it names the project's folder.
        require(back.projectName == contents.projectName && back.texts.edit == contents.texts.edit &&
                    back.texts.comboBox1 == contents.texts.comboBox1 && back.texts.source == contents.texts.source &&
                    back.namedLines == contents.namedLines && back.calibration == contents.calibration,
                "a saved project opens differently");
    } catch (const KavrinError&) {
    }
}

void ParameterFile(const std::string& input)
{
    const std::string path = scratchFile("p.dat", input);
    try {
        const ParameterTexts loaded = ReadParameterFile(path);
        ModelState model;
        modelOf(openedTexts(loaded, ','), ',', model);
    } catch (const KavrinError&) {
    }
}

void ObservationImport(const std::string& input)
{
    const std::string path = scratchFile("obs.txt", input);
    for (char separator : {'.', ','}) {
        ObservationTable table;
        try {
            const int lines = table.Import(path, separator);
            require(lines == table.ObservationCount(), "the count is not the number of imported lines");
            require(table.observations().size() == static_cast<std::size_t>(lines), "observations and count disagree");
            require(table.weights().size() == static_cast<std::size_t>(lines), "weights and count disagree");
            const std::vector<Observation> unit(static_cast<std::size_t>(lines), Observation{1});
            for (WeightRule rule : {WeightRule::Table, WeightRule::Relative}) {
                try {
                    for (double weight : ObservationWeights(table.weights(), unit, rule, 0, separator))
                        require(weight > 0 && std::isfinite(weight), "a weight that is not a positive number passed");
                } catch (const FitRefusal&) {
                }
            }
            table.Save(scratchFolder() + "saved.txt");
        } catch (const KavrinError&) {
        }
    }
}

void ResultFile(const std::string& input)
{
    const std::string path = scratchFile("T0.txt", input);
    static ResultGrid grids[2];  // the reader keeps what a file does not cover, as the program's one grid does
    for (char separator : {'.', ','}) {
        ResultGrid& grid = grids[separator == ','];
        try {
            require(LoadResultFile(path, grid, separator), "an existing results file reads as missing");
        } catch (const KavrinError&) {
        }
    }
}

void NumberText(const std::string& input)
{
    for (char separator : {'.', ','}) {
        const std::string normalised = ArrumaDecimal(input, separator);
        require(normalised.size() == input.size(), "normalising changed the length");
        try {
            const double value = ParseFloat(normalised, separator);
            require(std::isfinite(value), "a converted text is not finite");
            const std::string general = FormatGeneral(value, separator);
            const double back = ParseFloat(general, separator);
            require(std::fabs(back - value) <= 1e-14 * std::fabs(value), "the general format does not convert back");
        } catch (const ConversionError&) {
        }
    }
    try {
        ParseInteger(input);
    } catch (const ConversionError&) {
    }
    if (input.size() >= sizeof(double)) {
        double value;
        std::memcpy(&value, input.data(), sizeof value);
        char grid[kGridValueMaxLength];
        const std::string fast(grid, WriteGridValue(grid, value, ','));
        require(fast == FormatScientific(value, 14, 4, ','), "the grid value writer differs from the pattern");
        if (std::isfinite(value)) {
            FormatGeneral(value, '.');
            FormatFixed(value, static_cast<unsigned char>(input[0]) % 20, ',');
        }
    }
}

void Windows1252(const std::string& input)
{
    const std::string text = Windows1252ToUtf8(input);
    require(Utf8ToWindows1252(text) == input, "file bytes do not come back unchanged");
    require(FitsWindows1252(text), "a text read from a file does not fit the file again");
    const std::string bytes = Utf8ToWindows1252(input);
    require(bytes.size() <= input.size(), "encoding made the text longer");
    FitsWindows1252(input);
}

void QuadratureTable(const std::string& input)
{
    const std::string path = scratchFile("valores.txt", input);
    for (int order : {4, 20, 60, 104, 256}) {
        QuadratureState quadrature;
        try {
            LoadGaussOrder(quadrature, order, path, ',');
        } catch (const KavrinError&) {
        }
    }
}

void LanguageFile(const std::string& input)
{
    const std::string path = scratchFile("idioma.txt", input);
    // As the language loader reads it: line after line, past the end as empty texts.
    try {
        TextFileReader reader(path);
        for (int line = 0; line < 200; ++line)
            require(reader.readLine().size() <= 3 * TextFileReader::kMaximumLineLength,
                    "a line is longer than the reader allows");
    } catch (const KavrinError&) {
    }
}

namespace {

// The README's promise for every command: an accepted command line gives no
// option twice unless it repeats, no two options of one choice, and every
// required option.
void requireTableKept(const std::string& command, const std::vector<std::string>& rest)
{
    const ParsedCommandLine parsed = ParseBatchCommandLine(command, rest);
    for (const CommandForm& form : BatchCommandForms()) {
        if (form.command != command || (!form.kinds.empty() && form.kinds.find(parsed.kind()) == std::string_view::npos))
            continue;
        for (const CommandOption& option : form.options) {
            const std::size_t times = parsed.values(option.name).size();
            require(option.repeats || times <= 1, "an option accepted twice");
            std::size_t inChoice = 0;
            for (const CommandOption& other : form.options)
                inChoice += option.choice != 0 && other.choice == option.choice && parsed.given(other.name);
            require(inChoice <= 1, "two options of one choice accepted");
            require(!option.required || times == 1 || inChoice == 1, "a required option left out");
        }
    }
}

}  // namespace

void BatchCommandLine(const std::string& input)
{
    std::vector<std::string> words;
    std::size_t start = 0;
    for (std::size_t end; (end = input.find('\0', start)) != std::string::npos; start = end + 1)
        words.push_back(input.substr(start, end - start));
    words.push_back(input.substr(start));
    const std::string& command = words[0];
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    try {
        if (command == "export")
            ParseBatchExportOptions(rest);
        else if (command == "series")
            ParseBatchSeriesOptions(rest);
        else if (command == "compare")
            ParseBatchCompareOptions(rest);
        else if (command == "fit")
            ParseBatchFitOptions(rest);
        else if (command == "map")
            ParseBatchMapOptions(rest);
        else if (command == "animate")
            ParseBatchAnimateOptions(rest);
        if (command == "export" || command == "series" || command == "compare" || command == "fit" || command == "map" ||
            command == "animate") {
            requireTableKept(command, rest);
            return;
        }
        // Any other first word is read as a run, as the inputs found before
        // the other commands were fuzzed were.
        const BatchRunOptions options = ParseBatchRunOptions(rest);
        requireTableKept("run", rest);
        ParameterTexts texts = InitialParameterTexts();
        for (const auto& [name, text] : options.sets) SetControlText(texts, ControlOfName(name).value(), text, ',');
        ModelState model;
        modelOf(texts, ',', model);
    } catch (const std::invalid_argument&) {
    } catch (const KavrinError&) {
        // A --set text the data window refuses too (the Y pair converts as it mirrors).
    }
}

void Exports(const std::string& input)
{
    if (input.size() < 2) return;
    const std::size_t length =
        static_cast<unsigned char>(input[0]) | static_cast<std::size_t>(static_cast<unsigned char>(input[1])) << 8;
    const std::string project = input.substr(2, length);
    // A results file of a few rows shows every fault; long ones only slow the search.
    std::string results = input.size() > 2 + length ? input.substr(2 + length) : std::string();
    std::size_t rows = 0, cut = 0;
    while (cut < results.size() && rows < 16) {
        cut = results.find('\n', cut);
        if (cut == std::string::npos) break;
        ++cut;
        ++rows;
    }
    if (rows == 16) results.resize(cut);

    const std::string projectPath = scratchFile("e.kvr", project);
    const std::string resultsPath = scratchFile("eT0.txt", results);
    const std::string indexPath = scratchFile("eIndex.txt", resultsPath + "\r\n" + resultsPath + "\r\n");
    ModelState model;
    try {
        const ProjectFileContents contents = ReadProjectFile(projectPath);
        ParameterTexts texts = openedTexts(contents.texts, '.');
        texts.comboBox1 = contents.texts.comboBox1;
        Variaveis(texts, model, '.');
    } catch (const KavrinError&) {
    }
    for (const auto create : {GrdAsccreate, TxtTabcreate}) {
        // New files each time: replacing one would wait for the disk.
        removeOutputs();
        try {
            create(scratchFolder() + "one", resultsPath, 2, model, '.');
            create(scratchFolder() + "all", indexPath, 1, model, ',');
        } catch (const KavrinError&) {
        }
    }
}

}  // namespace kavrin::fuzz
