// The program's own window for the help pages, for a desktop that has no
// viewer for them: the page with its links, back and forward.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace kavrin {

class HelpViewer : public QWidget {
public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Shows the page (a local HTML file) and brings the window to the front;
    // the window's title is the page's own.
    void showPage(const QString& path);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

}  // namespace kavrin
