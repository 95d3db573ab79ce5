#include "text/FileBeside.h"

#include "text/Errors.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavrin {

std::string SaveTargetOf(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::FILE* CreateTemporaryBeside(const std::string& path, std::string& temporary, const std::string& errorPath)
{
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + "." + name + ".saving-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        // 0666: the umask decides a new file's mode, as for every other output.
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (std::FILE* file = ::fdopen(fd, "wb")) return file;
            const int code = errno;
            ::close(fd);
            ::unlink(temporary.c_str());
            throw FileError(code, errorPath);
        }
        if (errno != EEXIST) throw FileError(errno, errorPath);
    }
    throw FileError(EEXIST, errorPath);
}

bool KeepModeOf(const std::string& target, int descriptor)
{
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return true;
    return ::fchmod(descriptor, info.st_mode & 07777) == 0;
}

}  // namespace kavrin
