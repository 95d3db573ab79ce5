// Opening the help page: the desktop's viewer when it takes the file, the
// program's own help window when it does not.
#include "TestSupport.h"
#include "gui/DesktopLauncher.h"
#include "gui/Dialogs.h"
#include "gui/HelpViewer.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace kavrin::test {
namespace {

QString Page(const char* name)
{
    return QString(KAVRIN_SOURCE_DATA_DIR) + name;
}

// A desktop that answers every document with the given outcome, at once.
struct FakeDesktop {
    bool opens;
    QStringList asked;
    QtDialogs::DesktopOpen function()
    {
        return [this](const QString& path, const std::function<void()>& unopened) {
            asked << path;
            if (!opens) unopened();
        };
    }
};

TEST(HelpFallback, ADesktopWithAViewerKeepsTheProgramsWindowClosed)
{
    QtDialogs dialogs;
    FakeDesktop desktop{true, {}};
    dialogs.setDesktopOpen(desktop.function());
    dialogs.openDocument(Page("HELPE.html"));
    EXPECT_EQ(desktop.asked, QStringList{Page("HELPE.html")});
    EXPECT_EQ(dialogs.helpViewer(), nullptr);
}

TEST(HelpFallback, WithoutAViewerThePageShowsInTheProgramsOwnWindow)
{
    QtDialogs dialogs;
    FakeDesktop desktop{false, {}};
    dialogs.setDesktopOpen(desktop.function());
    dialogs.openDocument(Page("HELPE.html"));
    HelpViewer* viewer = dialogs.helpViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), QString::fromUtf8("KAVRIN — Help"));
    EXPECT_EQ(viewer->browser()->source(), QUrl::fromLocalFile(Page("HELPE.html")));
    EXPECT_TRUE(viewer->browser()->toPlainText().contains("KAVRIN computes how a dissolved contaminant spreads"));

    // The next page goes to the same window.
    dialogs.openDocument(Page("HELPP.html"));
    EXPECT_EQ(dialogs.helpViewer(), viewer);
    EXPECT_EQ(viewer->browser()->source(), QUrl::fromLocalFile(Page("HELPP.html")));
    EXPECT_TRUE(viewer->windowTitle().startsWith("KAVRIN")) << viewer->windowTitle().toStdString();
    EXPECT_NE(viewer->windowTitle(), QString::fromUtf8("KAVRIN — Help"));
}

TEST(HelpFallback, AMissingPageOpensNoWindow)
{
    QtDialogs dialogs;
    FakeDesktop desktop{false, {}};
    dialogs.setDesktopOpen(desktop.function());
    dialogs.openDocument(Page("HELPX.html"));
    EXPECT_EQ(desktop.asked.size(), 1);
    EXPECT_EQ(dialogs.helpViewer(), nullptr);
}

TEST(HelpFallback, TheContentsLinksLeadIntoThePageAndBackAgain)
{
    HelpViewer viewer;
    viewer.showPage(Page("HELPE.html"));
    QAction* back = viewer.findChild<QAction*>("HelpBack");
    ASSERT_NE(back, nullptr);
    EXPECT_FALSE(back->isEnabled());
    QUrl section = QUrl::fromLocalFile(Page("HELPE.html"));
    section.setFragment("parameters");
    viewer.browser()->setSource(section);
    EXPECT_TRUE(back->isEnabled());
    back->trigger();
    EXPECT_EQ(viewer.browser()->source(), QUrl::fromLocalFile(Page("HELPE.html")));
    EXPECT_TRUE(viewer.findChild<QAction*>("HelpForward")->isEnabled());
}

// The real launcher with a stand-in for xdg-open first on the PATH.
class FakeOpener {
public:
    explicit FakeOpener(int exitCode)
    {
        const std::string script = folder_.path() + "xdg-open";
        WriteBytes(script,
                   "#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/asked\"\nexit " + std::to_string(exitCode) + "\n");
        QFile::setPermissions(QString::fromStdString(script), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QByteArray::fromStdString(folder_.path()) + ":" + path_);
    }
    ~FakeOpener() { qputenv("PATH", path_); }
    std::string asked() const { return ReadBytes(folder_.path() + "asked"); }

private:
    TempFolder folder_;
    QByteArray path_ = qgetenv("PATH");
};

TEST(DesktopLauncher, TheOpenersExitStatusTellsWhetherTheDesktopTookTheFile)
{
    const std::pair<int, bool> cases[] = {{0, false}, {3, true}, {4, true}};
    for (const auto& [exitCode, expectUnopened] : cases) {
        FakeOpener opener(exitCode);
        DesktopLauncher launcher;
        bool unopened = false;
        launcher.open(Page("HELPE.html"), [&unopened] { unopened = true; });
        ASSERT_TRUE(QTest::qWaitFor([&launcher] { return launcher.findChildren<QProcess*>().isEmpty(); }, 10000));
        EXPECT_EQ(opener.asked(), Page("HELPE.html").toStdString()) << exitCode;
        EXPECT_EQ(unopened, expectUnopened) << exitCode;
    }
}

TEST(DesktopLauncher, AnOpenerThatCannotRunCountsAsUnopened)
{
    TempFolder folder;
    // An xdg-open whose interpreter is missing: the system cannot start it.
    WriteBytes(folder.path() + "xdg-open", "#!/nonexistent/shell\n");
    QFile::setPermissions(QString::fromStdString(folder.path() + "xdg-open"), QFile::ReadOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(folder.path()) + ":" + path);
    DesktopLauncher launcher;
    bool unopened = false;
    launcher.open(Page("HELPE.html"), [&unopened] { unopened = true; });
    EXPECT_TRUE(QTest::qWaitFor([&unopened] { return unopened; }, 10000));
    qputenv("PATH", path);
}

TEST(HelpFallback, AnOpenerThatFindsNoViewerBringsUpTheProgramsWindow)
{
    FakeOpener opener(3);  // xdg-open's status for "no method available"
    QtDialogs dialogs;
    dialogs.openDocument(Page("HELPP.html"));
    ASSERT_TRUE(QTest::qWaitFor([&dialogs] { return dialogs.helpViewer() != nullptr; }, 10000));
    EXPECT_TRUE(dialogs.helpViewer()->isVisible());
    EXPECT_EQ(dialogs.helpViewer()->browser()->source(), QUrl::fromLocalFile(Page("HELPP.html")));
}

}  // namespace
}  // namespace kavrin::test
