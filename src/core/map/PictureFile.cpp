#include "map/PictureFile.h"

#include "text/Errors.h"
#include "text/FileBeside.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace kavrin {

PictureFileWriter::PictureFileWriter(const std::string& path) : path_(path)
{
    const std::string target = SaveTargetOf(path);
    if (target.empty() || target.back() == '/') throw FileError(ENOENT, path);
    file_ = CreateTemporaryBeside(target, temporary_, path);
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
    const std::string target = SaveTargetOf(path_);
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        // A file saved over keeps its mode, and reaches the disk before it
        // takes the old file's place.
        if (!KeepModeOf(target, ::fileno(file_)) || ::fsync(::fileno(file_)) != 0) fail(errno);
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
