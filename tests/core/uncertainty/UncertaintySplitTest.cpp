// Results do not depend on the threads or on the split into parts: the parts'
// files merge into the files of one run, byte for byte.
#include "UncertaintyFixture.h"
#include "uncertainty/UncertaintyOutputs.h"
#include "uncertainty/UncertaintyParts.h"
#include "uncertainty/UncertaintyRun.h"
#include "uncertainty/VariedParameterText.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin;
using kavrin::test::LoadedQuadrature;
using kavrin::test::ReadBytes;
using kavrin::test::SmallPlume;
using kavrin::test::TempFolder;

namespace {

UncertaintySettings splitSettings()
{
    UncertaintySettings settings;
    for (const char* text : {"C0=lognormal:1,1.5", "AlphaX=uniform:5,20", "Porosity=triangular:0.1,0.2,0.3"})
        settings.varied.push_back(ParseVariedParameter(text, '.'));
    settings.thresholds = {{0.05, "0.05"}, {0.5, "0.5"}};
    settings.times = {{500, "500"}, {1500, "1500"}};
    settings.receptors = {{50, 0, 0}, {120, 5, 1}};
    settings.realizations = 61;
    settings.seed = 3;
    settings.latinHypercube = true;
    return settings;
}

void expectSameResults(const UncertaintyResults& a, const UncertaintyResults& b, const std::string& what)
{
    ASSERT_EQ(a.times.size(), b.times.size()) << what;
    for (std::size_t t = 0; t < a.times.size(); ++t) {
        EXPECT_EQ(a.times[t].exceedance, b.times[t].exceedance) << what;
        EXPECT_EQ(a.times[t].mean, b.times[t].mean) << what;
        EXPECT_EQ(a.times[t].sd, b.times[t].sd) << what;
        EXPECT_EQ(a.times[t].p05, b.times[t].p05) << what;
        EXPECT_EQ(a.times[t].p50, b.times[t].p50) << what;
        EXPECT_EQ(a.times[t].p95, b.times[t].p95) << what;
    }
    EXPECT_EQ(a.receptorValues, b.receptorValues) << what;
    EXPECT_EQ(a.plumeLength, b.plumeLength) << what;
    EXPECT_EQ(a.realizations, b.realizations) << what;
}

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(UncertaintySplit, OneTwoAndThreeThreadsGiveTheSameResults)
{
    const ModelState model = SmallPlume();
    const QuadratureState q = LoadedQuadrature(model.GaussOrder);
    const UncertaintySettings settings = splitSettings();
    const auto one = RunUncertainty(model, q, settings, 1, {}, nullptr);
    ASSERT_TRUE(one);
    for (unsigned workers : {2u, 3u}) {
        const auto other = RunUncertainty(model, q, settings, workers, {}, nullptr);
        ASSERT_TRUE(other);
        expectSameResults(*one, *other, std::to_string(workers) + " threads");
    }
}

TEST(UncertaintySplit, PartsOfAnySplitMergeIntoTheFilesOfOneRun)
{
    const ModelState model = SmallPlume();
    const QuadratureState q = LoadedQuadrature(model.GaussOrder);
    const UncertaintySettings settings = splitSettings();
    TempFolder folder;
    const std::string single = folder.path() + "single";
    std::filesystem::create_directory(single);
    const auto whole = RunUncertainty(model, q, settings, 2, {}, nullptr);
    ASSERT_TRUE(whole);
    WriteUncertaintyOutputs(single, OutputFrameOf(model), settings.thresholds, settings.times, settings.receptors, *whole);
    const std::vector<std::string> names = filesIn(single);
    EXPECT_EQ(names.size(), 2u * 7 + 2);

    for (int m : {1, 2, 4, 7}) {
        std::vector<std::string> parts;
        for (int i = 1; i <= m; ++i) {
            UncertaintySettings share = settings;
            share.part = {i, m};
            parts.push_back(folder.path() + std::to_string(m) + "-" + std::to_string(i));
            std::filesystem::create_directory(parts.back());
            PartWriter writer(parts.back() + "/" + kPartFileName, share, model);
            const auto results = RunRealizations(model, q, share, static_cast<unsigned>(1 + i % 3), {}, nullptr,
                                                 [&](std::size_t, const NodeTally& tally) { writer.addTally(tally); });
            ASSERT_TRUE(results);
            writer.finish(*results);
        }
        std::reverse(parts.begin(), parts.end());  // the merge orders them by their share
        const MergedParts merged = MergeParts(parts);
        expectSameResults(*whole, merged.results, std::to_string(m) + " parts");
        const std::string out = folder.path() + "merged" + std::to_string(m);
        std::filesystem::create_directory(out);
        WriteUncertaintyOutputs(out, merged.frame, merged.thresholds, merged.times, merged.receptors, merged.results);
        ASSERT_EQ(filesIn(out), names);
        for (const std::string& name : names)
            EXPECT_EQ(ReadBytes(out + "/" + name), ReadBytes(single + "/" + name)) << name << " of " << m << " parts";
    }
}

TEST(UncertaintySplit, TheMergeRefusesPartsThatDoNotMakeOneRun)
{
    const ModelState model = SmallPlume();
    const QuadratureState q = LoadedQuadrature(model.GaussOrder);
    TempFolder folder;
    auto writePart = [&](const std::string& name, UncertaintySettings share) {
        const std::string path = folder.path() + name;
        std::filesystem::create_directory(path);
        PartWriter writer(path + "/" + kPartFileName, share, model);
        const auto results = RunRealizations(model, q, share, 1, {}, nullptr,
                                             [&](std::size_t, const NodeTally& tally) { writer.addTally(tally); });
        writer.finish(*results);
        return path;
    };
    UncertaintySettings settings = splitSettings();
    settings.realizations = 8;
    settings.part = {1, 2};
    const std::string first = writePart("a", settings);
    UncertaintySettings otherSeed = settings;
    otherSeed.seed = 4;
    otherSeed.part = {2, 2};
    UncertaintySettings second = settings;
    second.part = {2, 2};
    UncertaintySettings ofThree = settings;
    ofThree.part = {2, 3};
    const struct {
        std::vector<std::string> parts;
        const char* message;
    } cases[] = {
        {{first, writePart("b", otherSeed)}, "were computed with different settings: seed."},
        {{first}, "Part 2/2 is missing."},
        {{first, first}, "Part 1/2 is given twice"},
        {{first, writePart("c", ofThree)}, "are shares of different splits: 1/2 and 2/3."},
        {{first, folder.path() + "nothing"}, "nothing/uncertainty.part"},
    };
    for (const auto& c : cases) {
        const std::string message = kavrin::test::FailureText([&] { MergeParts(c.parts); });
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
    }
    EXPECT_NO_THROW(MergeParts({writePart("d", second), first}));
}
