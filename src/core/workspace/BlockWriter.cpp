#include "workspace/BlockWriter.h"

#include <utility>

namespace kavrin {

BlockWriter::BlockWriter(TextFileWriter& file) : file_(file), thread_([this] { serve(); }) {}

BlockWriter::~BlockWriter()
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void BlockWriter::waitForIdle(std::unique_lock<std::mutex>& lock)
{
    changed_.wait(lock, [&] { return pending_ == nullptr; });
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

void BlockWriter::write(const std::vector<std::string_view>& pieces)
{
    {
        std::unique_lock<std::mutex> lock(mutex_);
        waitForIdle(lock);
        pending_ = &pieces;
    }
    changed_.notify_all();
}

void BlockWriter::finish()
{
    std::unique_lock<std::mutex> lock(mutex_);
    waitForIdle(lock);
}

void BlockWriter::serve()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return pending_ != nullptr || closing_; });
        if (!pending_) return;
        const std::vector<std::string_view>& pieces = *pending_;
        lock.unlock();
        std::exception_ptr error;
        try {
            file_.writePieces(pieces);
        } catch (...) {
            error = std::current_exception();
        }
        lock.lock();
        // After a failure the blocks still handed over are not written.
        if (error && !error_) error_ = error;
        pending_ = nullptr;
        changed_.notify_all();
    }
}

}  // namespace kavrin
