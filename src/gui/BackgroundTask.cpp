#include "gui/BackgroundTask.h"

#include <QEventLoop>

namespace kavrin {

BackgroundTask::BackgroundTask() = default;

BackgroundTask::~BackgroundTask()
{
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void BackgroundTask::launch(std::function<void()> body)
{
    if (thread_.joinable()) thread_.join();
    stop_ = false;
    running_ = true;
    thread_ = std::thread(std::move(body));
}

void BackgroundTask::post(std::function<void()> show)
{
    // Queued calls from one thread to one receiver run in the order posted.
    QMetaObject::invokeMethod(this, std::move(show), Qt::QueuedConnection);
}

void BackgroundTask::deliver(std::function<void()> outcome)
{
    post([this, outcome = std::move(outcome)] {
        // The work has returned: its thread ends right after posting this.
        if (thread_.joinable()) thread_.join();
        running_ = false;
        outcome();
        if (waiting_) waiting_->quit();
    });
}

void BackgroundTask::waitForOutcome()
{
    if (!running_) return;
    QEventLoop waiting;
    waiting_ = &waiting;
    waiting.exec();
    waiting_ = nullptr;
}

}  // namespace kavrin
