#include "gui/ChildWindow.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QPointer>
#include <memory>

namespace kavrin {

ChildWindow::ChildWindow(QWidget* form, bool maximizable)
{
    setWidget(form);
    setAttribute(Qt::WA_DeleteOnClose, false);
    Qt::WindowFlags flags =
        Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    if (maximizable) flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(flags);
    setWindowIcon(form->windowIcon());
}

void ChildWindow::fitInsideArea()
{
    QMdiArea* area = mdiArea();
    if (!area || isMinimized() || isMaximized()) return;
    const QRect visible = area->viewport()->rect();
    if (visible.width() < 50 || visible.height() < 50) return;  // the frame is not laid out yet
    QRect frame = geometry();
    // Never below what its contents need: such a window scrolls the frame instead.
    frame.setSize(frame.size().boundedTo(visible.size()).expandedTo(minimumSizeHint()));
    frame.moveLeft(qMax(0, qMin(frame.left(), visible.width() - frame.width())));
    frame.moveTop(qMax(0, qMin(frame.top(), visible.height() - frame.height())));
    if (frame != geometry()) setGeometry(frame);
}

void ChildWindow::showEvent(QShowEvent* event)
{
    QMdiSubWindow::showEvent(event);
    fitInsideArea();
}

void ChildWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    showMinimized();
}

void OnActivation(QMdiArea* area, QMdiSubWindow* window, const std::function<void()>& activated)
{
    auto previous = std::make_shared<QPointer<QMdiSubWindow>>();
    QObject::connect(area, &QMdiArea::subWindowActivated, window, [window, previous, activated](QMdiSubWindow* now) {
        if (!now) return;  // the whole frame lost the focus, to a message box for example
        const bool arrived = now == window && *previous != window;
        *previous = now;
        if (arrived) activated();
    });
}

}  // namespace kavrin
