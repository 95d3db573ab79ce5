// One animated GIF of the map's frames: the frames hold few colours (the
// level and scale colours, black and white), so all fit one global palette
// exactly and no frame is dithered.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kavrin {

// A frame of 24-bit RGB pixels, rows `stride` bytes apart.
struct RgbFrame {
    const std::uint8_t* rgb;
    int width, height;
    std::ptrdiff_t stride;
};

// Writes the frames, each shown `delayMs` milliseconds (in hundredths of a
// second, at least one), looping for ever, at exactly `path` (through a
// temporary file, so a failure leaves an earlier file intact). Throws
// CheckError when the frames differ in size or hold more than 256 colours,
// FileError when the file cannot be written.
void WriteAnimatedGif(const std::string& path, const std::vector<RgbFrame>& frames, int delayMs);

}  // namespace kavrin
