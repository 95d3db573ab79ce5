#include "BatchProgram.h"
#include "TestSupport.h"
#include "files/ProjectFile.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin;
using kavrin::test::BatchResult;
using kavrin::test::ReadBytes;
using kavrin::test::RunBatch;
using kavrin::test::TempFolder;

TEST(BatchSitePlacement, SetPlacesTheSavedProjectOnTheSiteAndAProjectWithoutItKeepsTwentyFiveLines)
{
    TempFolder folder;
    const std::vector<std::string> model = {"run", "--set", "DX=50", "--set", "DY=30", "--name", "P"};
    std::vector<std::string> plain = model, placed = model;
    plain.insert(plain.end(), {"--save", folder.path() + "plain.kvr"});
    placed.insert(placed.end(), {"--set", "Easting=332150,5", "--set", "Northing=7394820", "--set", "Azimuth=30", "--set",
                                 "CRS=EPSG:31983", "--save", folder.path() + "placed.kvr"});
    ASSERT_EQ(RunBatch(folder, plain).status, 0);
    const BatchResult result = RunBatch(folder, placed);
    ASSERT_EQ(result.status, 0) << result.err;

    const std::string plainBytes = ReadBytes(folder.path() + "plain.kvr");
    EXPECT_EQ(std::count(plainBytes.begin(), plainBytes.end(), '\n'), 24);
    const ProjectFileContents saved = ReadProjectFile(folder.path() + "placed.kvr");
    EXPECT_EQ(saved.texts.site, (SitePlacementTexts{"332150,5", "7394820", "30", "EPSG:31983"}));
    EXPECT_EQ(saved.texts.edit, ReadProjectFile(folder.path() + "plain.kvr").texts.edit);
}

TEST(BatchSitePlacement, APlacementThatIsNotANumberIsRefusedBeforeAnythingIsWritten)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Azimuth=north", "Azimuth takes a finite number of degrees clockwise from grid north, not \"north\"."},
        {"Easting=1e999", "Easting takes a finite number of metres, not \"1e999\"."},
        {"Northing=inf", "Northing takes a finite number of metres, not \"inf\"."},
    };
    for (const auto& [set, message] : cases) {
        TempFolder folder;
        const BatchResult result = RunBatch(folder, {"run", "--set", set, "--save", folder.path() + "p.kvr"});
        EXPECT_EQ(result.status, 1) << set;
        EXPECT_EQ(result.err, "kavrin-batch: " + message + "\n");
        EXPECT_FALSE(std::filesystem::exists(folder.path() + "KAVRIN")) << set;
        EXPECT_FALSE(std::filesystem::exists(folder.path() + "p.kvr")) << set;
    }
}
