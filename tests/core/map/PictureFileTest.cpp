#include "TestSupport.h"
#include "map/AnimatedGif.h"
#include "map/BitmapFile.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace kavrin;
using kavrin::test::FailureText;
using kavrin::test::TempFolder;

namespace {

// A picture of two pixels, saved by each of the two picture writers.
const std::uint8_t kPixels[6] = {255, 0, 0, 255, 255, 255};

struct Writer {
    const char* name;
    void (*save)(const std::string& path);
};

const Writer kWriters[] = {
    {"bitmap", [](const std::string& path) { WriteBitmapFile(path, kPixels, 2, 1, 6); }},
    {"gif",
     [](const std::string& path) {
         WriteAnimatedGif(path, {{kPixels, 2, 1, 6}}, 100);
     }},
};

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// Sets the process umask for the life of the object.
struct Umask {
    mode_t saved;
    explicit Umask(mode_t mask) : saved(::umask(mask)) {}
    ~Umask() { ::umask(saved); }
};

}  // namespace

TEST(PictureFile, ANewPictureFollowsTheUmaskAndOneSavedOverKeepsItsMode)
{
    for (const Writer& w : kWriters) {
        TempFolder folder;
        const std::string path = folder.path() + "picture";
        {
            const Umask mask(027);
            w.save(path);
        }
        EXPECT_EQ(modeOf(path), 0640u) << w.name;
        ::chmod(path.c_str(), 0604);
        w.save(path);
        EXPECT_EQ(modeOf(path), 0604u) << w.name;
        // Through a symbolic link: the file it names is replaced, keeping its mode.
        const std::string link = folder.path() + "link";
        std::filesystem::create_symlink(path, link);
        ::chmod(path.c_str(), 0600);
        w.save(link);
        EXPECT_TRUE(std::filesystem::is_symlink(link)) << w.name;
        EXPECT_EQ(modeOf(path), 0600u) << w.name;
        EXPECT_FALSE(kavrin::test::ReadBytes(path).empty()) << w.name;
        // Nothing but the picture and the link is left in the folder.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), std::filesystem::directory_iterator()), 2)
            << w.name;
    }
}

TEST(PictureFile, AWriteErrorNamesItsCause)
{
    TempFolder folder;
    kavrin::test::WriteBytes(folder.path() + "file", "x");
    struct Case {
        std::string path, cause;
    };
    for (const Writer& w : kWriters) {
        for (const Case& c :
             {Case{folder.path() + "missing/picture",
                   "I/O error 2: " + folder.path() + "missing/picture (No such file or directory)"},
              Case{folder.path() + "file/picture", "I/O error 20: " + folder.path() + "file/picture (Not a directory)"},
              Case{folder.path() + std::string(300, 'p'), "(File name too long)"}}) {
            const std::string text = FailureText([&] { w.save(c.path); });
            EXPECT_NE(text.find(c.cause), std::string::npos) << w.name << ": " << text;
        }
    }
    EXPECT_EQ(kavrin::test::ReadBytes(folder.path() + "file"), "x");
}
