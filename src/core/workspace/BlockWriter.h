// Writing a time's blocks of rows on a thread of its own while the next block
// is formatted: one thread for the whole time, the blocks in the order given.
#pragma once

#include "text/TextFile.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace kavrin {

class BlockWriter {
public:
    explicit BlockWriter(TextFileWriter& file);
    ~BlockWriter();  // waits for the block being written; an error is dropped
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Waits until the block handed over before is written, then hands over
    // `pieces`, which must stay as they are until the next call or finish().
    // A failure of the block before is thrown here.
    void write(const std::vector<std::string_view>& pieces);

    // Waits until every block is written; a failure is thrown here.
    void finish();

private:
    void waitForIdle(std::unique_lock<std::mutex>& lock);
    void serve();

    TextFileWriter& file_;
    std::mutex mutex_;
    std::condition_variable changed_;
    const std::vector<std::string_view>* pending_ = nullptr;  // handed over, not yet written
    bool closing_ = false;
    std::exception_ptr error_;
    std::thread thread_;
};

}  // namespace kavrin
