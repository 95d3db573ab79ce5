// Every reader of outside data refuses a named pipe with no writer at once
// instead of waiting in open() for a writer that never comes.
#include "TestSupport.h"
#include "calibration/ObservationTable.h"
#include "charts/ChartSeries.h"
#include "files/ParameterFile.h"
#include "files/ProjectFile.h"
#include "files/ResultExports.h"
#include "model/Variaveis.h"
#include "solution/Quadrature.h"
#include "text/TextLine.h"
#include "workspace/ResultLoading.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>

using namespace kavrin;
using kavrin::test::FailureTextWithin;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

TEST(NamedPipes, EveryReaderRefusesAPipeWithNoWriterAtOnce)
{
    TempFolder folder;
    const std::string pipe = folder.path() + "pipe.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string listing = folder.path() + "Index.txt";  // an index naming the pipe as a time file
    WriteBytes(listing, pipe + "\r\n");
    ModelState model;
    model.X0 = 0, model.X1 = 10, model.DX = 10, model.Y0 = 0, model.Y1 = 10, model.DY = 10;
    model.T0 = 0, model.T1 = 10, model.DT = 10;
    std::filesystem::create_directories(folder.path() + "out");
    const std::string out = folder.path() + "out/x";

    struct Reader {
        const char* name;
        std::function<void()> read;
    };
    const Reader readers[] = {
        {"parameter file", [&] { ReadParameterFile(pipe); }},
        {"project file", [&] { ReadProjectFile(pipe); }},
        {"observation import", [&] { ObservationTable().Import(pipe, '.'); }},
        {"quadrature table",
         [&] {
             QuadratureState q;
             LoadGaussOrder(q, 60, pipe, '.');
         }},
        {"export of a chosen file", [&] { GrdAsccreate(out, pipe, 2, model, '.'); }},
        {"index of an export", [&] { TxtTabcreate(out, pipe, 1, model, '.'); }},
        {"time file of an export", [&] { GrdAsccreate(out, listing, 1, model, '.'); }},
        {"index of the time series",
         [&] {
             ChartPoints p;
             ConcentrationTimeSeries(pipe, model, "0", "0", '.', p);
         }},
        {"time file of the time series",
         [&] {
             ChartPoints p;
             ConcentrationTimeSeries(listing, model, "0", "0", '.', p);
         }},
        {"loaded time",
         [&] {
             ResultGrid grid;
             LoadResultFile(pipe, grid, model, '.');
         }},
        {"loaded time, unchecked",
         [&] {
             ResultGrid grid;
             LoadResultFile(pipe, grid, '.');
         }},
        {"line reader", [&] { ReadTextLine(pipe, 1); }},
    };
    for (const Reader& reader : readers)
        EXPECT_EQ(FailureTextWithin(5, reader.read), pipe + " is not a file (a folder, a device or a pipe); choose a file.")
            << reader.name;
}
