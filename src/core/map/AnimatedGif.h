// One animated GIF of the map's frames: the frames hold few colours (the
// level and scale colours, black and white), so all fit one global palette
// exactly and no frame is dithered.
#pragma once

#include "map/PictureFile.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace kavrin {

// A frame of 24-bit RGB pixels, rows `stride` bytes apart.
struct RgbFrame {
    const std::uint8_t* rgb;
    int width, height;
    std::ptrdiff_t stride;
};

// Writes the frames one at a time, each shown `delayMs` milliseconds (in
// hundredths of a second, at least one), looping for ever, at exactly `path`
// (as a PictureFileWriter does, so a failure leaves an earlier file intact).
// The palette (colours in order of first appearance) heads the file but is
// known only after the last frame, so each frame is kept until then as its
// palette indices, run-length coded, in an unnamed file beside the picture:
// the memory held does not grow with the number of frames.
class AnimatedGifWriter {
public:
    AnimatedGifWriter(const std::string& path, int delayMs);
    ~AnimatedGifWriter();
    AnimatedGifWriter(const AnimatedGifWriter&) = delete;
    AnimatedGifWriter& operator=(const AnimatedGifWriter&) = delete;

    // Throws CheckError when the frame differs in size from the first or
    // brings the colours beyond 256, FileError when it cannot be kept.
    void addFrame(const RgbFrame& frame);
    // Writes the file; CheckError when there was no frame, FileError when the
    // file cannot be written.
    void finish();

    int frameCount() const { return frames_; }
    // The bytes the writer holds in memory (palette and buffers).
    std::size_t heldBytes() const;

private:
    std::string path_;
    int delayMs_;
    int width_ = 0, height_ = 0, frames_ = 0;
    std::unordered_map<std::uint32_t, std::uint8_t> index_;  // colour → palette index
    std::vector<std::uint8_t> palette_;                      // r, g, b of each index
    std::vector<std::uint8_t> row_;                          // one row's indices, or its runs
    std::FILE* spill_ = nullptr;                             // the frames' runs until finish()
};

// The frames written at once through an AnimatedGifWriter.
void WriteAnimatedGif(const std::string& path, const std::vector<RgbFrame>& frames, int delayMs);

}  // namespace kavrin
