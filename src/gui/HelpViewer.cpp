#include "gui/HelpViewer.h"

#include "gui/WebBrowser.h"

#include <QAction>
#include <QLabel>
#include <QStyle>
#include <QTextBrowser>
#include <QTextFrame>
#include <QTextTable>
#include <QToolBar>
#include <QVBoxLayout>

namespace kavrin {

HelpViewer::HelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)), message_(new QLabel(this)), browserOpen_(OpenInWebBrowser)
{
    setObjectName("HelpViewer");
    browser_->setObjectName("HelpText");
    // The pages' side margins: a web browser centres their column, which
    // this viewer cannot; a margin of the document, not of the page's blocks,
    // leaves its tables the whole width between the margins.
    browser_->document()->setDocumentMargin(24);
    // Links out of the pages go to the desktop; links inside them stay here.
    browser_->setOpenExternalLinks(true);

    auto* bar = new QToolBar(this);
    bar->setObjectName("HelpNavigation");
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_ = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QString(), browser_, &QTextBrowser::backward);
    forward_ = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QString(), browser_, &QTextBrowser::forward);
    home_ = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QString(), browser_, &QTextBrowser::home);
    bar->addSeparator();
    openInBrowser_ = bar->addAction(style()->standardIcon(QStyle::SP_DesktopIcon), QString(), this, &HelpViewer::openInBrowser);
    back_->setObjectName("HelpBack");
    forward_->setObjectName("HelpForward");
    home_->setObjectName("HelpHome");
    openInBrowser_->setObjectName("HelpOpenInBrowser");
    back_->setShortcut(QKeySequence::Back);
    forward_->setShortcut(QKeySequence::Forward);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("KAVRIN") : title);
        fitTables();
    });

    message_->setObjectName("HelpMessage");
    message_->setWordWrap(true);
    message_->setContentsMargins(8, 4, 8, 4);
    message_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(message_);
    layout->addWidget(browser_);
    resize(860, 720);
}

void HelpViewer::fitTables()
{
    // A wide table is laid out over the whole width between the margins and
    // its border one pixel beyond, which a sideways scroll bar would show:
    // a little less than the whole width wraps its cells instead.
    for (QTextFrame* frame : browser_->document()->rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (!table) continue;
        QTextTableFormat format = table->format();
        format.setWidth(QTextLength(QTextLength::PercentageLength, 98));
        table->setFormat(format);
    }
}

void HelpViewer::setTexts(const HelpViewerTexts& texts)
{
    texts_ = texts;
    const std::pair<QAction*, std::pair<QString, QString>> captions[] = {
        {back_, {texts.back, texts.backTip}},
        {forward_, {texts.forward, texts.forwardTip}},
        {home_, {texts.home, texts.homeTip}},
        {openInBrowser_, {texts.openInBrowser, texts.openInBrowserTip}},
    };
    for (const auto& [action, text] : captions) {
        action->setText(text.first);
        action->setToolTip(text.second);
    }
    if (message_->isVisible()) message_->setText(texts.noBrowser);
}

void HelpViewer::showPage(const QString& path)
{
    message_->hide();
    browser_->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    activateWindow();
}

void HelpViewer::openInBrowser()
{
    // The page as shown, without the place inside it: a browser given a
    // local file with a fragment may not find the file.
    const QUrl page = browser_->source().adjusted(QUrl::RemoveFragment);
    const bool opened = browserOpen_(page);
    message_->setText(texts_.noBrowser);
    message_->setVisible(!opened);
}

}  // namespace kavrin
