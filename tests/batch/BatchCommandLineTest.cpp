#include "BatchOptions.h"
#include "BatchProgram.h"
#include "CommandLine.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <stdexcept>

using namespace kavrin;
using kavrin::test::RunBatch;
using kavrin::test::TempFolder;

// Every command's wrong command lines, through the real programs (kavrin-batch
// hands fit, map and animate to its siblings): status 2, the sentence that
// says what is wrong, the usage, and nothing written.
TEST(BatchCommandLine, EveryCommandsWrongCommandLineGivesStatusTwoAndTheUsage)
{
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{"run", "--name", "a", "--name", "b"}, "--name is given twice"},
        {{"run", "--reference", "--reference"}, "--reference is given twice"},
        {{"run", "--project", "a.kvr", "--params", "b.dat"}, "--params and --project cannot be used together"},
        {{"run", "--save"}, "--save needs a value"},
        {{"run", "extra"}, "unknown option \"extra\" for run"},
        {{"export", "grd", "--project", "p", "--file", "a", "--file", "b", "--to", "x"}, "--file is given twice"},
        {{"export", "txt", "--to", "x"}, "export txt needs --project FILE.kvr"},
        {{"export", "--project", "p", "--to", "x"}, "export takes grd or txt first"},
        {{"series"}, "series takes time, long or trans first"},
        {{"series", "time", "--project", "p", "--x", "1", "--y", "2", "--y", "3"}, "--y is given twice"},
        {{"series", "long", "--project", "p", "--time", "5", "--x", "1"}, "unknown option \"--x\" for series long"},
        {{"series", "trans", "--project", "p", "--time", "5"}, "series trans needs --x X"},
        {{"compare", "--obs", "a", "--obs", "b"}, "--obs is given twice"},
        {{"compare", "--params", "a", "--params", "b", "--obs", "t"}, "--params is given twice"},
        {{"compare", "--set", "C0=1"}, "compare needs --obs TABLE.txt"},
        {{"compare", "--obs", "t", "--fit", "C0"}, "unknown option \"--fit\" for compare"},
        {{"fit", "--obs", "t", "--fit", "C0", "--save", "a", "--save", "b"}, "--save is given twice"},
        {{"fit", "--obs", "t", "--fit", "C0", "--fit", "AlphaX"}, "--fit is given twice"},
        {{"fit", "--obs", "t", "--fit", "C0", "--weights", "table", "--weights", "relative"}, "--weights is given twice"},
        {{"fit", "--obs", "t", "--fit", "C0", "--detection-limit", "1", "--detection-limit", "2"},
         "--detection-limit is given twice"},
        {{"fit", "--obs", "t", "--fit", "C0", "--log", "--log"}, "--log is given twice"},
        {{"fit", "--obs", "t", "--fit", "C0", "--bounds", "C0=1:2", "--bounds", "C0=3:4"}, "--bounds names C0 twice"},
        {{"fit", "--obs", "t"}, "fit needs --fit NAME,NAME,..."},
        {{"fit", "--obs", "t", "--fit", "C0", "--name", "x"}, "unknown option \"--name\" for fit"},
        {{"map", "--project", "a", "--project", "b", "--all", "--to", "x"}, "--project is given twice"},
        {{"map", "--project", "p", "--time", "0", "--time", "1", "--to", "x"}, "--time is given twice"},
        {{"map", "--project", "p", "--all", "--to", "x", "--to", "y"}, "--to is given twice"},
        {{"map", "--project", "p", "--to", "x"}, "map needs --time TEXT or --all"},
        {{"map", "--project", "p", "--all", "--time", "0", "--to", "x"}, "--time and --all cannot be used together"},
        {{"map", "--project", "p", "--all"}, "map needs --to FILE.bmp|FOLDER"},
        {{"animate", "--project", "a", "--project", "b", "--to", "x.gif"}, "--project is given twice"},
        {{"animate", "--project", "p", "--to", "x.gif", "--delay", "500", "--delay", "600"}, "--delay is given twice"},
        {{"animate", "--project", "p", "--to", "x.gif", "--delay", "5"}, "--delay takes milliseconds from 10 to 655350"},
        {{"animate", "--project", "p", "--all", "--to", "x.gif"}, "unknown option \"--all\" for animate"},
    };
    std::set<std::string> commands;
    for (const Case& c : cases) {
        TempFolder folder;
        const kavrin::test::BatchResult result = RunBatch(folder, c.args);
        EXPECT_EQ(result.status, 2) << c.message;
        // One line that says what is wrong, then the usage.
        EXPECT_EQ(result.err.rfind("kavrin-batch: " + c.message, 0), 0u) << result.err;
        EXPECT_EQ(result.err.substr(result.err.find('\n') + 1), kBatchUsage) << c.message;
        EXPECT_EQ(result.out, "");
        EXPECT_FALSE(std::filesystem::exists(folder.path() + "KAVRIN")) << c.message;
        commands.insert(c.args[0]);
    }
    EXPECT_EQ(commands, (std::set<std::string>{"run", "export", "series", "compare", "fit", "map", "animate"}));
}

// What the commands whose parsing was written out by hand accept keeps its meaning.
TEST(BatchCommandLine, AcceptedCommandLinesKeepTheirMeaning)
{
    const BatchMapOptions one = ParseBatchMapOptions({"--to", "m.bmp", "--time", "2500", "--project", "p.kvr"});
    EXPECT_EQ(one.projectPath, "p.kvr");
    EXPECT_EQ(one.time, "2500");
    EXPECT_FALSE(one.all);
    EXPECT_EQ(one.to, "m.bmp");
    const BatchMapOptions all = ParseBatchMapOptions({"--project", "p.kvr", "--all", "--to", "--maps"});
    EXPECT_TRUE(all.all);
    EXPECT_EQ(all.time, std::nullopt);
    EXPECT_EQ(all.to, "--maps") << "the word after an option is its value";

    const BatchAnimateOptions animate = ParseBatchAnimateOptions({"--project", "p.kvr", "--to", "a.gif"});
    EXPECT_EQ(animate.to, "a.gif");
    EXPECT_EQ(animate.delayMs, 2000);
    EXPECT_EQ(ParseBatchAnimateOptions({"--delay", "655350", "--project", "p", "--to", "a.gif"}).delayMs, 655350);

    const BatchExportOptions table = ParseBatchExportOptions({"txt", "--to", "one", "--file", "T0.txt", "--project", "p.kvr"});
    EXPECT_FALSE(table.grid);
    EXPECT_EQ(table.resultsPath, "T0.txt");
    EXPECT_EQ(table.to, "one");
    EXPECT_TRUE(ParseBatchExportOptions({"grd", "--project", "p.kvr", "--to", "base"}).grid);

    const BatchSeriesOptions across = ParseBatchSeriesOptions({"trans", "--x", "50", "--project", "p.kvr", "--time", "1250"});
    EXPECT_EQ(across.kind, BatchSeriesOptions::Kind::Transversal);
    EXPECT_EQ(across.x, "50");
    EXPECT_EQ(across.y, std::nullopt);
    EXPECT_EQ(across.time, "1250");

    const BatchRunOptions run = ParseBatchRunOptions({"--set", "Y1=10", "--set", "Y0=-5", "--set", "Y1=20"});
    EXPECT_EQ(run.sets, (std::vector<std::pair<std::string, std::string>>{{"Y1", "10"}, {"Y0", "-5"}, {"Y1", "20"}}))
        << "--set repeats, in order";
}

// The parser reads every table through the same rules, so the tables must say
// one thing: each command's forms told apart by their first word alone, an
// option spelled the same way wherever a command has it, a choice's options
// side by side; and the usage shows every option of every form.
TEST(BatchCommandLine, TheTablesAreOneReadingOfEachCommand)
{
    std::set<std::string> kindsSeen;
    for (const CommandForm& form : BatchCommandForms()) {
        for (std::string_view rest = form.kinds; !rest.empty();) {
            const std::size_t bar = std::min(rest.find('|'), rest.size());
            EXPECT_TRUE(kindsSeen.insert(std::string(form.command) + " " + std::string(rest.substr(0, bar))).second)
                << form.command;
            rest.remove_prefix(std::min(bar + 1, rest.size()));
        }
        for (const CommandForm& other : BatchCommandForms()) {
            if (&other != &form && other.command == form.command) {
                EXPECT_FALSE(form.kinds.empty() || other.kinds.empty()) << form.command;
            }
        }
        for (std::size_t i = 0; i < form.options.size(); ++i) {
            const CommandOption& option = form.options[i];
            EXPECT_EQ(option.name.substr(0, 2), "--");
            for (std::size_t j = i + 1; j < form.options.size(); ++j) {
                EXPECT_NE(option.name, form.options[j].name) << form.command;
                if (option.choice != 0 && form.options[j].choice == option.choice) {
                    EXPECT_EQ(form.options[j - 1].choice, option.choice)
                        << form.command << ": " << option.name << "'s choice apart";
                    EXPECT_EQ(form.options[j].required, option.required) << form.command;
                }
            }
            std::string shown(option.name);
            if (!option.value.empty()) shown.append(" ").append(option.value);
            EXPECT_NE(kBatchUsage.find(shown), std::string::npos) << shown;
        }
    }
}

namespace {

constexpr CommandOption kTryOptions[] = {
    {.name = "--in", .value = "FILE", .required = true},
    {.name = "--fast", .choice = 1},
    {.name = "--slow", .choice = 1},
    {.name = "--tag", .value = "T", .repeats = true},
};
constexpr CommandForm kTryForms[] = {{"try", "", kTryOptions}};

}  // namespace

TEST(BatchCommandLine, TheParserReadsAndShowsAnyTable)
{
    const ParsedCommandLine parsed =
        ParseCommandLine(kTryForms, "try", {"--tag", "a", "--in", "--fast", "--tag", "", "--tag", "b"});
    EXPECT_EQ(parsed.value("--in"), "--fast");
    EXPECT_FALSE(parsed.given("--fast"));
    EXPECT_EQ(parsed.values("--tag"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(UsageOf(kTryForms, 80), "usage: kavrin-batch try --in FILE [--fast | --slow] [--tag T]...\n");
    const std::string under(24, ' ');
    EXPECT_EQ(UsageOf(kTryForms, 40),
              "usage: kavrin-batch try --in FILE\n" + under + "[--fast | --slow]\n" + under + "[--tag T]...\n");
    EXPECT_THROW(ParseCommandLine(kTryForms, "try", {"--fast", "--in", "x", "--slow"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine(kTryForms, "try", {"--in", "x", "--fast", "--fast"}), std::invalid_argument);
    EXPECT_THROW(ParseCommandLine(kTryForms, "try", {"--in"}), std::invalid_argument);
}

// The map's options on the map and the animation, each refused by its name when out of range.
TEST(BatchCommandLine, MapOptionsAreTakenAndRefusedByName)
{
    const std::vector<std::string> base{"--project", "p.kvr", "--time", "2500", "--to", "m.bmp"};
    const auto map = [&](std::vector<std::string> more) {
        more.insert(more.begin(), base.begin(), base.end());
        return ParseBatchMapOptions(more);
    };
    EXPECT_EQ(map({}).picture, MapOptions{}) << "without them the plain map";
    EXPECT_EQ(map({}).wellsPath, std::nullopt);
    const BatchMapOptions all = map({"--log-decades", "6", "--standard", "0.005", "--wells", "obs.txt"});
    EXPECT_TRUE(all.picture.logarithmicScale);
    EXPECT_EQ(all.picture.decades, 6);
    EXPECT_EQ(all.picture.standard, 0.005);
    EXPECT_TRUE(all.picture.showWells);
    EXPECT_EQ(all.wellsPath, "obs.txt");
    const BatchAnimateOptions animate =
        ParseBatchAnimateOptions({"--project", "p.kvr", "--to", "a.gif", "--log-decades", "12", "--standard", "2e-3"});
    EXPECT_EQ(animate.picture.decades, 12);
    EXPECT_EQ(animate.picture.standard, 0.002);
    EXPECT_FALSE(animate.picture.showWells);

    struct Refused {
        std::vector<std::string> words;
        const char* named;
    };
    for (const Refused& r : {Refused{{"--log-decades", "0"}, "--log-decades"}, Refused{{"--log-decades", "13"}, "--log-decades"},
                             Refused{{"--log-decades", "4.5"}, "--log-decades"}, Refused{{"--standard", "0"}, "--standard"},
                             Refused{{"--standard", "-0.1"}, "--standard"}, Refused{{"--standard", "0,005"}, "--standard"},
                             Refused{{"--standard", "inf"}, "--standard"}}) {
        try {
            map(r.words);
            ADD_FAILURE() << r.words[0] << " " << r.words[1] << " was taken";
        } catch (const std::invalid_argument& refused) {
            EXPECT_NE(std::string(refused.what()).find(r.named), std::string::npos) << refused.what();
            EXPECT_NE(std::string(refused.what()).find("\"" + r.words[1] + "\""), std::string::npos) << refused.what();
        }
    }
}
