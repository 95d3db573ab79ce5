#include "map/AnimatedGif.h"

#include "text/Errors.h"

#include <gif_lib.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace kavrin {

namespace {

std::uint32_t key(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}

// An unnamed file in the picture's folder: nothing is left behind, whatever
// ends the program, and the folder the user chose is the only one touched.
std::FILE* unnamedFileBeside(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    int fd = ::open(folder.c_str(), O_RDWR | O_TMPFILE | O_CLOEXEC, 0600);
    if (fd < 0 && errno != ENOENT && errno != EACCES && errno != EROFS) {
        // A file system without unnamed files: a named one, unlinked at once.
        std::string name = (slash == std::string::npos ? std::string() : folder) + ".kavrin-frames-XXXXXX";
        fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd >= 0) ::unlink(name.c_str());
    }
    if (fd < 0) throw FileError(errno, path);
    std::FILE* file = ::fdopen(fd, "w+b");
    if (!file) {
        const int code = errno;
        ::close(fd);
        throw FileError(code, path);
    }
    return file;
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

int toPicture(GifFileType* gif, const GifByteType* bytes, int count)
{
    auto* file = static_cast<PictureFileWriter*>(gif->UserData);
    try {
        file->write(bytes, static_cast<std::size_t>(count));
    } catch (const FileError& error) {
        errno = error.code();
        return 0;
    }
    return count;
}

}  // namespace

AnimatedGifWriter::AnimatedGifWriter(const std::string& path, int delayMs) : path_(path), delayMs_(delayMs)
{
    spill_ = unnamedFileBeside(path);
}

AnimatedGifWriter::~AnimatedGifWriter()
{
    if (spill_) std::fclose(spill_);
}

std::size_t AnimatedGifWriter::heldBytes() const
{
    return index_.size() * (sizeof(std::uint32_t) + sizeof(std::uint8_t) + 2 * sizeof(void*)) +
           index_.bucket_count() * sizeof(void*) + palette_.capacity() + row_.capacity();
}

void AnimatedGifWriter::addFrame(const RgbFrame& f)
{
    if (frames_ == 0) {
        width_ = f.width, height_ = f.height;
        row_.reserve(2 * static_cast<std::size_t>(std::max(f.width, 0)));
    } else if (f.width != width_ || f.height != height_) {
        throw CheckError("The frames differ in size.");
    }
    for (int y = 0; y < f.height; ++y) {
        // Runs of one index: (length 1 … 255, index).
        row_.clear();
        const std::uint8_t* p = f.rgb + y * f.stride;
        std::uint32_t lastColour = 0;
        std::uint8_t lastIndex = 0;
        for (int x = 0; x < f.width; ++x, p += 3) {
            // A run of one colour is looked up once.
            const std::uint32_t colour = key(p);
            if (x == 0 || colour != lastColour) {
                auto found = index_.find(colour);
                if (found == index_.end()) {
                    if (index_.size() == 256)
                        throw CheckError("The frames hold more than 256 colours; they cannot share one GIF palette.");
                    found = index_.emplace(colour, static_cast<std::uint8_t>(index_.size())).first;
                    palette_.insert(palette_.end(), {p[0], p[1], p[2]});
                }
                lastColour = colour, lastIndex = found->second;
            }
            if (!row_.empty() && row_[row_.size() - 1] == lastIndex && row_[row_.size() - 2] < 255) {
                ++row_[row_.size() - 2];
            } else {
                row_.push_back(1);
                row_.push_back(lastIndex);
            }
        }
        errno = 0;
        if (std::fwrite(row_.data(), 1, row_.size(), spill_) != row_.size()) throw FileError(errno ? errno : EIO, path_);
    }
    ++frames_;
}

void AnimatedGifWriter::finish()
{
    if (frames_ == 0) throw CheckError("There is no frame to write.");
    errno = 0;
    if (std::fflush(spill_) != 0 || std::fseek(spill_, 0, SEEK_SET) != 0) throw FileError(errno ? errno : EIO, path_);
    const int colours = static_cast<int>(index_.size());
    int size = 2, depth = 1;
    while (size < colours) size *= 2, ++depth;
    std::vector<GifColorType> table(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
    for (int c = 0; c < colours; ++c)
        table[static_cast<std::size_t>(c)] = {palette_[static_cast<std::size_t>(3 * c)],
                                              palette_[static_cast<std::size_t>(3 * c + 1)],
                                              palette_[static_cast<std::size_t>(3 * c + 2)]};
    const std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(GifMakeMapObject(size, table.data()), GifFreeMapObject);

    PictureFileWriter file(path_);
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpen(&file, toPicture, &error));
    if (!gif) throw FileError(ENOMEM, path_);
    EGifSetGifVersion(gif.get(), true);
    auto check = [&](int status) {
        if (status != GIF_OK) throw FileError(errno ? errno : EIO, path_);
    };
    errno = 0;
    check(EGifPutScreenDesc(gif.get(), width_, height_, depth, 0, map.get()));
    const GifByteType loop[3] = {1, 0, 0};  // repeat for ever
    check(EGifPutExtensionLeader(gif.get(), APPLICATION_EXT_FUNC_CODE));
    check(EGifPutExtensionBlock(gif.get(), 11, "NETSCAPE2.0"));
    check(EGifPutExtensionBlock(gif.get(), 3, loop));
    check(EGifPutExtensionTrailer(gif.get()));
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = std::max(1, (delayMs_ + 5) / 10);
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const std::size_t controlLength = EGifGCBToExtension(&control, extension);
    std::vector<GifPixelType> line(static_cast<std::size_t>(width_));
    for (int n = 0; n < frames_; ++n) {
        check(EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(controlLength), extension));
        check(EGifPutImageDesc(gif.get(), 0, 0, width_, height_, false, nullptr));
        for (int y = 0; y < height_; ++y) {
            for (std::size_t x = 0; x < line.size();) {
                const int length = std::getc(spill_), index = std::getc(spill_);
                if (length == EOF || index == EOF || length == 0 || x + static_cast<std::size_t>(length) > line.size())
                    throw FileError(std::ferror(spill_) && errno ? errno : EIO, path_);
                std::fill_n(line.begin() + static_cast<std::ptrdiff_t>(x), length, static_cast<GifPixelType>(index));
                x += static_cast<std::size_t>(length);
            }
            check(EGifPutLine(gif.get(), line.data(), width_));
        }
    }
    GifFileType* closing = gif.release();
    errno = 0;
    if (EGifCloseFile(closing, &error) != GIF_OK) throw FileError(errno ? errno : EIO, path_);
    file.commit();
}

void WriteAnimatedGif(const std::string& path, const std::vector<RgbFrame>& frames, int delayMs)
{
    AnimatedGifWriter writer(path, delayMs);
    for (const RgbFrame& f : frames) writer.addFrame(f);
    writer.finish();
}

}  // namespace kavrin
