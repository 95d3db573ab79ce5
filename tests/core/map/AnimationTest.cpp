#include "TestSupport.h"
#include "core/map/MapTestSupport.h"
#include "map/AnimatedGif.h"
#include "map/AnimationFrames.h"
#include "text/Errors.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

using namespace kavrin;

TEST(Animation, FrameFilesAreNamedByTheTruncatedTime)
{
    const std::pair<double, const char*> cases[] = {
        {0, "0.bmp"},
        {2500, "2500.bmp"},
        {1.2, "1.bmp"},
        {1.7, "1.bmp"},
        {-2.5, "-2.bmp"},
        {-0.5, "0.bmp"},
        {1e20, "100000000000000000000.bmp"},
    };
    for (const auto& [t, name] : cases) EXPECT_EQ(FrameFileName(t), name) << t;
}

TEST(Animation, SliderIntervals)
{
    const std::pair<int, int> cases[] = {{60, 2000}, {0, 5000}, {50, 2500}, {97, 150}, {98, 100}, {100, 100}, {-10, 5000}};
    for (const auto& [value, ms] : cases) EXPECT_EQ(SliderInterval(value), ms) << value;
}

TEST(Animation, AvailableMemoryFromMeminfo)
{
    EXPECT_EQ(AvailableMemory("MemTotal:       24000000 kB\nMemFree:  100 kB\nMemAvailable:   51200 kB\n"), 52428800u);
    EXPECT_FALSE(AvailableMemory("MemTotal: 1 kB\n"));
    EXPECT_TRUE(EnoughMemoryForFrames(52428800));
    EXPECT_FALSE(EnoughMemoryForFrames(52428799));
}

TEST(Animation, TheGifDecodesToTheFramesPixels)
{
    // Two maps of a real run: the level and scale colours, black and white.
    const ModelState m = kavrin::test::DesignModel();
    const ResultGrid early = kavrin::test::GridAtTime(m, 1000), late = kavrin::test::GridAtTime(m, 2500);
    auto first = kavrin::test::PaintShapes(DesenhaMapa({m, early, "1000", true, true, '.'}));
    auto second = kavrin::test::PaintShapes(DesenhaMapa({m, late, "2500", true, true, '.'}));
    kavrin::test::TempFolder folder;
    const std::string path = folder.path() + "plume.gif";
    WriteAnimatedGif(path, {{first.bits.data(), 800, 640, 2400}, {second.bits.data(), 800, 640, 2400}}, 2000);

    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    ASSERT_EQ(gif->ImageCount, 2);
    const ColorMapObject* map = gif->SColorMap;
    kavrin::test::RgbPicture* expected[2] = {&first, &second};
    for (int f = 0; f < 2; ++f) {
        const SavedImage& image = gif->SavedImages[f];
        GraphicsControlBlock control;
        DGifSavedExtensionToGCB(gif, f, &control);
        EXPECT_EQ(control.DelayTime, 200);
        int differences = 0;
        for (int y = 0; y < 640; ++y)
            for (int x = 0; x < 800; ++x) {
                const GifColorType c = map->Colors[image.RasterBits[y * 800 + x]];
                differences += !(Rgb{c.Red, c.Green, c.Blue} == expected[f]->at(x, y));
            }
        EXPECT_EQ(differences, 0) << "frame " << f;
    }
    DGifCloseFile(gif, &error);
    EXPECT_FALSE(std::filesystem::exists(path + ".partial"));
}

TEST(Animation, TooManyColoursOrNoFrameAreRefused)
{
    std::vector<std::uint8_t> rainbow(300 * 3);
    for (int i = 0; i < 300; ++i)
        rainbow[static_cast<std::size_t>(3 * i)] = static_cast<std::uint8_t>(i),
                                             rainbow[static_cast<std::size_t>(3 * i + 1)] = static_cast<std::uint8_t>(i / 256);
    kavrin::test::TempFolder folder;
    EXPECT_THROW(WriteAnimatedGif(folder.path() + "a.gif", {{rainbow.data(), 300, 1, 900}}, 100), CheckError);
    EXPECT_THROW(WriteAnimatedGif(folder.path() + "a.gif", {}, 100), CheckError);
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "a.gif"));
    EXPECT_THROW(WriteAnimatedGif(folder.path() + "none/a.gif", {{rainbow.data(), 2, 1, 900}}, 100), FileError);
}

TEST(Animation, TheEncodersMemoryDoesNotGrowWithTheFrames)
{
    const ModelState m = kavrin::test::DesignModel();
    auto map = kavrin::test::PaintShapes(DesenhaMapa({m, kavrin::test::GridAtTime(m, 2500), "2500", true, true, '.'}));
    kavrin::test::TempFolder folder;
    AnimatedGifWriter gif(folder.path() + "long.gif", 100);
    gif.addFrame({map.bits.data(), 800, 640, 2400});
    const std::size_t afterOne = gif.heldBytes();
    for (int n = 2; n <= 60; ++n) gif.addFrame({map.bits.data(), 800, 640, 2400});
    EXPECT_EQ(gif.heldBytes(), afterOne);
    // The palette and one row: far less than one frame of 800 × 640 pixels.
    EXPECT_LT(afterOne, 64u * 1024);
    gif.finish();
    int error = 0;
    GifFileType* decoded = DGifOpenFileName((folder.path() + "long.gif").c_str(), &error);
    ASSERT_NE(decoded, nullptr);
    ASSERT_EQ(DGifSlurp(decoded), GIF_OK);
    EXPECT_EQ(decoded->ImageCount, 60);
    const SavedImage& last = decoded->SavedImages[59];
    int differences = 0;
    for (int y = 0; y < 640; ++y)
        for (int x = 0; x < 800; ++x) {
            const GifColorType c = decoded->SColorMap->Colors[last.RasterBits[y * 800 + x]];
            differences += !(Rgb{c.Red, c.Green, c.Blue} == map.at(x, y));
        }
    EXPECT_EQ(differences, 0);
    DGifCloseFile(decoded, &error);
}
