// kavrin-batch map writes the format its file's name says, every time's map
// in the format --format names, both at the size --size gives; animate's GIF
// takes the size too.
#include "TestSupport.h"
#include "batch/BatchProgram.h"

#include <QImage>
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace kavrin::test {

namespace {

void runProject(const TempFolder& folder)
{
    ASSERT_EQ(
        RunBatch(folder,
                 {"run", "--set", "DX=2", "--set", "DY=2", "--set", "DT=1250", "--name", "P", "--save", folder.path() + "p.kvr"},
                 ".")
            .status,
        0);
}

QImage picture(const std::string& path)
{
    return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB888);
}

}  // namespace

TEST(BatchPictureFormats, TheNameChoosesTheFormat)
{
    TempFolder folder;
    runProject(folder);
    const std::string project = folder.path() + "p.kvr";
    const auto map = [&](const std::string& name, std::vector<std::string> more = {}) {
        std::vector<std::string> args{"map", "--project", project, "--time", "2500", "--to", folder.path() + name};
        args.insert(args.end(), more.begin(), more.end());
        const BatchResult result = RunBatch(folder, args, ".");
        EXPECT_EQ(result.status, 0) << name << result.err;
        return ReadBytes(folder.path() + name);
    };
    const std::string bitmap = map("m.bmp");
    EXPECT_EQ(map("m.jpeg"), bitmap) << "any other name, the bitmap as before";
    EXPECT_EQ(map("explicit.bmp", {"--size", "800x640"}), bitmap) << "the plain size is the plain picture";
    EXPECT_EQ(map("m.png").substr(1, 3), "PNG");
    EXPECT_EQ(picture(folder.path() + "m.png"), picture(folder.path() + "m.bmp"));
    EXPECT_EQ(map("upper.PNG").substr(1, 3), "PNG");
    EXPECT_NE(map("m.svg").find("<svg"), std::string::npos);
    EXPECT_EQ(map("m.pdf").substr(0, 5), "%PDF-");

    EXPECT_EQ(map("large.png", {"--size", "1600x1280"}).substr(1, 3), "PNG");
    EXPECT_EQ(picture(folder.path() + "large.png").size(), QSize(1600, 1280));
    EXPECT_NE(map("wide.svg", {"--size", "1000x400"}).find("viewBox=\"0 0 1000 400\""), std::string::npos);
}

TEST(BatchPictureFormats, EveryTimesMapInTheFormatNamed)
{
    TempFolder folder;
    runProject(folder);
    const BatchResult all = RunBatch(
        folder, {"map", "--project", folder.path() + "p.kvr", "--all", "--format", "png", "--to", folder.path() + "maps"}, ".");
    ASSERT_EQ(all.status, 0) << all.err;
    EXPECT_EQ(all.lastLine(), folder.path() + "maps/T2500.png");
    ASSERT_EQ(
        RunBatch(folder, {"map", "--project", folder.path() + "p.kvr", "--all", "--to", folder.path() + "bitmaps"}, ".").status,
        0);
    for (const char* time : {"0", "1250", "2500"}) {
        const std::string png = folder.path() + "maps/T" + time + ".png", bmp = folder.path() + "bitmaps/T" + time + ".bmp";
        ASSERT_TRUE(std::filesystem::exists(png)) << png;
        EXPECT_EQ(picture(png), picture(bmp)) << time;
    }
}

TEST(BatchPictureFormats, TheAnimationTakesTheSize)
{
    TempFolder folder;
    runProject(folder);
    const BatchResult made = RunBatch(
        folder, {"animate", "--project", folder.path() + "p.kvr", "--size", "400x320", "--to", folder.path() + "p.GIF"}, ".");
    ASSERT_EQ(made.status, 0) << made.err;
    int error = 0;
    GifFileType* gif = DGifOpenFileName((folder.path() + "p.GIF").c_str(), &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    EXPECT_EQ(gif->ImageCount, 3);
    EXPECT_EQ(gif->SWidth, 400);
    EXPECT_EQ(gif->SHeight, 320);
    DGifCloseFile(gif, &error);
}

}  // namespace kavrin::test
