// The help page: always in the program's own help window, which hands it to
// the desktop's web browser on request — never to the desktop's default for
// HTML files, which may be an editor.
#include "TestSupport.h"
#include "gui/Dialogs.h"
#include "gui/HelpViewer.h"
#include "gui/WebBrowser.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavrin::test {
namespace {

QString Page(const char* name)
{
    return QString(KAVRIN_SOURCE_DATA_DIR) + name;
}

void WriteProgram(const std::string& path, const std::string& script)
{
    WriteBytes(path, "#!/bin/sh\n" + script);
    QFile::setPermissions(QString::fromStdString(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A named pipe read from before anything writes into it, so that what a
// program started in the background writes is all there once it closes the pipe.
class PipeReader {
public:
    explicit PipeReader(const std::string& path)
    {
        if (::mkfifo(path.c_str(), 0600) == 0) descriptor_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    }
    ~PipeReader()
    {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    PipeReader(const PipeReader&) = delete;
    PipeReader& operator=(const PipeReader&) = delete;

    // Everything written until the last writer closed the pipe. The limit only
    // makes a writer that never comes a failure instead of a hang.
    std::string readUntilClosed(std::chrono::seconds limit = std::chrono::seconds(120)) const
    {
        std::string text;
        if (descriptor_ < 0) return "(no pipe)";
        const auto deadline = std::chrono::steady_clock::now() + limit;
        bool closed = false;
        while (!closed) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return text + "(no writer closed the pipe in time)";
            pollfd ready{descriptor_, POLLIN, 0};
            if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(descriptor_, buffer, sizeof buffer);
            if (n < 0 && errno != EAGAIN && errno != EINTR) return text + "(the pipe failed: " + std::strerror(errno) + ")";
            if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
            // End of file comes only after a writer opened the pipe and closed it.
            closed = n == 0;
        }
        return text;
    }

private:
    int descriptor_ = -1;
};

// A desktop of its own for one test: the programs on the PATH, the desktop
// entries and BROWSER are only what the test puts there.
class FakeDesktop {
public:
    FakeDesktop()
    {
        for (const char* name : kVariables) saved_.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        QDir().mkpath(QString::fromStdString(folder_.path() + "bin"));
        QDir().mkpath(QString::fromStdString(folder_.path() + "home/applications"));
        QDir().mkpath(QString::fromStdString(folder_.path() + "system/applications"));
        qputenv("PATH", QByteArray::fromStdString(folder_.path() + "bin"));
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString(folder_.path() + "home"));
        qputenv("XDG_DATA_DIRS", QByteArray::fromStdString(folder_.path() + "system"));
        qunsetenv("BROWSER");
        // The desktop's opener for HTML files is an editor; it is never to be asked.
        program("xdg-open", "echo \"$@\" > " + path("opener-asked") + "\n");
    }
    ~FakeDesktop()
    {
        for (const auto& [name, value, set] : saved_)
            if (set)
                qputenv(name, value);
            else
                qunsetenv(name);
    }
    std::string path(const std::string& relative) const { return folder_.path() + relative; }
    // A program on the PATH.
    std::string program(const std::string& name, const std::string& script) const
    {
        WriteProgram(path("bin/" + name), script);
        return path("bin/" + name);
    }
    void entry(const std::string& name, const std::string& lines) const
    {
        WriteBytes(path("home/applications/" + name), "[Desktop Entry]\nType=Application\n" + lines);
    }

private:
    static constexpr const char* kVariables[] = {"PATH", "XDG_DATA_HOME", "XDG_DATA_DIRS", "BROWSER"};
    struct Saved {
        const char* name;
        QByteArray value;
        bool set;
    };
    TempFolder folder_;
    std::vector<Saved> saved_;
};

TEST(HelpWindow, ThePageAlwaysShowsInTheProgramsOwnWindow)
{
    FakeDesktop desktop;
    QtDialogs dialogs;
    dialogs.openDocument(Page("HELPE.html"));
    HelpViewer* viewer = dialogs.helpViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), QString::fromUtf8("KAVRIN — Help"));
    EXPECT_EQ(viewer->browser()->source(), QUrl::fromLocalFile(Page("HELPE.html")));
    EXPECT_TRUE(viewer->browser()->toPlainText().contains("KAVRIN computes how a dissolved contaminant spreads"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(desktop.path("opener-asked"))));

    // The next page goes to the same window.
    dialogs.openDocument(Page("HELPP.html"));
    EXPECT_EQ(dialogs.helpViewer(), viewer);
    EXPECT_EQ(viewer->browser()->source(), QUrl::fromLocalFile(Page("HELPP.html")));
    EXPECT_TRUE(viewer->windowTitle().startsWith("KAVRIN")) << viewer->windowTitle().toStdString();
    EXPECT_NE(viewer->windowTitle(), QString::fromUtf8("KAVRIN — Help"));
}

TEST(HelpWindow, AMissingPageOpensNoWindow)
{
    QtDialogs dialogs;
    dialogs.openDocument(Page("HELPX.html"));
    EXPECT_EQ(dialogs.helpViewer(), nullptr);
}

TEST(HelpWindow, TheContentsLinksLeadIntoThePageAndBackAgain)
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

// Both pages, tables included, wrap to the window: no sideways scrolling as
// the window opens, nor at any width up to a 1366-pixel screen's.
TEST(HelpWindow, ThePagesFitTheWindowWithoutScrollingSideways)
{
    for (const char* name : {"HELPP.html", "HELPE.html"}) {
        HelpViewer viewer;
        viewer.showPage(Page(name));
        QTextBrowser* text = viewer.browser();
        // The page is laid out a part at a time as it is shown: all of it, here.
        const auto laidOut = [text] {
            QApplication::processEvents();
            text->document()->documentLayout()->blockBoundingRect(text->document()->lastBlock());
            QApplication::processEvents();
        };
        laidOut();
        EXPECT_EQ(text->horizontalScrollBar()->maximum(), 0) << name << " as it opens, " << viewer.width() << " wide";
        for (int width = viewer.width(); width <= 1366; width += 7) {
            viewer.resize(width, viewer.height());
            laidOut();
            EXPECT_EQ(text->horizontalScrollBar()->maximum(), 0) << name << " " << width << " wide";
        }
    }
}

TEST(HelpWindow, TheButtonsTakeTheirTextsAndTooltipsBeforeAndAfterTheWindowExists)
{
    QtDialogs dialogs;
    HelpViewerTexts texts{"Voltar", "b", "Avançar", "f", "Início", "h", "Abrir no navegador", "o", "n"};
    dialogs.setHelpTexts(texts);
    dialogs.openDocument(Page("HELPP.html"));
    HelpViewer* viewer = dialogs.helpViewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->findChild<QAction*>("HelpOpenInBrowser")->text(), "Abrir no navegador");
    EXPECT_EQ(viewer->findChild<QAction*>("HelpBack")->toolTip(), "b");
    texts = {"Back", "bt", "Forward", "ft", "Start", "ht", "Open in browser", "ot", "nt"};
    dialogs.setHelpTexts(texts);
    const std::pair<const char*, std::pair<QString, QString>> expected[] = {
        {"HelpBack", {"Back", "bt"}},
        {"HelpForward", {"Forward", "ft"}},
        {"HelpHome", {"Start", "ht"}},
        {"HelpOpenInBrowser", {"Open in browser", "ot"}},
    };
    for (const auto& [name, text] : expected) {
        const QAction* action = viewer->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->text(), text.first) << name;
        EXPECT_EQ(action->toolTip(), text.second) << name;
    }
}

TEST(HelpWindow, OpenInBrowserHandsOverThePageOrSaysNoBrowserWasFound)
{
    HelpViewer viewer;
    viewer.setTexts({"", "", "", "", "", "", "Open in browser", "", "No web browser was found."});
    viewer.showPage(Page("HELPE.html"));
    QUrl section = QUrl::fromLocalFile(Page("HELPE.html"));
    section.setFragment("parameters");
    viewer.browser()->setSource(section);
    auto* message = viewer.findChild<QLabel*>("HelpMessage");
    ASSERT_NE(message, nullptr);

    QList<QUrl> asked;
    bool opens = false;
    viewer.setBrowserOpen([&](const QUrl& url) {
        asked << url;
        return opens;
    });
    viewer.findChild<QAction*>("HelpOpenInBrowser")->trigger();
    EXPECT_EQ(asked, QList<QUrl>{QUrl::fromLocalFile(Page("HELPE.html"))});
    EXPECT_TRUE(message->isVisible());
    EXPECT_EQ(message->text(), "No web browser was found.");

    opens = true;
    viewer.findChild<QAction*>("HelpOpenInBrowser")->trigger();
    EXPECT_FALSE(message->isVisible());
}

TEST(WebBrowser, IsFoundAsABrowserNeverAsTheOpenerOfHtmlFiles)
{
    const QUrl page = QUrl::fromLocalFile(Page("HELPE.html"));
    {
        FakeDesktop desktop;
        EXPECT_EQ(WebBrowserCommand(page), QStringList());
        EXPECT_FALSE(OpenInWebBrowser(page));
        EXPECT_FALSE(QFile::exists(QString::fromStdString(desktop.path("opener-asked"))));
    }
    {
        // BROWSER: the first command that exists; "%s" is where the page goes.
        FakeDesktop desktop;
        const std::string surf = desktop.program("surf", "");
        qputenv("BROWSER", QByteArray::fromStdString("missing-browser:surf --new %s --quiet"));
        EXPECT_EQ(WebBrowserCommand(page), (QStringList{QString::fromStdString(surf), "--new", page.toString(), "--quiet"}));
    }
    {
        // The desktop's default web browser, from its desktop entry.
        FakeDesktop desktop;
        desktop.program("xdg-settings", "[ \"$1 $2\" = 'get default-web-browser' ] && echo web.desktop\n");
        const std::string web = desktop.program("web", "");
        desktop.entry("web.desktop", "Name=Web\nExec=web --private-window %u %i\n");
        EXPECT_EQ(WebBrowserCommand(page), (QStringList{QString::fromStdString(web), "--private-window", page.toString()}));
    }
    {
        // A default browser that needs a terminal is passed over for the http handler.
        FakeDesktop desktop;
        desktop.program("xdg-settings", "echo text.desktop\n");
        desktop.program("xdg-mime", "[ \"$3\" = 'x-scheme-handler/https' ] && echo graphical.desktop\n");
        desktop.program("text", "");
        const std::string graphical = desktop.program("graphical", "");
        desktop.entry("text.desktop", "Exec=text %u\nTerminal=true\n");
        desktop.entry("graphical.desktop", "Exec=graphical\n");
        EXPECT_EQ(WebBrowserCommand(page), (QStringList{QString::fromStdString(graphical), page.toString()}));
    }
}

TEST(WebBrowser, TheBrowserFoundIsStartedWithThePage)
{
    FakeDesktop desktop;
    // The browser, started without being waited for, tells through a named
    // pipe what it was given: the test reads until it closes the pipe, so a
    // loaded machine makes it wait longer but never read half an answer.
    const PipeReader asked(desktop.path("browser-asked"));
    desktop.program("web", "echo \"$1\" > " + desktop.path("browser-asked") + "\n");
    qputenv("BROWSER", "web");
    const QUrl page = QUrl::fromLocalFile(Page("HELPE.html"));
    ASSERT_TRUE(OpenInWebBrowser(page));
    EXPECT_EQ(asked.readUntilClosed(), page.toString().toStdString() + "\n");
}

}  // namespace
}  // namespace kavrin::test
