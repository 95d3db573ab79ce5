#include "text/WholeFile.h"

#include "text/Errors.h"
#include "text/RegularFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace kavrin {

namespace {

// Closes the descriptor however the read ends.
struct Descriptor {
    int fd;
    ~Descriptor() { ::close(fd); }
};

}  // namespace

std::optional<LargeBuffer<char>> ReadWholeFile(const std::string& path, std::size_t largest)
{
    const Descriptor file{OpenRegularFile(path)};
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) throw FileError(errno, path);
    if (info.st_size < 0 || static_cast<std::size_t>(info.st_size) > largest) return std::nullopt;
    // One byte more than the file holds shows that it grew.
    LargeBuffer<char> bytes(static_cast<std::size_t>(info.st_size) + 1);
    std::size_t size = 0;
    for (;;) {
        const ssize_t got = ::read(file.fd, bytes.data() + size, bytes.size() - size);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw FileError(errno, path);
        }
        if (got == 0) break;
        size += static_cast<std::size_t>(got);
        if (size == bytes.size()) return std::nullopt;
    }
    bytes.resize(size);
    return bytes;
}

}  // namespace kavrin
