// A window inside the main frame that the user cannot destroy: closing it
// minimises it, and the show commands bring it back.
#pragma once

#include <QMdiSubWindow>

namespace kavrin {

class ChildWindow : public QMdiSubWindow {
public:
    ChildWindow(QWidget* form, bool maximizable);

protected:
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace kavrin
