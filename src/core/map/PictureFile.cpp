#include "map/PictureFile.h"

#include "text/Errors.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavrin {

namespace {

// A save replaces what the path names: the file a symbolic link points to.
std::string targetOf(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

}  // namespace

PictureFileWriter::PictureFileWriter(const std::string& path) : path_(path)
{
    static std::atomic<unsigned> counter{0};
    const std::string target = targetOf(path);
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.empty()) throw FileError(ENOENT, path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_ = folder + "." + name + ".saving-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        // 0666: the umask decides a new file's mode, as for every other output.
        const int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            file_ = ::fdopen(fd, "wb");
            if (file_) return;
            const int code = errno;
            ::close(fd);
            ::unlink(temporary_.c_str());
            throw FileError(code, path);
        }
        if (errno != EEXIST) throw FileError(errno, path);
    }
    throw FileError(EEXIST, path);
}

PictureFileWriter::~PictureFileWriter()
{
    if (!file_) return;
    std::fclose(file_);
    ::unlink(temporary_.c_str());
}

void PictureFileWriter::fail(int code)
{
    std::fclose(file_);
    file_ = nullptr;
    ::unlink(temporary_.c_str());
    throw FileError(code ? code : EIO, path_);
}

void PictureFileWriter::write(const void* bytes, std::size_t count)
{
    errno = 0;
    if (count > 0 && std::fwrite(bytes, 1, count, file_) != count) fail(errno);
}

void PictureFileWriter::commit()
{
    errno = 0;
    if (std::fflush(file_) != 0) fail(errno);
    const std::string target = targetOf(path_);
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        // A file saved over keeps its mode, and reaches the disk before it
        // takes the old file's place.
        if (::fchmod(::fileno(file_), existing.st_mode & 07777) != 0 || ::fsync(::fileno(file_)) != 0) fail(errno);
    }
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) {
        const int code = errno ? errno : EIO;
        ::unlink(temporary_.c_str());
        throw FileError(code, path_);
    }
    if (::rename(temporary_.c_str(), target.c_str()) != 0) {
        const int code = errno;
        ::unlink(temporary_.c_str());
        throw FileError(code, path_);
    }
}

void WritePictureFile(const std::string& path, const std::string& bytes)
{
    PictureFileWriter file(path);
    file.write(bytes.data(), bytes.size());
    file.commit();
}

}  // namespace kavrin
