// The program's own window for the help pages: the page with its links, back
// and forward, and a button that hands the page to the desktop's web browser.
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

class QAction;
class QLabel;
class QTextBrowser;

namespace kavrin {

// The window's texts in the chosen language, given by the program.
struct HelpViewerTexts {
    QString back, backTip;
    QString forward, forwardTip;
    QString home, homeTip;
    QString openInBrowser, openInBrowserTip;
    QString noBrowser;  // shown in the window when no browser took the page
};

class HelpViewer : public QWidget {
public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Shows the page (a local HTML file) and brings the window to the front;
    // the window's title is the page's own.
    void showPage(const QString& path);
    void setTexts(const HelpViewerTexts& texts);
    // How the page reaches a web browser: true when one took it. Tests put
    // a desktop of their own here.
    using BrowserOpen = std::function<bool(const QUrl&)>;
    void setBrowserOpen(BrowserOpen open) { browserOpen_ = std::move(open); }
    QTextBrowser* browser() const { return browser_; }

private:
    void openInBrowser();
    void fitTables();

    QTextBrowser* browser_;
    QAction* back_;
    QAction* forward_;
    QAction* home_;
    QAction* openInBrowser_;
    QLabel* message_;
    HelpViewerTexts texts_;
    BrowserOpen browserOpen_;
};

}  // namespace kavrin
