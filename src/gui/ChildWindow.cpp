#include "ChildWindow.h"

#include <QCloseEvent>

namespace kavrin {

ChildWindow::ChildWindow(QWidget* form, bool maximizable)
{
    setWidget(form);
    setAttribute(Qt::WA_DeleteOnClose, false);
    Qt::WindowFlags flags = Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    if (maximizable) flags |= Qt::WindowMaximizeButtonHint;
    setWindowFlags(flags);
    setWindowIcon(form->windowIcon());
}

void ChildWindow::closeEvent(QCloseEvent* event)
{
    event->ignore();
    showMinimized();
}

}  // namespace kavrin
