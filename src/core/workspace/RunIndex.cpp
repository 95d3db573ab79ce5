#include "workspace/RunIndex.h"

#include "text/Errors.h"
#include "text/Windows1252.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace kavrin {

RunIndex::RunIndex(const std::string& path) : path_(path)
{
    descriptor_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (descriptor_ < 0) throw FileError(errno, path);
}

RunIndex::~RunIndex()
{
    if (descriptor_ >= 0) ::close(descriptor_);
}

void RunIndex::append(const std::string& timeFilePath)
{
    const std::string line = Utf8ToWindows1252(timeFilePath) + "\r\n";
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t written = ::write(descriptor_, line.data() + done, line.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            const int code = errno;
            // A line cut short would name no file: the index ends at the last whole line.
            if (done > 0) (void)::ftruncate(descriptor_, ::lseek(descriptor_, 0, SEEK_CUR) - static_cast<off_t>(done));
            throw FileError(code, path_);
        }
        done += static_cast<std::size_t>(written);
    }
}

void RunIndex::close()
{
    if (descriptor_ < 0) return;
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (::close(descriptor) != 0) throw FileError(errno, path_);
}

}  // namespace kavrin
