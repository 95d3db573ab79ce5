#include "workspace/CompleteTime.h"

#include "TestSupport.h"
#include "workspace/Workspace.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

// Times 0, 10, 20 on a grid of 3 values (X 0 … 2) by 2 rows (Y −1 … 1 by 2).
struct SmallProject {
    TempFolder folder;
    ModelState model;
    std::string root() const { return folder.path(); }
    std::string index() const { return IndexPath(root(), "P"); }
    SmallProject()
    {
        model.X0 = 0, model.X1 = 2, model.DX = 1;
        model.Y0 = -1, model.Y1 = 1, model.DY = 2;
        model.T0 = 0, model.T1 = 20, model.DT = 10;
        std::filesystem::create_directories(root() + "P");
    }
    void write(const std::string& tempo, const std::string& bytes) { WriteBytes(root() + "P/T" + tempo + ".txt", bytes); }
    bool complete(const std::string& tempo) const { return IsListedCompleteTime(model, root(), "P", index(), tempo, '.'); }
};

const std::string kWhole = "1 2 3 \r\n4 5 6 \r\n";

}  // namespace

TEST(CompleteTime, ATimeIsCompleteWhenListedAndItsFileHoldsTheGrid)
{
    SmallProject p;
    p.write("0", kWhole);
    p.write("10", kWhole);
    p.write("20", kWhole);
    WriteBytes(p.index(), p.root() + "P/T0.txt\r\n" + p.root() + "P/T10.txt\r\n");
    EXPECT_TRUE(p.complete("0"));
    EXPECT_TRUE(p.complete("10"));
    EXPECT_FALSE(p.complete("20")) << "written but not listed: the run stopped before it was complete";
    EXPECT_FALSE(p.complete("77")) << "never a time of the run";
    EXPECT_FALSE(p.complete("10.0")) << "another text of a listed time names another file";
    EXPECT_FALSE(p.complete(""));
}

TEST(CompleteTime, AMissingEmptyCutOrForeignFileIsNoCompleteTime)
{
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"one row of two", "1 2 3 \r\n"},
        {"a row cut short", "1 2 3 \r\n4 5 \r\n"},
        {"a row too many", kWhole + "7 8 9 \r\n"},
        {"another grid", "1 2 3 4 \r\n5 6 7 8 \r\n"},
    };
    for (const auto& [what, bytes] : cases) {
        SmallProject p;
        p.write("10", bytes);
        EXPECT_FALSE(p.complete("10")) << what;
    }
    SmallProject p;
    EXPECT_FALSE(p.complete("10")) << "no file";
    std::filesystem::create_directories(p.root() + "P/T10.txt");
    EXPECT_FALSE(p.complete("10")) << "a folder under the file's name";
}
