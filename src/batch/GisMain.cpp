// kavrin-batch-gis: the georeferenced exports of kavrin-batch (geotiff,
// contours, wells), in a program of their own because GDAL and the many
// libraries it loads take time that a run should not pay.
#include "BatchCommand.h"
#include "BatchGeoExport.h"
#include "program/ProgramSwitches.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    using namespace kavrin;
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (const auto status = AnswerProgramSwitch("kavrin-batch-gis", words, kBatchUsage, std::cout)) return *status;
    if (words.size() < 2 || words[0] != "export" || !IsGeoExportKind(words[1]) || words[1] == "mapworld") {
        std::cerr << kBatchUsage;
        return 2;
    }
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    const BatchEnvironment environment = ReadBatchEnvironment();
    return RunBatchCommand([&] { return ParseBatchGeoExportOptions(rest); },
                           [&](const BatchGeoExportOptions& options) { PerformBatchGeoExport(options, environment, std::cout); });
}
