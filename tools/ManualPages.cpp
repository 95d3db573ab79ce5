// kavrin-manual-pages: writes the manual pages kavrin.1 and kavrin-batch.1
// into a folder. The synopsis and options come from the tables the programs
// parse their command lines with (every kavrin-batch command, the switches
// both programs answer) and the notes from kavrin-batch's usage, so a command
// added to the tables is in the page with nothing else to edit.
// Usage: kavrin-manual-pages FOLDER DATE
#include "BatchCommandTables.h"
#include "program/ProgramSwitches.h"
#include "program/ProgramVersion.h"

#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

using namespace kavrin;

namespace {

// Text for roff: backslashes and hyphens escaped, characters beyond ASCII as
// named Unicode code points, so the page reads the same in any locale.
std::string Escaped(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            // One UTF-8 sequence: its length from the lead byte.
            const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            unsigned codePoint = c & (length == 4 ? 0x07 : length == 3 ? 0x0F : 0x1F);
            for (std::size_t k = 1; k < length && i + 1 < text.size(); ++k)
                codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F);
            char name[16];
            std::snprintf(name, sizeof name, "\\[u%04X]", codePoint);
            out += name;
        }
    }
    // A line of text must not start with a control character.
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

std::string Bold(std::string_view text)
{
    return "\\fB" + Escaped(text) + "\\fR";
}

std::string Italic(std::string_view text)
{
    return "\\fI" + Escaped(text) + "\\fR";
}

// Words joined by "|", each in `style`.
template <class Style>
std::string Alternatives(std::string_view words, Style style)
{
    std::string out;
    for (std::size_t start = 0;;) {
        const std::size_t bar = words.find('|', start);
        out += style(words.substr(start, bar - start));
        if (bar == std::string_view::npos) return out;
        out += "|";
        start = bar + 1;
    }
}

// One usage line of kavrin-batch, as --help writes it, in roff: the program,
// the command, its kinds and option names bold, the values italic, the
// brackets, bars and dots as they are.
std::string SynopsisLine(const CommandForm& form)
{
    std::string usage = UsageOf(std::span<const CommandForm>(&form, 1), std::numeric_limits<std::size_t>::max());
    usage = usage.substr(usage.find("kavrin-batch"));
    while (!usage.empty() && usage.back() == '\n') usage.pop_back();
    std::istringstream words(usage);
    std::string line, word;
    for (int index = 0; words >> word; ++index) {
        const std::size_t first = word.find_first_not_of("[(");
        const std::size_t last = word.find_last_not_of("]).");
        std::string item;
        if (first == std::string::npos || last == std::string::npos || first > last) {
            item = word;  // "|"
        } else {
            const std::string core = word.substr(first, last - first + 1);
            const bool literal = index < 2 || core.starts_with("--") || (index == 2 && core == form.kinds);
            item =
                word.substr(0, first) + (literal ? Alternatives(core, Bold) : Alternatives(core, Italic)) + word.substr(last + 1);
        }
        line += (line.empty() ? "" : " ") + item;
    }
    return line;
}

// What each command does; a command without an entry here shows its synopsis
// and options alone.
const std::map<std::string_view, std::string_view> kCommandPurposes = {
    {"run", "Computes the model and writes its results folder into the workspace: one text grid per time and the index. The "
            "texts start from the data window's defaults, then a parameter file or a project file, then the source files, "
            "then each --set. The last line of the output is the results folder. SIGINT or SIGTERM stop the run once the "
            "time being written is complete; the status is then 128 plus the signal's number."},
    {"export", "Converts results into Surfer grids (grd) or text tables (txt): every time of the project's index into BASE "
               "followed by T, the time and the extension, or with --file one results file into NAME and the extension."},
    {"series", "Prints the numbers behind the charts as CSV: the concentration over time at the node nearest (X, Y), along X "
               "at Y, or along Y at X, at time T."},
    {"map", "Draws the map of one time, or of every time into FOLDER, as 24-bit BMP pictures; carried by "
            "kavrin-batch-pictures."},
    {"animate", "Draws every time's map, in time order, into one looping animated GIF, each frame shown MS milliseconds "
                "(2000 by default); carried by kavrin-batch-pictures."},
    {"compare", "Compares the model with the observations of a table: the observed and calculated concentrations and the "
                "coefficient of determination."},
    {"balance", "Prints the plume's mass balance at each of the project's times as CSV."},
    {"metrics", "Measures the plume above a standard at one time or at each time the project's index lists and prints, as "
                "CSV, its length along the axis from x = 0, its greatest width, its area (m²) and the largest concentration "
                "beyond a distance, each interpolated between the grid's nodes. A measure that the grid's edge cuts short "
                "is a lower bound; standard error names it."},
    {"fit", "Fits the named parameters to the observations and prints the estimates, their standard errors and the fit's "
            "statistics; --save writes the fitted project. Carried by kavrin-batch-fit."},
    {"uncertainty", "Draws the uncertain parameters N times (the realizations), computes each realization's field at each "
                    "time and writes per time the probability of exceeding each threshold and the mean, standard deviation "
                    "and 5th, 50th and 95th percentiles at every node as Surfer grids, the receptors' distributions as "
                    "receptors.csv and the plume length's as plume_length.csv, and prints a summary. Realization k has the "
                    "same numbers whatever the threads or the split, so parts merge into the files of one run, byte for byte."},
    {"export geotiff", "Writes one time's concentrations as a GeoTIFF placed on the site as the project's placement "
                       "says, with its CRS; --north-up warps it onto north-up cells. Carried by kavrin-batch-gis."},
    {"export contours", "Writes one time's contour lines, or with --filled the polygons between levels, as a "
                        "GeoPackage or GeoJSON layer placed on the site. Carried by kavrin-batch-gis."},
    {"export wells", "Writes the observation wells, each with its time, observed and calculated concentrations, "
                     "residual and weight, as a GeoPackage or GeoJSON layer placed on the site. Carried by "
                     "kavrin-batch-gis."},
    {"export mapworld", "Draws one time's map as a BMP picture with its world file beside it (.bpw), so that a GIS "
                        "lays the picture on the site, and, when the placement names a CRS, the CRS in ESRI's WKT as a "
                        ".prj file beside them; without a CRS, an earlier .prj of that name is removed. Carried by "
                        "kavrin-batch-gis."},
    {"merge", "Combines the part files of kavrin-batch uncertainty --part 1/M … M/M, one folder each, into the files one "
              "run of all the realizations writes; parts of different settings, splits, or a share missing or given "
              "twice are refused."},
};

// What an option is for: "command --option" where commands differ, otherwise
// "--option". An option without an entry shows its rules alone.
const std::map<std::string_view, std::string_view> kOptionPurposes = {
    {"--params", "The 21 texts of a parameter file."},
    {"--project", "A project file: its fields give the model, its results folder the results a command reads."},
    {"balance --project", "The saved project whose model is balanced; no results are needed."},
    {"--set", "One text of the model, NAME as under VALUES; applied after the files."},
    {"--steps", "The source's history steps, START,RELATIVE per line; the history becomes steps."},
    {"--zones", "Every source zone, Y,Z,WIDTH,HEIGHT,CONCENTRATION per line; the first is C0, SourceWidth and SourceHeight."},
    {"run --name", "The results folder's name, the local date and time when it is not given; a name that is taken gets "
                   "(2), (3), and so on."},
    {"--save", "Writes a project file at this path."},
    {"--to", "Where the output is written."},
    {"--time", "The time (days)."},
    {"run --save", "Writes the project file at exactly this path after the run, for the desktop program to open. The "
                   "calibration of the --project run goes with it, its observation table copied beside the new results."},
    {"run --reference", "Evaluates every point by the point-by-point formula instead of the whole-grid computation, the "
                        "check of the faster one."},
    {"export --file", "Converts this one results file instead of every time of the project's index."},
    {"export --to", "The output: BASE for every time, or NAME for one file; the extension is added."},
    {"series --x", "The position X (m); the nearest node is taken."},
    {"series --y", "The position Y (m); the nearest node is taken."},
    {"series --time", "The time T (days)."},
    {"map --time", "The time as its results file's name writes it (2500 for T2500.txt)."},
    {"--all", "Every time of the project."},
    {"map --to", "The BMP picture of the one time, or the folder (created) of every time's T<time>.bmp."},
    {"animate --to", "The animated GIF."},
    {"animate --delay", "How long each frame shows, from 10 to 655350 milliseconds."},
    {"--obs", "The observations, a table as the calibration window saves it."},
    {"--fit", "The parameters to fit, as under VALUES."},
    {"--log", "Fits log10 of the concentrations instead of the concentrations."},
    {"--no-log", "Fits the concentrations themselves, also when the project stores the log option."},
    {"--starts", "Fits from N starting points spread inside the bounds (Latin hypercube) and keeps the best; in place of "
                 "the starts a project stores, 1 fits from the given start alone."},
    {"fit --seed", "The seed of the starts: the same seed gives the same starts. Without --starts it replaces the seed of "
                   "the starts a project stores."},
    {"--detection-limit", "Observations below it count as the limit."},
    {"--weights", "The table's weights, or the table's weights divided by the observed concentration squared."},
    {"--bounds", "The bounds of one fitted parameter, in place of a hundredth to a hundred times its value."},
    {"fit --save", "Writes the project with the fitted values at this path, with the fit's choices, and the observation "
                   "table in the results folder of the project's name, so that fit --project runs it again without --obs."},
    {"uncertainty --project", "The saved project whose model the realizations vary; no results are needed."},
    {"--vary", "One uncertain parameter and its distribution, as under VALUES."},
    {"--from-fit", "What kavrin-batch fit printed: its fitted parameters are drawn jointly from their covariance."},
    {"--standard", "The standard (mg/L): the first threshold, that of the receptors and the plume length."},
    {"metrics --project", "The saved project whose results are measured."},
    {"metrics --time", "One time, as its results file's name writes it (2500 for T2500.txt); every listed time when not "
                       "given."},
    {"metrics --standard", "The standard (mg/L), above 0: the plume is where the concentration is above it."},
    {"--beyond", "A distance (m) from the source: max_beyond is the largest concentration at x at or beyond it."},
    {"--threshold", "A further threshold (mg/L); up to 7."},
    {"--realizations", "How many realizations, from 2 to 1000000."},
    {"--seed", "The seed of the random numbers: the same seed gives the same results."},
    {"--lhs", "Latin hypercube sampling: each parameter's N strata hold one realization each."},
    {"uncertainty --time", "A time (days), as the file names write it; the project's times when none is given."},
    {"--receptors", "A CSV file of X,Y,Z per line (at most 50): points whose every realization is kept."},
    {"--part", "Computes only the I-th of M equal shares of the realizations into DIR/uncertainty.part."},
    {"uncertainty --to", "The folder (created) of the grids, receptors.csv and plume_length.csv, or of the part."},
    {"merge --to", "The folder (created) of the merged files."},
    {"export geotiff --file", "One results file instead of the project's time."},
    {"export contours --file", "One results file instead of the project's time."},
    {"export geotiff --north-up", "Warps the picture onto north-up square cells of CELL metres."},
    {"export contours --levels", "The levels (mg/L); the map's levels when not given."},
    {"export contours --filled", "The polygons between the levels instead of the lines."},
    {"export geotiff --to", "The GeoTIFF written."},
    {"export contours --to", "The layer written, a GeoPackage or GeoJSON file by its extension."},
    {"export wells --to", "The layer written, a GeoPackage or GeoJSON file by its extension."},
    {"export mapworld --to", "The BMP picture; its world file and .prj file go beside it."},
    {"export mapworld --time", "The time as its results file's name writes it (2500 for T2500.txt)."},
    {"export geotiff --time", "The time as its results file's name writes it (2500 for T2500.txt)."},
    {"export contours --time", "The time as its results file's name writes it (2500 for T2500.txt)."},
};

// A form's name in the tables of purposes: "export geotiff", or "run" for a
// command without kinds.
std::string FormName(const CommandForm& form)
{
    return std::string(form.command) + (form.kinds.empty() ? "" : " ") + std::string(form.kinds);
}

// The purpose of a form: its own, else its command's. The command's is not
// given to a form whose kinds have their own purposes (export grd|txt's is not
// export geotiff's).
std::string_view FormPurpose(const CommandForm& form)
{
    auto purpose = kCommandPurposes.find(FormName(form));
    if (purpose == kCommandPurposes.end()) purpose = kCommandPurposes.find(form.command);
    return purpose == kCommandPurposes.end() ? std::string_view() : purpose->second;
}

std::string_view OptionPurpose(const CommandForm& form, const CommandOption& option)
{
    auto purpose = kOptionPurposes.find(FormName(form) + " " + std::string(option.name));
    if (purpose == kOptionPurposes.end())
        purpose = kOptionPurposes.find(std::string(form.command) + " " + std::string(option.name));
    if (purpose == kOptionPurposes.end()) purpose = kOptionPurposes.find(option.name);
    return purpose == kOptionPurposes.end() ? std::string_view() : purpose->second;
}

// An option's rules from its row: required, repeating, excluding the others of its choice.
std::string OptionRules(const CommandForm& form, const CommandOption& option)
{
    std::string rules;
    if (option.choice != 0) {
        std::string others;
        for (const CommandOption& other : form.options)
            if (other.choice == option.choice && other.name != option.name)
                others += (others.empty() ? "" : ", ") + Bold(other.name);
        rules += "Not together with " + others + ".";
        if (option.required) rules += " One of them is required.";
    } else if (option.required) {
        rules += "Required.";
    }
    if (option.repeats)
        rules += std::string(rules.empty() ? "" : " ") + "May be given more than once; every value is taken, in order.";
    return rules;
}

void WriteHeader(std::ostream& page, std::string_view title, std::string_view date)
{
    page << ".\\\" Written by kavrin-manual-pages from the programs' command-line tables.\n"
         << ".TH " << Escaped(title) << " 1 \"" << Escaped(date) << "\" \"KAVRIN " << Escaped(kProgramVersion)
         << "\" \"User Commands\"\n"
         << ".ad l\n.nh\n";
}

void WriteSwitches(std::ostream& page)
{
    for (const ProgramSwitch& programSwitch : ProgramSwitches()) {
        page << ".TP\n";
        if (!programSwitch.shortName.empty()) page << Bold(programSwitch.shortName) << ", ";
        page << Bold(programSwitch.name) << "\n" << Escaped(programSwitch.purpose) << "\n";
    }
}

void WriteEnvironment(std::ostream& page, bool desktop)
{
    page << ".SH ENVIRONMENT\n"
         << ".TP\n.B KAVRIN_ROOT\nThe workspace, where results folders are written; " << Italic("$HOME/KAVRIN/")
         << " when it is not set.\n"
         << ".TP\n.B KAVRIN_DECIMAL_SEPARATOR\n"
         << Escaped("\",\" or \".\": the decimal separator of every number text, in place") << " of the system locale's.\n"
         << ".TP\n.B KAVRIN_SETTINGS_DIR\nThe folder of the settings file " << Italic("KAVRIN.ini")
         << " (the language, what happens to earlier results), in place of " << Italic("/etc/xdg") << " and "
         << Italic("~/.config") << ".\n"
         << ".TP\n.B KAVRIN_THREADS\nThe number of threads a computation uses; the number of processors when it is not set.\n";
    if (desktop) page << ".TP\n.B BROWSER\nThe web browser the help window's \"Open in browser\" hands the help page to.\n";
}

std::string BatchPage(std::string_view date)
{
    std::ostringstream page;
    WriteHeader(page, "KAVRIN-BATCH", date);
    page << ".SH NAME\nkavrin\\-batch \\- KAVRIN's model runs, exports, charts' numbers, comparisons, fits and pictures "
            "without a window\n"
         << ".SH SYNOPSIS\n";
    for (const CommandForm& form : BatchCommandForms()) page << ".PP\n" << SynopsisLine(form) << "\n";
    std::string switches;
    for (const ProgramSwitch& programSwitch : ProgramSwitches()) {
        if (!switches.empty()) switches += '|';
        switches += Bold(programSwitch.name);
    }
    page << ".PP\n" << Bold("kavrin-batch") << " " << switches << "\n";
    page << ".SH DESCRIPTION\n"
         << Bold("kavrin-batch") << " computes how a dissolved contaminant spreads in groundwater, as the desktop program "
         << Bold("kavrin")
         << " does, without a window: the analytical three-dimensional solution of the advection\\-dispersion equation "
            "with retardation and first-order decay. It runs the model into a results folder of the workspace and works "
            "on the projects it wrote.\n"
         << ".PP\nThe fit is carried by the program " << Bold("kavrin-batch-fit")
         << " (the solver's libraries), the map and the animation by " << Bold("kavrin-batch-pictures")
         << " (Qt, on its offscreen platform: no display is needed), the georeferenced exports (export geotiff, contours, "
            "wells and mapworld) by "
         << Bold("kavrin-batch-gis") << " (GDAL); all three sit beside " << Bold("kavrin-batch")
         << ", which hands them the same command line, so they answer as it does.\n"
         << ".PP\nOptions come in any order; the word after an option that takes a value is its value.\n";
    page << ".SH COMMANDS\n";
    std::string_view shownPurpose;
    for (const CommandForm& form : BatchCommandForms()) {
        page << ".SS \"" << Escaped(form.command) << (form.kinds.empty() ? "" : " ") << Escaped(form.kinds) << "\"\n";
        // Forms that share their command's purpose (series time, long, trans) show it once.
        const std::string_view purpose = FormPurpose(form);
        if (!purpose.empty() && purpose.data() != shownPurpose.data()) {
            page << Escaped(purpose) << "\n";
            shownPurpose = purpose;
        }
        for (const CommandOption& option : form.options) {
            page << ".TP\n" << Bold(option.name);
            if (!option.value.empty()) page << " " << Alternatives(option.value, Italic);
            const std::string purpose = Escaped(OptionPurpose(form, option)), rules = OptionRules(form, option);
            page << "\n" << purpose << (purpose.empty() || rules.empty() ? "" : " ") << rules << "\n";
        }
    }
    page << ".SH OPTIONS\n";
    WriteSwitches(page);
    // The usage's notes, filled; a line after one that ends a sentence starts a paragraph.
    page << ".SH VALUES\n";
    std::istringstream notes{std::string(BatchUsageNotes())};
    bool sentenceEnded = true;
    for (std::string line; std::getline(notes, line);) {
        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos) continue;
        if (sentenceEnded) page << ".PP\n";
        page << Escaped(std::string_view(line).substr(start)) << "\n";
        sentenceEnded = line.back() == '.';
    }
    page << ".SH EXIT STATUS\n"
         << ".TP\n.B 0\nSuccess.\n"
         << ".TP\n.B 1\nThe command failed; one line on standard error says why.\n"
         << ".TP\n.B 2\nA wrong command line: one line saying what is wrong, then the usage, on standard error.\n"
         << ".TP\n.B 130, 143\nA run stopped by SIGINT or SIGTERM after the time being written; the index lists the "
            "complete times.\n";
    WriteEnvironment(page, false);
    page << ".SH SEE ALSO\n.BR kavrin (1)\n";
    return page.str();
}

std::string DesktopPage(std::string_view date)
{
    std::ostringstream page;
    WriteHeader(page, "KAVRIN", date);
    page << ".SH NAME\nkavrin \\- contaminant transport in groundwater, analytical 3\\-D solution\n"
         << ".SH SYNOPSIS\n"
         << ".PP\n"
         << Bold("kavrin") << " [" << Italic(kDesktopProjectArgument) << "]\n";
    for (const ProgramSwitch& programSwitch : ProgramSwitches())
        page << ".PP\n" << Bold("kavrin") << " " << Bold(programSwitch.name) << "\n";
    page << ".SH DESCRIPTION\n"
         << Bold("kavrin")
         << " computes how a dissolved contaminant spreads in groundwater: the analytical three-dimensional solution of the "
            "advection\\-dispersion equation with retardation and first-order decay, for a rectangular source in a "
            "uniform flow. It writes one concentration grid per time into a project folder of the workspace, draws "
            "maps, animations and charts, compares the model with field observations and fits its parameters to them, "
            "and exports Surfer grids and text tables.\n"
         << ".PP\nIts windows speak Portuguese or English (" << Italic("Editar > Ferramentas")
         << "); the help page of each language opens from the " << Italic("Ajuda") << " menu.\n"
         << ".PP\nThe same computations run without a window with " << Bold("kavrin-batch")
         << ", whose fit, pictures and georeferenced exports are carried by its sibling programs " << Bold("kavrin-batch-fit")
         << ", " << Bold("kavrin-batch-pictures") << " and " << Bold("kavrin-batch-gis") << ".\n"
         << ".SH OPTIONS\n"
         << ".TP\n"
         << Italic(kDesktopProjectArgument) << "\nA project file to open at start.\n";
    WriteSwitches(page);
    WriteEnvironment(page, true);
    page << ".SH FILES\n"
         << ".TP\n"
         << Italic("/usr/lib/kavrin/")
         << "\nThe programs and the files they read: the quadrature table, the language files, the help pages and the "
            "pictures.\n"
         << ".TP\n"
         << Italic("/etc/xdg/KAVRIN.ini") << ", " << Italic("~/.config/KAVRIN.ini")
         << "\nThe settings: machine-wide when that file can be written, otherwise the user's.\n";
    page << ".SH SEE ALSO\n.BR kavrin\\-batch (1)\n";
    return page.str();
}

bool Write(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    if (file) return true;
    std::fprintf(stderr, "kavrin-manual-pages: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: kavrin-manual-pages FOLDER DATE\n", stderr);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    return Write(folder + "kavrin.1", DesktopPage(argv[2])) && Write(folder + "kavrin-batch.1", BatchPage(argv[2])) ? 0 : 1;
}
