// Hands a document to the desktop's opener without waiting for it, and tells
// later when the desktop could not open it (no opener, no viewer, a failing viewer).
#pragma once

#include <QObject>
#include <functional>

namespace kavrin {

class DesktopLauncher : public QObject {
public:
    using Unopened = std::function<void()>;

    explicit DesktopLauncher(QObject* parent = nullptr) : QObject(parent) {}
    // Openers still waiting for their viewer are stopped; the viewers stay open.
    ~DesktopLauncher() override;

    void open(const QString& path, Unopened unopened);
};

}  // namespace kavrin
