#include "files/FitProjectLines.h"
#include "TestSupport.h"
#include "files/ProjectFile.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::FailureText;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

void writeProject(const std::string& path, const StoredCalibration& calibration)
{
    WriteProjectFile(path, "Teste", "12-10-26 01-12-17", InitialParameterTexts(), "/root/KAVRIN/",
                     CalibrationNamedLines(calibration));
}

StoredCalibration everyChoice()
{
    StoredCalibration calibration;
    calibration.observationFile = "campo.observations.txt";
    calibration.parameters = {FitParameter::Kxx, FitParameter::AlphaX, FitParameter::SourceDecay};
    calibration.bounds = {{FitParameter::Kxx, {0.5, 120}}, {FitParameter::AlphaX, {1e-3, 0.1 + 0.2}}};
    calibration.logResiduals = true;
    calibration.detectionLimit = 0.005;
    calibration.weightRule = WeightRule::Relative;
    calibration.starts = 20;
    return calibration;
}

}  // namespace

TEST(FitProjectLines, DefaultChoicesWriteTheTwentyFiveLinesAndOthersComeBackExactly)
{
    TempFolder folder;
    const std::string plain = folder.path() + "plain.kvr", stored = folder.path() + "stored.kvr";
    WriteProjectFile(plain, "Teste", "12-10-26 01-12-17", InitialParameterTexts(), "/root/KAVRIN/");
    writeProject(stored, StoredCalibration{});
    EXPECT_EQ(ReadBytes(stored), ReadBytes(plain));
    EXPECT_EQ(ReadProjectFile(plain).calibration, StoredCalibration{});

    writeProject(stored, everyChoice());
    EXPECT_EQ(ReadBytes(stored), ReadBytes(plain) +
                                     "\r\nObservationTable=campo.observations.txt\r\nFitParameters=Kxx,AlphaX,SourceDecay"
                                     "\r\nFitBounds=Kxx 0.5 120|AlphaX 0.001 0.30000000000000004\r\nFitLog=yes"
                                     "\r\nFitDetectionLimit=0.005\r\nFitWeights=relative\r\nFitStarts=20");
    const ProjectFileContents back = ReadProjectFile(stored);
    EXPECT_EQ(back.calibration, everyChoice());  // the bounds to the last bit
    EXPECT_TRUE(back.namedLines.empty());
}

TEST(FitProjectLines, OptionalLinesAndEitherSeparatorAreRead)
{
    TempFolder folder;
    const std::string path = folder.path() + "p.kvr";
    writeProject(path, StoredCalibration{});
    WriteBytes(path, ReadBytes(path) + "\r\nFitBounds=C0 0,5 1E3\r\nFitLog=no\r\nFitWeights=table");
    const StoredCalibration back = ReadProjectFile(path).calibration;
    ASSERT_EQ(back.bounds.size(), 1u);
    EXPECT_EQ(back.bounds[0].first, FitParameter::C0);
    EXPECT_EQ(back.bounds[0].second.lower, 0.5);
    EXPECT_EQ(back.bounds[0].second.upper, 1000);
    EXPECT_FALSE(back.logResiduals);
    EXPECT_EQ(back.weightRule, WeightRule::Table);
    EXPECT_FALSE(back.starts);
    EXPECT_FALSE(back.observationFile);
}

TEST(FitProjectLines, TheStartsSeedFollowsTheStartsAndComesBack)
{
    TempFolder folder;
    const std::string path = folder.path() + "p.kvr";
    StoredCalibration calibration = everyChoice();
    calibration.seed = 2147483647;
    writeProject(path, calibration);
    EXPECT_TRUE(ReadBytes(path).ends_with("\r\nFitStarts=20\r\nFitSeed=2147483647")) << ReadBytes(path);
    EXPECT_EQ(ReadProjectFile(path).calibration, calibration);
    calibration.seed = 0;
    writeProject(path, calibration);
    EXPECT_EQ(ReadProjectFile(path).calibration.seed, 0u);
}

TEST(FitProjectLines, AMalformedValueIsRefusedNamingTheFileTheLineAndTheForm)
{
    struct Case {
        std::string after, message;
    };
    const Case cases[] = {
        {"\r\nObservationTable=../../etc/obs.txt",
         ", line 26: ObservationTable takes the name of a text file in the project's results folder, not "
         "\"../../etc/obs.txt\"."},
        {"\r\nObservationTable=obs.csv", ", line 26: ObservationTable takes the name of a text file"},
        {"\r\nFitParameters=Kxx,Porosity", ", line 26: FitParameters takes fittable parameters \"NAME,NAME\", each once, not "
                                           "\"Kxx,Porosity\"."},
        {"\r\nFitParameters=Kxx,Kxx", ", line 26: FitParameters takes fittable parameters"},
        {"\r\nFitParameters=", ", line 26: FitParameters takes fittable parameters"},
        {"\r\nFitBounds=Kxx 1", ", line 26: FitBounds takes bounds \"NAME LOWER UPPER\" apart by |, each parameter once"},
        {"\r\nFitBounds=Kxx 1 2|Kxx 3 4", ", line 26: FitBounds takes bounds"},
        {"\r\nFitBounds=Kxx 1 inf", ", line 26: FitBounds takes bounds"},
        {"\r\nFitLog=true", ", line 26: FitLog takes yes or no, not \"true\"."},
        {"\r\nFitDetectionLimit=low", ", line 26: FitDetectionLimit takes a number (mg/L), not \"low\"."},
        {"\r\nFitWeights=equal", ", line 26: FitWeights takes table or relative, not \"equal\"."},
        {"\r\nFitStarts=0", ", line 26: FitStarts takes a whole number from 1 to 100000, not \"0\"."},
        {"\r\nFitStarts=2.5", ", line 26: FitStarts takes a whole number"},
        {"\r\nFitLog=yes\r\nFitLog=no", ", line 27: FitLog is given twice (first on line 26)."},
        {"\r\nFitSeed=-1", ", line 26: FitSeed takes a whole number from 0 to 2147483647, not \"-1\"."},
        {"\r\nFitSeed=2147483648", ", line 26: FitSeed takes a whole number from 0 to 2147483647"},
        {"\r\nFitSeeds=3", ", line 26: FitSeeds is not an option this version knows"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder.path() + "p.kvr";
        writeProject(path, StoredCalibration{});
        WriteBytes(path, ReadBytes(path) + c.after);
        const std::string failure = FailureText([&] { ReadProjectFile(path); });
        EXPECT_NE(failure.find(path + c.message), std::string::npos) << c.after << "\n" << failure;
    }
}

TEST(FitProjectLines, TheTableLivesInTheResultsFolderUnderTheProjectFilesName)
{
    EXPECT_EQ(ObservationFileName("/home/u/projetos/Campo 2.kvr"), "Campo 2.observations.txt");
    EXPECT_EQ(StoredObservationPath("p.kvr", "/root/KAVRIN/Teste/index.txt", "p.observations.txt"),
              "/root/KAVRIN/Teste/p.observations.txt");
    EXPECT_NE(FailureText([] { StoredObservationPath("p.kvr", "", "p.observations.txt"); }).find("names no results folder"),
              std::string::npos);
}
