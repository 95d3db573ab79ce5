// The chart series from a fuzzed index and fuzzed time files: the time series
// of a node read line by line through the index, and the profiles of a loaded
// time, with pipes, devices and folders among what the index names.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "charts/ChartSeries.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "workspace/ResultLoading.h"

#include <cmath>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kavrin::fuzz {

namespace {

// This target's files in the scratch folder, beside a pipe no one writes to
// and a folder.
std::string seriesFile(const std::string& name)
{
    static const bool made = [] {
        require(::mkfifo((scratchFolder() + "series-pipe").c_str(), 0600) == 0, "no pipe");
        require(::mkdir((scratchFolder() + "series-folder").c_str(), 0700) == 0, "no folder");
        return true;
    }();
    return made ? scratchFolder() + "series-" + name : std::string();
}

// Each "@k" of the index text names something: @0…@2 the time files, @p the
// pipe, @z /dev/zero, @n /dev/null, @d a folder, @m a file that is not there.
std::string namedIndex(const std::string& text, const std::vector<std::string>& times)
{
    std::string index;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] != '@' || k + 1 == text.size()) {
            index += text[k];
            continue;
        }
        const char name = text[++k];
        if (name >= '0' && name <= '2')
            index += times[static_cast<std::size_t>(name - '0')];
        else if (name == 'p')
            index += seriesFile("pipe");
        else if (name == 'z')
            index += "/dev/zero";
        else if (name == 'n')
            index += "/dev/null";
        else if (name == 'd')
            index += seriesFile("folder");
        else if (name == 'm')
            index += seriesFile("missing.txt");
        else
            index += std::string("@") + name;
    }
    return index;
}

std::vector<std::string> piecesOf(const std::string& input, char separator)
{
    std::vector<std::string> pieces(1);
    for (char c : input) {
        if (c == separator)
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}

}  // namespace

void ChartSeries(const std::string& input)
{
    if (input.size() < 3) return;
    // A grid of 1 to 8 nodes along X and Y, steps of 10, and the node asked for.
    ModelState model;
    model.X0 = 0, model.DX = 10, model.X1 = 10.0 * (static_cast<unsigned char>(input[0]) % 8);
    model.Y0 = -20, model.DY = 10, model.Y1 = -20 + 10.0 * (static_cast<unsigned char>(input[1]) % 8);
    model.T0 = 0, model.DT = 5, model.T1 = 100;
    const int node = static_cast<unsigned char>(input[2]);
    const double x = 10.0 * (node % 9), y = -20 + 10.0 * (node / 9 % 9);  // one step beyond the grid, now and then

    std::vector<std::string> pieces = piecesOf(input.substr(3), '\x1e');
    pieces.resize(4);
    std::vector<std::string> times;
    for (int k = 0; k < 3; ++k) {
        times.push_back(seriesFile('T' + std::to_string(k) + ".txt"));
        scratchFile("series-T" + std::to_string(k) + ".txt", pieces[static_cast<std::size_t>(k) + 1]);
    }
    const std::string index = seriesFile("Index.txt");
    // An index of a few lines shows every fault; long ones only slow the search.
    std::string indexTemplate = pieces[0];
    std::size_t cut = 0;
    for (int lines = 0; lines < 12 && cut != std::string::npos; ++lines) {
        cut = indexTemplate.find('\n', cut);
        if (cut != std::string::npos) ++cut;
    }
    if (cut != std::string::npos) indexTemplate.resize(cut);
    const std::string indexText = namedIndex(indexTemplate, times);
    scratchFile("series-Index.txt", indexText);

    ChartPoints points;
    bool whole = false;
    try {
        whole = ConcentrationTimeSeries(index, model, FormatGeneral(x, '.'), FormatGeneral(y, '.'), '.', points);
        require(whole, "an index that is there reads as missing");
    } catch (const KavrinError&) {
    }
    std::size_t lines = 0;
    for (std::size_t at = 0; at < indexText.size(); ++at) {
        const bool end =
            indexText[at] == '\n' || (indexText[at] == '\r' && (at + 1 == indexText.size() || indexText[at + 1] != '\n'));
        if (end) ++lines;
    }
    if (!indexText.empty() && indexText.back() != '\n' && indexText.back() != '\r') ++lines;
    require(points.size() <= lines, "more points than index lines");
    if (whole) require(points.size() == lines, "a series that ended well lost a time");

    // A time file that loads as a whole time of the grid gives the series,
    // through an index naming it alone, the value the loaded grid holds.
    const GridAxis xAxis = XAxisOf(model), yAxis = YAxisOf(model);
    const int i = node % 9 + 1, j = node / 9 % 9 + 1;
    for (std::size_t k = 0; k < points.size(); ++k)
        require(points[k].x == 5.0 * static_cast<double>(k), "a point's time is not counted by index lines");
    static ResultGrid grid;  // the program's one grid
    for (const std::string& time : times) {
        try {
            if (!LoadResultFile(time, grid, model, '.')) continue;
        } catch (const KavrinError&) {
            continue;
        }
        if (i > xAxis.count || j > yAxis.count) continue;
        scratchFile("series-Index.txt", time + "\r\n");
        ChartPoints one;
        try {
            ConcentrationTimeSeries(index, model, FormatGeneral(x, '.'), FormatGeneral(y, '.'), '.', one);
        } catch (const KavrinError&) {
            require(false, "the series refuses a time that loads");
        }
        require(one.size() == 1, "the series of one whole time has not one point");
        const double loaded = grid.at(i, j);
        require(one[0].y == loaded || (std::isnan(one[0].y) && std::isnan(loaded)), "the series and the loaded time disagree");
        require(GridProfile(grid, xAxis, j).size() == static_cast<std::size_t>(xAxis.count), "a profile lost nodes");
    }
}

}  // namespace kavrin::fuzz
