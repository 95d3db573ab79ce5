#include "gui/HelpViewer.h"

#include <QAction>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace kavrin {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this))
{
    setObjectName("HelpViewer");
    browser_->setObjectName("HelpText");
    // Links out of the pages go to the desktop; links inside them stay here.
    browser_->setOpenExternalLinks(true);

    auto* bar = new QToolBar(this);
    bar->setObjectName("HelpNavigation");
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QString(), browser_, &QTextBrowser::backward);
    QAction* forward =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QString(), browser_, &QTextBrowser::forward);
    QAction* home = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QString(), browser_, &QTextBrowser::home);
    back->setObjectName("HelpBack");
    forward->setObjectName("HelpForward");
    home->setObjectName("HelpHome");
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("KAVRIN") : title);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(browser_);
    resize(860, 720);
}

void HelpViewer::showPage(const QString& path)
{
    browser_->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    activateWindow();
}

}  // namespace kavrin
