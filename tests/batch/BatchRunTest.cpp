#include "BatchOptions.h"
#include "BatchProgram.h"
#include "TestSupport.h"
#include "files/ProjectFile.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <utility>

using namespace kavrin;
using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;

namespace {

using kavrin::test::BatchResult;

std::string quoted(const std::string& word)
{
    return kavrin::test::ShellQuoted(word);
}

BatchResult batch(const TempFolder& folder, const std::vector<std::string>& args, const char* separator = ",")
{
    return kavrin::test::RunBatch(folder, args, separator);
}

}  // namespace

TEST(BatchOptions, ParsesTheRunCommandLine)
{
    const BatchRunOptions options = ParseBatchRunOptions(
        {"--project", "a.kvr", "--set", "DX=5", "--set", "Edit1=2,5", "--name", "P", "--save", "b.kvr", "--reference"});
    EXPECT_EQ(options.projectPath, "a.kvr");
    ASSERT_EQ(options.sets.size(), 2u);
    EXPECT_EQ(options.sets[1], (std::pair<std::string, std::string>{"Edit1", "2,5"}));
    EXPECT_EQ(options.projectName, "P");
    EXPECT_EQ(options.savePath, "b.kvr");
    EXPECT_TRUE(options.reference);
    EXPECT_EQ(ParseBatchRunOptions({"--set", "Decay="}).sets[0].second, "");
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{{"--name"},
                                                                                     {"--set", "DX"},
                                                                                     {"--set", "=5"},
                                                                                     {"--bogus"},
                                                                                     {"--params", "a", "--project", "b"},
                                                                                     {"--set", "Porosidade=1"},
                                                                                     {"--name", "a", "--name", "b"},
                                                                                     {"--save", "a", "--save", "b"}})
        EXPECT_THROW(ParseBatchRunOptions(bad), std::invalid_argument) << bad[0];
}

TEST(BatchRun, WritesTheProjectAndPrintsItsFolderLast)
{
    TempFolder folder;
    const BatchResult result =
        batch(folder, {"run", "--set", "DX=50", "--set", "DY=30", "--name", "Teste", "--save", folder.path() + "t.kvr"});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string projectFolder = folder.path() + "KAVRIN/Teste/";
    EXPECT_EQ(result.lastLine(), projectFolder);
    EXPECT_EQ(CrLfLines(ReadBytes(projectFolder + "T0.txt"))[1].substr(0, 22), "5,00000000000000E-0001");
    EXPECT_EQ(CrLfLines(ReadBytes(projectFolder + "Index.txt")).size(), 2u);

    const ProjectFileContents saved = ReadProjectFile(folder.path() + "t.kvr");
    EXPECT_EQ(saved.projectName, "Teste");
    EXPECT_EQ(saved.texts.edit[1], "0,5");  // the initial texts as the data window shows them
    EXPECT_EQ(saved.texts.edit[7], "50");
    EXPECT_EQ(saved.indexPath, projectFolder + "index.txt");

    // The saved project runs again into Teste(2), with the same numbers.
    const BatchResult again = batch(folder, {"run", "--project", folder.path() + "t.kvr", "--name", "Teste"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.lastLine(), folder.path() + "KAVRIN/Teste(2)/");
    EXPECT_EQ(ReadBytes(folder.path() + "KAVRIN/Teste(2)/T2500.txt"), ReadBytes(projectFolder + "T2500.txt"));
}

// A project run again with --save keeps what the user stored with it: the
// calibration's lines, with the observation table beside the new results under
// the new file's name, and the source and site lines.
TEST(BatchRun, TheSavedProjectKeepsTheCalibrationOfTheProjectRun)
{
    TempFolder folder;
    const std::string campo = folder.path() + "campo.kvr", novo = folder.path() + "novo.kvr";
    ASSERT_EQ(batch(folder, {"run", "--set", "DX=50", "--set", "DY=30", "--name", "Campo", "--save", campo}).status, 0);
    const std::string table = "0,2 10 0 0 1000\r\n0,1 60 5 0 2000 2\r\n";
    kavrin::test::WriteBytes(folder.path() + "KAVRIN/Campo/campo.observations.txt", table);
    const std::vector<std::string> stored = {"SourceHistory=decay",
                                             "SourceDecay=0.001",
                                             "Easting=500000",
                                             "Northing=7000000",
                                             "Azimuth=30",
                                             "CRS=EPSG:31983",
                                             "ObservationTable=campo.observations.txt",
                                             "FitParameters=AlphaX,C0",
                                             "FitBounds=C0 0.1 2",
                                             "FitLog=yes",
                                             "FitDetectionLimit=0.5",
                                             "FitWeights=relative",
                                             "FitStarts=3",
                                             "FitSeed=5"};
    std::string withLines = ReadBytes(campo);
    for (const std::string& line : stored) withLines += "\r\n" + line;
    kavrin::test::WriteBytes(campo, withLines);

    const BatchResult run = batch(folder, {"run", "--project", campo, "--name", "Novo", "--save", novo});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> expected = stored;
    expected[6] = "ObservationTable=novo.observations.txt";
    const std::vector<std::string> lines = CrLfLines(ReadBytes(novo));
    ASSERT_EQ(lines.size(), 25 + stored.size());
    EXPECT_EQ(lines[24], folder.path() + "KAVRIN/Novo/index.txt");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 25, lines.end()), expected);
    EXPECT_EQ(ReadBytes(folder.path() + "KAVRIN/Novo/novo.observations.txt"), table);
    EXPECT_EQ(ReadBytes(folder.path() + "KAVRIN/Campo/campo.observations.txt"), table);

    // Saved over itself, the project keeps them again, its table beside the results of Novo(2).
    ASSERT_EQ(batch(folder, {"run", "--project", novo, "--name", "Novo", "--save", novo}).status, 0);
    const std::vector<std::string> again = CrLfLines(ReadBytes(novo));
    EXPECT_EQ(std::vector<std::string>(again.begin() + 25, again.end()), expected);
    EXPECT_EQ(ReadBytes(folder.path() + "KAVRIN/Novo(2)/novo.observations.txt"), table);

    // A table that is gone cannot be carried: the run is refused before anything is written.
    std::filesystem::remove(folder.path() + "KAVRIN/Campo/campo.observations.txt");
    const BatchResult refused =
        batch(folder, {"run", "--project", campo, "--name", "Lost", "--save", folder.path() + "lost.kvr"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("campo.observations.txt, which cannot be read ("), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "KAVRIN/Lost"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "lost.kvr"));
    EXPECT_EQ(batch(folder, {"run", "--project", campo, "--name", "Lost"}).status, 0) << "the run alone needs no table";
}

TEST(BatchRun, ParameterFilesAndDefaultNames)
{
    TempFolder folder;
    kavrin::test::WriteBytes(folder.path() + "p.dat",
                             "1\r\n20\r\n3\r\n0\r\n0\r\n100\r\n50\r\n30\r\n30\r\n-30\r\n80\r\n100\r\n20\r\n1\r\n0.2\r\n0.2\r\n0."
                             "2\r\n0.5\r\n0.01\r\n1\r\n0.00002\r\n4\r\n");
    const BatchResult result = batch(folder, {"run", "--params", folder.path() + "p.dat"}, ".");
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string name = result.lastLine().substr(folder.path().size() + 7);
    EXPECT_EQ(name.find_first_of(":/", 0), name.size() - 1) << name;  // only the trailing "/"
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(result.lastLine())) files.push_back(entry.path().filename());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"Index.txt", "T100.txt", "T80.txt"}));
}

TEST(BatchRun, FailuresGiveOneLineAndANonZeroStatus)
{
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"run", "--set", "DX=0"}, "Floating point division by zero"},
        {{"run", "--set", "Edit1=abc"}, "'abc' is not a valid floating point value"},
        {{"run", "--set", "GaussOrder=x"}, "''x'' is not a valid integer value"},
        {{"run", "--set", "Y1=226"}, "The Y range holds more than 450 intervals"},
        {{"run", "--set", "X1=60", "--set", "Y1=40"}, "The Y range is longer than the X range"},
        {{"run", "--set", "Y1=10"}, "The Y range must be longer than the source width"},
        {{"run", "--set", "DT=0"}, "DT must be greater than zero"},
        {{"run", "--set", "T1=-1"}, "T1 is earlier than the initial time T0"},
        {{"run", "--name", "../outside"}, "must not contain \"/\""},
        {{"run", "--name", ".."}, "cannot be used as a folder name"},
        {{"run", "--params", "/nonexistent/p.dat"}, "I/O error 2"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const BatchResult result = batch(folder, c.args);
        EXPECT_EQ(result.status, 1) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_FALSE(std::filesystem::exists(folder.path() + "KAVRIN")) << c.message << ": nothing is written";
        EXPECT_FALSE(std::filesystem::exists(folder.path() + "outside"));
    }
}

TEST(BatchRun, EveryWrongCommandLineGivesStatusTwoAndTheUsage)
{
    const std::vector<std::vector<std::string>> wrong = {{},
                                                         {"launch"},
                                                         {"run", "--bogus"},
                                                         {"run", "--set", "Porosidade=1"},
                                                         {"run", "--params", "a", "--params", "b"},
                                                         {"export"},
                                                         {"export", "png", "--project", "p", "--to", "x"},
                                                         {"export", "grd", "--project", "p"},
                                                         {"export", "grd", "--project", "p", "--to", "x", "--to", "y"},
                                                         {"export", "grd", "--project", "p", "--to"},
                                                         {"export", "grd", "--bogus", "p", "--project", "p", "--to", "x"},
                                                         // handed to the fit and picture programs, which answer the same way
                                                         {"fit"},
                                                         {"fit", "--obs", "t.txt", "--fit", "Porosity"},
                                                         {"map"},
                                                         {"animate", "--project", "p.kvr"}};
    for (const std::vector<std::string>& args : wrong) {
        TempFolder folder;
        const BatchResult result = batch(folder, args);
        EXPECT_EQ(result.status, 2) << (args.empty() ? "(nothing)" : args.back());
        EXPECT_NE(result.err.find("usage: kavrin-batch"), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(folder.path() + "KAVRIN"));
    }
}

// A run starts in milliseconds because kavrin-batch itself loads no more
// than the C++ runtime; Qt and the solver are the sibling programs' burden.
TEST(BatchRun, TheRunProgramLoadsNeitherQtNorTheSolver)
{
    TempFolder folder;
    const std::string command =
        std::string("LD_TRACE_LOADED_OBJECTS=1 ") + KAVRIN_BIN_DIR + "kavrin-batch >" + folder.path() + "libs.txt";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string libraries = ReadBytes(folder.path() + "libs.txt");
    EXPECT_NE(libraries.find("libc.so"), std::string::npos) << libraries;
    for (const char* heavy : {"Qt6", "ceres", "gif", "glog"})
        EXPECT_EQ(libraries.find(heavy), std::string::npos) << heavy << " in\n" << libraries;
}

// Without its sibling programs (a copy of kavrin-batch alone), fit and map say
// which program is missing and fail; the run still works.
TEST(BatchRun, AMissingSiblingProgramIsAFailureThatNamesIt)
{
    TempFolder folder;
    std::filesystem::copy_file(std::string(KAVRIN_BIN_DIR) + "kavrin-batch", folder.path() + "kavrin-batch");
    std::filesystem::copy_file(std::string(KAVRIN_BIN_DIR) + "valores.txt", folder.path() + "valores.txt");
    auto alone = [&](const std::string& words) {
        const std::string command = "KAVRIN_ROOT=" + quoted(folder.path() + "KAVRIN") + " " +
                                    quoted(folder.path() + "kavrin-batch") + " " + words + " >/dev/null 2>" +
                                    quoted(folder.path() + "err.txt");
        const int status = std::system(command.c_str());
        return std::make_pair(WEXITSTATUS(status), ReadBytes(folder.path() + "err.txt"));
    };
    for (const auto& [words, program] :
         {std::pair<std::string, std::string>{"fit", "kavrin-batch-fit"}, {"map", "kavrin-batch-pictures"}}) {
        const auto [status, err] = alone(words);
        EXPECT_EQ(status, 1) << words;
        EXPECT_NE(err.find("cannot start " + folder.path() + program), std::string::npos) << err;
    }
    EXPECT_EQ(alone("run --set DT=2500").first, 0);
}

TEST(BatchRun, TheReferencePathWritesTheSameNumbers)
{
    TempFolder folder;
    const std::vector<std::string> model = {"--set", "DX=2", "--set", "DY=2", "--set", "DT=1250", "--set", "GaussOrder=104"};
    std::vector<std::string> fastArgs = {"run", "--name", "Fast"}, referenceArgs = {"run", "--name", "Reference", "--reference"};
    fastArgs.insert(fastArgs.end(), model.begin(), model.end());
    referenceArgs.insert(referenceArgs.end(), model.begin(), model.end());
    ASSERT_EQ(batch(folder, fastArgs).status, 0);
    ASSERT_EQ(batch(folder, referenceArgs).status, 0);
    for (const char* file : {"T0.txt", "T1250.txt", "T2500.txt"}) {
        const std::string fast = ReadBytes(folder.path() + "KAVRIN/Fast/" + file);
        const std::string reference = ReadBytes(folder.path() + "KAVRIN/Reference/" + file);
        const std::vector<std::string> fastLines = CrLfLines(fast), referenceLines = CrLfLines(reference);
        ASSERT_EQ(fastLines.size(), 31u);
        ASSERT_EQ(fastLines.size(), referenceLines.size());
        for (std::size_t k = 0; k < fastLines.size(); ++k) {
            std::istringstream a(fastLines[k]), b(referenceLines[k]);
            std::string x, y;
            int values = 0;
            while (a >> x && b >> y) {
                std::replace(x.begin(), x.end(), ',', '.');
                std::replace(y.begin(), y.end(), ',', '.');
                const double u = std::stod(x), v = std::stod(y);
                EXPECT_NEAR(u, v, std::max(1e-12 * std::fabs(v), 1e-15 * 0.5)) << file << " row " << k;
                ++values;
            }
            EXPECT_EQ(values, 51);
        }
    }
    EXPECT_EQ(ReadBytes(folder.path() + "KAVRIN/Fast/T0.txt"), ReadBytes(folder.path() + "KAVRIN/Reference/T0.txt"));
}

TEST(BatchExport, GridsAndTablesOfASavedProject)
{
    TempFolder folder;
    ASSERT_EQ(batch(folder, {"run", "--set", "DX=50", "--set", "DY=30", "--set", "DT=1250", "--name", "P", "--save",
                             folder.path() + "p.kvr"})
                  .status,
              0);
    ASSERT_EQ(batch(folder, {"export", "grd", "--project", folder.path() + "p.kvr", "--to", folder.path() + "plume"}).status, 0);
    for (const char* file : {"plumeT0.grd", "plumeT1250.grd", "plumeT2500.grd"})
        EXPECT_TRUE(std::filesystem::exists(folder.path() + file)) << file;
    const std::vector<std::string> grid = CrLfLines(ReadBytes(folder.path() + "plumeT2500.grd"));
    ASSERT_EQ(grid.size(), 8u);
    EXPECT_EQ(grid[1], "3 3");
    EXPECT_EQ(grid[4], "0 0.5");
    EXPECT_EQ(grid[6].substr(0, 23), "5.00000000000000E-0001 ") << "points in the data on a comma system";

    const std::string results = folder.path() + "KAVRIN/P/T2500.txt";
    ASSERT_EQ(
        batch(folder, {"export", "txt", "--project", folder.path() + "p.kvr", "--file", results, "--to", folder.path() + "one"})
            .status,
        0);
    const std::vector<std::string> table = CrLfLines(ReadBytes(folder.path() + "one.txt"));
    ASSERT_EQ(table.size(), 9u);
    EXPECT_EQ(table[3], "0 0 5.00000000000000E-0001");

    const BatchResult missing = batch(folder, {"export", "grd", "--project", folder.path() + "none.kvr", "--to", "x"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("I/O error 2"), std::string::npos);
    EXPECT_EQ(batch(folder, {"export", "png", "--project", "p", "--to", "x"}).status, 2);
}

TEST(BatchSeries, ThePointsOfEachChartAsCsv)
{
    TempFolder folder;
    const std::string kvr = folder.path() + "s.kvr";
    ASSERT_EQ(batch(folder, {"run", "--set", "DX=25", "--set", "DY=15", "--set", "DT=1250", "--name", "S", "--save", kvr}).status,
              0);
    const auto lines = [&](const std::vector<std::string>& args) {
        const BatchResult result = batch(folder, args);
        EXPECT_EQ(result.status, 0) << result.err;
        std::vector<std::string> split;
        std::istringstream in(result.out);
        for (std::string line; std::getline(in, line);) split.push_back(line);
        return split;
    };
    // The values as the time files hold them (X 0…100 by 25, Y −30…30 by 15), points for commas.
    const auto value = [&](const char* time, int row, int column) {
        std::string line = CrLfLines(ReadBytes(folder.path() + "KAVRIN/S/T" + time + ".txt"))[static_cast<std::size_t>(row - 1)];
        std::istringstream words(line);
        std::string word;
        for (int i = 0; i < column; ++i) words >> word;
        std::replace(word.begin(), word.end(), ',', '.');
        return std::stod(word);
    };
    const auto row = [](const std::string& line) {
        const std::size_t comma = line.find(',');
        return std::pair{std::stod(line.substr(0, comma)), std::stod(line.substr(comma + 1))};
    };

    const std::vector<std::string> time = lines({"series", "time", "--project", kvr, "--x", "25", "--y", "0.0"});
    ASSERT_EQ(time.size(), 4u);
    EXPECT_EQ(time[0], "time,concentration");
    EXPECT_EQ(row(time[2]), (std::pair{1250.0, value("1250", 3, 2)}));
    EXPECT_EQ(row(time[3]), (std::pair{2500.0, value("2500", 3, 2)}));

    const std::vector<std::string> along = lines({"series", "long", "--project", kvr, "--time", "2500", "--y", "15"});
    ASSERT_EQ(along.size(), 6u);
    EXPECT_EQ(along[0], "x,concentration");
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(row(along[static_cast<std::size_t>(i)]), (std::pair{25.0 * (i - 1), value("2500", 4, i)}));

    const std::vector<std::string> across = lines({"series", "trans", "--project", kvr, "--time", "1250", "--x", "50"});
    ASSERT_EQ(across.size(), 6u);
    EXPECT_EQ(across[0], "y,concentration");
    EXPECT_EQ(row(across[1]), (std::pair{-30.0, value("1250", 1, 3)}));
    EXPECT_GT(row(across[3]).second, 0);

    const BatchResult outside = batch(folder, {"series", "long", "--project", kvr, "--time", "2500", "--y", "40"});
    EXPECT_EQ(outside.status, 1);
    EXPECT_EQ(outside.out, "");
    EXPECT_NE(outside.err.find("Y = 40 is outside the grid, which goes from Y = -30 to Y = 30."), std::string::npos)
        << outside.err;
    const BatchResult noTime = batch(folder, {"series", "trans", "--project", kvr, "--time", "7", "--x", "0"});
    EXPECT_EQ(noTime.status, 1);
    EXPECT_NE(noTime.err.find("T7.txt does not exist"), std::string::npos) << noTime.err;
    EXPECT_EQ(batch(folder, {"series", "time", "--project", kvr, "--x", "0"}).status, 2);
}

namespace {

// The colour of pixel (x, y) of an 800 × 640 24-bit bitmap (rows bottom-up, BGR).
std::array<int, 3> bitmapPixel(const std::string& bytes, int x, int y)
{
    const std::size_t at = 54 + static_cast<std::size_t>(639 - y) * 2400 + static_cast<std::size_t>(3 * x);
    return {static_cast<unsigned char>(bytes[at + 2]), static_cast<unsigned char>(bytes[at + 1]),
            static_cast<unsigned char>(bytes[at])};
}

}  // namespace

TEST(BatchMap, PicturesOfOneTimeAndOfEveryTime)
{
    TempFolder folder;
    ASSERT_EQ(batch(folder, {"run", "--set", "DX=2", "--set", "DY=2", "--set", "DT=1250", "--name", "P", "--save",
                             folder.path() + "p.kvr"})
                  .status,
              0);
    const BatchResult one =
        batch(folder, {"map", "--project", folder.path() + "p.kvr", "--time", "0", "--to", folder.path() + "source.bmp"});
    ASSERT_EQ(one.status, 0) << one.err;
    const std::string source = ReadBytes(folder.path() + "source.bmp");
    ASSERT_EQ(source.size(), 54u + 800 * 640 * 3);
    EXPECT_EQ(source.substr(0, 2), "BM");
    EXPECT_EQ((bitmapPixel(source, 53, 320)), (std::array<int, 3>{255, 0, 0})) << "the source bar";
    EXPECT_EQ((bitmapPixel(source, 710, 466)), (std::array<int, 3>{255, 0, 0})) << "the scale's last cell";
    EXPECT_EQ((bitmapPixel(source, 700, 187)), (std::array<int, 3>{212, 238, 255})) << "the scale's first cell";

    const BatchResult all = batch(folder, {"map", "--project", folder.path() + "p.kvr", "--all", "--to", folder.path() + "maps"});
    ASSERT_EQ(all.status, 0) << all.err;
    for (const char* file : {"maps/T0.bmp", "maps/T1250.bmp", "maps/T2500.bmp"})
        EXPECT_TRUE(std::filesystem::exists(folder.path() + file)) << file;
    EXPECT_EQ(ReadBytes(folder.path() + "maps/T0.bmp"), source);
    EXPECT_EQ(all.lastLine(), folder.path() + "maps/T2500.bmp");

    const BatchResult missing =
        batch(folder, {"map", "--project", folder.path() + "p.kvr", "--time", "2500.0", "--to", folder.path() + "x.bmp"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("T2500.0.txt"), std::string::npos) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "x.bmp"));
    EXPECT_EQ(batch(folder, {"map", "--project", "p.kvr", "--to", "x.bmp"}).status, 2) << "neither --time nor --all";
    EXPECT_EQ(batch(folder, {"map", "--project", "p.kvr", "--time", "0", "--all", "--to", "x"}).status, 2);
}

TEST(BatchAnimate, OneGifOfEveryTimesMap)
{
    TempFolder folder;
    ASSERT_EQ(batch(folder, {"run", "--set", "DX=5", "--set", "DY=5", "--set", "DT=1250", "--name", "P", "--save",
                             folder.path() + "p.kvr"})
                  .status,
              0);
    ASSERT_EQ(batch(folder, {"map", "--project", folder.path() + "p.kvr", "--all", "--to", folder.path() + "maps"}).status, 0);
    const BatchResult made =
        batch(folder, {"animate", "--project", folder.path() + "p.kvr", "--to", folder.path() + "p.gif", "--delay", "500"});
    ASSERT_EQ(made.status, 0) << made.err;
    int error = 0;
    GifFileType* gif = DGifOpenFileName((folder.path() + "p.gif").c_str(), &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    ASSERT_EQ(gif->ImageCount, 3);
    const char* names[3] = {"maps/T0.bmp", "maps/T1250.bmp", "maps/T2500.bmp"};
    for (int n = 0; n < 3; ++n) {
        const std::string bmp = ReadBytes(folder.path() + names[n]);
        GraphicsControlBlock control;
        DGifSavedExtensionToGCB(gif, n, &control);
        EXPECT_EQ(control.DelayTime, 50);
        int differences = 0;
        for (int y = 0; y < 640; ++y)
            for (int x = 0; x < 800; ++x) {
                const GifColorType c = gif->SColorMap->Colors[gif->SavedImages[n].RasterBits[y * 800 + x]];
                differences += bitmapPixel(bmp, x, y) != std::array<int, 3>{c.Red, c.Green, c.Blue};
            }
        EXPECT_EQ(differences, 0) << names[n];
    }
    DGifCloseFile(gif, &error);
    EXPECT_EQ(batch(folder, {"animate", "--project", "p.kvr", "--to", "x.gif", "--delay", "fast"}).status, 2);
}

TEST(BatchMap, AWriteErrorOfAPictureNamesItsCause)
{
    TempFolder folder;
    ASSERT_EQ(batch(folder, {"run", "--set", "DX=50", "--set", "DY=30", "--name", "P", "--save", folder.path() + "p.kvr"}).status,
              0);
    kavrin::test::WriteBytes(folder.path() + "file", "x");
    struct Case {
        std::vector<std::string> command;
        std::string cause;
    };
    const std::string project = folder.path() + "p.kvr";
    for (const Case& c :
         {Case{{"map", "--project", project, "--time", "0", "--to", folder.path() + "missing/m.bmp"},
               "(No such file or directory)"},
          Case{{"map", "--project", project, "--all", "--to", folder.path() + "file/maps"}, "(Not a directory)"},
          Case{{"animate", "--project", project, "--to", folder.path() + "missing/a.gif"}, "(No such file or directory)"},
          Case{{"animate", "--project", project, "--to", folder.path() + "file/a.gif"}, "(Not a directory)"}}) {
        const BatchResult result = batch(folder, c.command);
        EXPECT_EQ(result.status, 1) << c.command[0];
        EXPECT_NE(result.err.find(c.cause), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find("I/O error 5"), std::string::npos) << result.err;
    }
}

TEST(BatchExport, AnEmptyOutputNameIsAFileErrorAndWritesNothing)
{
    TempFolder folder;
    ASSERT_EQ(batch(folder, {"run", "--set", "DX=50", "--set", "DY=30", "--name", "P", "--save", folder.path() + "p.kvr"}).status,
              0);
    for (const char* format : {"grd", "txt"}) {
        const std::string command = "cd " + quoted(folder.path()) + " && " + KAVRIN_BIN_DIR + "kavrin-batch export " + format +
                                    " --project p.kvr --to '' 2>err.txt";
        EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 1) << format;
        EXPECT_NE(ReadBytes(folder.path() + "err.txt").find("I/O error 2"), std::string::npos);
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
    }
}

TEST(BatchExport, NoExportEatsItsInputAndAPartialTimeIsRefused)
{
    TempFolder folder;
    ASSERT_EQ(batch(folder, {"run", "--set", "DX=50", "--set", "DY=30", "--name", "P", "--save", folder.path() + "p.kvr"}).status,
              0);
    const std::string results = folder.path() + "KAVRIN/P/";
    const std::string before = ReadBytes(results + "T2500.txt");
    const std::vector<std::vector<std::string>> refused = {
        {"export", "txt", "--project", folder.path() + "p.kvr", "--to", results},
        {"export", "txt", "--project", folder.path() + "p.kvr", "--file", results + "T2500.txt", "--to", results + "T2500"},
    };
    for (const auto& args : refused) {
        const BatchResult result = batch(folder, args);
        EXPECT_EQ(result.status, 1) << args.back();
        EXPECT_NE(result.err.find("Nothing was written."), std::string::npos) << result.err;
    }
    EXPECT_EQ(ReadBytes(results + "T2500.txt"), before);

    // The time cut after its first row.
    kavrin::test::WriteBytes(results + "T2500.txt", before.substr(0, before.find('\n') + 1));
    const std::vector<std::vector<std::string>> readers = {
        {"export", "grd", "--project", folder.path() + "p.kvr", "--to", folder.path() + "g"},
        {"series", "long", "--project", folder.path() + "p.kvr", "--time", "2500", "--y", "0"},
        {"series", "time", "--project", folder.path() + "p.kvr", "--x", "0", "--y", "-30"},  // a row the cut file has
        {"map", "--project", folder.path() + "p.kvr", "--time", "2500", "--to", folder.path() + "m.bmp"},
    };
    for (const auto& args : readers) {
        const BatchResult result = batch(folder, args);
        EXPECT_EQ(result.status, 1) << args[0];
        EXPECT_NE(result.err.find(results + "T2500.txt, line 2: the file ends after 1 rows"), std::string::npos) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "gT2500.grd"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "m.bmp"));
}

TEST(BatchReaders, ANamedPipeIsRefusedAtOnceByEveryCommand)
{
    TempFolder folder;
    const std::string pipe = folder.path() + "f";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::vector<std::vector<std::string>> commands = {
        {"export", "grd", "--project", pipe, "--to", folder.path() + "x"},
        {"run", "--params", pipe},
        {"compare", "--obs", pipe},
        {"series", "time", "--project", pipe, "--x", "0", "--y", "0"},
        {"map", "--project", pipe, "--time", "0", "--to", folder.path() + "m.bmp"},
    };
    for (const auto& args : commands) {
        // Stopped after 20 s, with status 124, when it waits for a writer.
        std::string command = "timeout 20 " + std::string(KAVRIN_BIN_DIR) + "kavrin-batch";
        for (const std::string& arg : args) command += ' ' + quoted(arg);
        command += " >/dev/null 2>" + quoted(folder.path() + "err.txt") + " </dev/null";
        EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 1) << args[0];
        EXPECT_NE(ReadBytes(folder.path() + "err.txt").find(pipe + " is not a file"), std::string::npos) << args[0];
    }
}
