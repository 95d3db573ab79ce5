#include "text/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/Errors.h"

namespace kavrin {

int OpenRegularFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) throw FileError(errno, path);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw FileError::notRegularFile(path);
    }
    // Reads of a regular file never block; the flag only mattered for the open.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

void RequireRegularFileOrNothing(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return;
        throw FileError(errno, path);
    }
    if (!S_ISREG(info.st_mode)) throw FileError::notRegularFile(path);
}

}  // namespace kavrin
