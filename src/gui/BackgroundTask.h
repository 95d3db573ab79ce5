// Work off the interface thread, one way for the whole program: the work runs
// on a thread of its own, posts its progress to the interface thread (where it
// arrives in the order posted), may be asked to stop, and its outcome, the
// value it returns or the exception it throws, is delivered on the interface
// thread after all its progress.
#pragma once

#include <QObject>

class QEventLoop;

#include <atomic>
#include <exception>
#include <functional>
#include <optional>
#include <thread>
#include <utility>

namespace kavrin {

// What a finished work gave: its value, or the exception it threw (rethrown by get()).
template <class T>
class TaskOutcome {
public:
    explicit TaskOutcome(T value) : value_(std::move(value)) {}
    explicit TaskOutcome(std::exception_ptr failure) : failure_(std::move(failure)) {}

    bool failed() const { return failure_ != nullptr; }
    const std::exception_ptr& failure() const { return failure_; }
    T& get()
    {
        if (failure_) std::rethrow_exception(failure_);
        return *value_;
    }

private:
    std::optional<T> value_;
    std::exception_ptr failure_;
};

class BackgroundTask : public QObject {
public:
    // Must be created on the interface thread.
    BackgroundTask();
    // Asks a running work to stop and waits for its thread; its outcome and
    // any progress not yet shown are dropped.
    ~BackgroundTask() override;

    // Starts `work` on a thread of its own; `done` receives its outcome on the
    // interface thread. Only one work at a time: start waits for the thread of
    // the previous one, whose outcome has been delivered.
    template <class T>
    void start(std::function<T(BackgroundTask&)> work, std::function<void(TaskOutcome<T>)> done)
    {
        launch([this, work = std::move(work), done = std::move(done)]() mutable {
            std::optional<TaskOutcome<T>> outcome;
            try {
                outcome.emplace(work(*this));
            } catch (...) {
                outcome.emplace(std::current_exception());
            }
            deliver([done = std::move(done), outcome = std::move(*outcome)]() mutable { done(std::move(outcome)); });
        });
    }

    // From the work: runs `show` on the interface thread, after what was posted before.
    void post(std::function<void()> show);

    // From anywhere: the work should stop at its next check of stopRequested().
    void requestStop() { stop_ = true; }
    bool stopRequested() const { return stop_; }

    // Started, outcome not yet delivered.
    bool running() const { return running_; }

    // For a command that waits: keeps the interface painted and responsive
    // until the outcome has been delivered.
    void waitForOutcome();

private:
    void launch(std::function<void()> body);
    void deliver(std::function<void()> outcome);

    std::thread thread_;
    std::atomic<bool> stop_{false};
    bool running_ = false;
    QEventLoop* waiting_ = nullptr;
};

}  // namespace kavrin
