// The pictures' writer replaces a file only when the new one is complete and
// keeps the permissions of the file it replaces.
#include "gui/PictureExport.h"
#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace kavrin::test {

TEST(PictureExport, APictureSavedOverAFileKeepsItsPermissionsThroughALinkToo)
{
    QImage picture(4, 3, QImage::Format_RGB888);
    picture.fill(Qt::red);
    const mode_t mask = ::umask(022);
    for (const bool throughLink : {false, true}) {
        TempFolder folder;
        const std::string real = folder.path() + "map.bmp";
        WriteBytes(real, "old");
        ASSERT_EQ(::chmod(real.c_str(), 0600), 0);
        if (throughLink) std::filesystem::create_symlink(real, folder.path() + "link.bmp");
        WriteBitmap(picture, QString::fromStdString(throughLink ? folder.path() + "link.bmp" : real));
        struct stat info {};
        ASSERT_EQ(::stat(real.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u) << throughLink;
        EXPECT_EQ(ReadBytes(real).substr(0, 2), "BM") << throughLink;
        if (throughLink) {
            EXPECT_TRUE(std::filesystem::is_symlink(folder.path() + "link.bmp"));
        }
        WriteBitmap(picture, QString::fromStdString(folder.path() + "new.bmp"));
        ASSERT_EQ(::stat((folder.path() + "new.bmp").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0644u) << "a new picture follows the umask";
    }
    ::umask(mask);
}

}  // namespace kavrin::test
