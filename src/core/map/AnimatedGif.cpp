#include "map/AnimatedGif.h"

#include "text/Errors.h"

#include <gif_lib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <unordered_map>

namespace kavrin {

namespace {

std::uint32_t key(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}

// The one palette of all frames, colours in order of first appearance.
struct Palette {
    std::unordered_map<std::uint32_t, GifPixelType> index;
    std::vector<GifColorType> colours;
};

Palette paletteOf(const std::vector<RgbFrame>& frames)
{
    Palette palette;
    for (const RgbFrame& f : frames) {
        for (int y = 0; y < f.height; ++y) {
            const std::uint8_t* p = f.rgb + y * f.stride;
            for (int x = 0; x < f.width; ++x, p += 3) {
                if (palette.index.count(key(p))) continue;
                if (palette.colours.size() == 256) throw CheckError("The frames hold more than 256 colours; they cannot share one GIF palette.");
                palette.index.emplace(key(p), static_cast<GifPixelType>(palette.colours.size()));
                palette.colours.push_back({p[0], p[1], p[2]});
            }
        }
    }
    return palette;
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};

}  // namespace

void WriteAnimatedGif(const std::string& path, const std::vector<RgbFrame>& frames, int delayMs)
{
    if (frames.empty()) throw CheckError("There is no frame to write.");
    for (const RgbFrame& f : frames)
        if (f.width != frames[0].width || f.height != frames[0].height) throw CheckError("The frames differ in size.");
    const Palette palette = paletteOf(frames);
    int size = 2, depth = 1;
    while (size < static_cast<int>(palette.colours.size())) size *= 2, ++depth;
    std::vector<GifColorType> colours = palette.colours;
    colours.resize(static_cast<std::size_t>(size), GifColorType{0, 0, 0});
    const std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> map(GifMakeMapObject(size, colours.data()), GifFreeMapObject);

    const std::string partial = path + ".partial";
    int error = 0;
    errno = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(EGifOpenFileName(partial.c_str(), false, &error));
    if (!gif) throw FileError(errno ? errno : EACCES, path);
    EGifSetGifVersion(gif.get(), true);
    auto check = [&](int status) {
        if (status == GIF_OK) return;
        gif.reset();
        std::remove(partial.c_str());
        throw FileError(errno ? errno : EIO, path);
    };
    check(EGifPutScreenDesc(gif.get(), frames[0].width, frames[0].height, depth, 0, map.get()));
    const GifByteType loop[3] = {1, 0, 0};  // repeat for ever
    check(EGifPutExtensionLeader(gif.get(), APPLICATION_EXT_FUNC_CODE));
    check(EGifPutExtensionBlock(gif.get(), 11, "NETSCAPE2.0"));
    check(EGifPutExtensionBlock(gif.get(), 3, loop));
    check(EGifPutExtensionTrailer(gif.get()));
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = std::max(1, (delayMs + 5) / 10);
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const std::size_t controlLength = EGifGCBToExtension(&control, extension);
    std::vector<GifPixelType> line(static_cast<std::size_t>(frames[0].width));
    for (const RgbFrame& f : frames) {
        check(EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(controlLength), extension));
        check(EGifPutImageDesc(gif.get(), 0, 0, f.width, f.height, false, nullptr));
        for (int y = 0; y < f.height; ++y) {
            const std::uint8_t* p = f.rgb + y * f.stride;
            for (int x = 0; x < f.width; ++x, p += 3) line[static_cast<std::size_t>(x)] = palette.index.at(key(p));
            check(EGifPutLine(gif.get(), line.data(), f.width));
        }
    }
    GifFileType* closing = gif.release();
    if (EGifCloseFile(closing, &error) != GIF_OK) {
        std::remove(partial.c_str());
        throw FileError(EIO, path);
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        const int code = errno;
        std::remove(partial.c_str());
        throw FileError(code, path);
    }
}

}  // namespace kavrin
