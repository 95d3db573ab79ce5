// A window inside the main frame that the user cannot destroy: closing it
// minimises it, and the show commands bring it back.
#pragma once

#include <QMdiSubWindow>
#include <functional>

class QMdiArea;

namespace kavrin {

class ChildWindow : public QMdiSubWindow {
public:
    ChildWindow(QWidget* form, bool maximizable);

    // Moves the window, and shrinks it where it is larger, so that its frame
    // lies inside the frame area's visible part; its contents lay themselves
    // out to the new size. A minimised or maximised window stays as it is.
    void fitInsideArea();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
};

// Calls `activated` each time `window` becomes the active child of `area`
// after another child was; a message box shown over it and closed again
// does not count as a new activation.
void OnActivation(QMdiArea* area, QMdiSubWindow* window, const std::function<void()>& activated);

}  // namespace kavrin
