// Writing a picture file (a bitmap, an animated GIF) whole or not at all:
// the bytes go to a hidden temporary file beside it, which replaces the file
// only when everything is on the disk. A new file follows the umask like
// every other output; a file saved over keeps its mode, and a symbolic link
// keeps pointing at the file it names.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace kavrin {

class PictureFileWriter {
public:
    // Throws FileError (with the system's cause) when the temporary file
    // cannot be created.
    explicit PictureFileWriter(const std::string& path);
    // Removes the temporary file of a writer that was not committed.
    ~PictureFileWriter();
    PictureFileWriter(const PictureFileWriter&) = delete;
    PictureFileWriter& operator=(const PictureFileWriter&) = delete;

    void write(const void* bytes, std::size_t count);  // FileError naming the picture's path
    // Flushes, gives the file the mode it replaces and renames it over the
    // picture's path; FileError (and the temporary file removed) on a failure.
    void commit();

private:
    [[noreturn]] void fail(int code);

    std::string path_, temporary_;
    std::FILE* file_ = nullptr;
};

// Writes `bytes` as the picture at `path` through a PictureFileWriter.
void WritePictureFile(const std::string& path, const std::string& bytes);

}  // namespace kavrin
