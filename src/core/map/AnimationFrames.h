// What the animation's frames and player are made of: the frame file of a
// time, the player's interval for a slider value, and the free memory check.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kavrin {

// The time truncated towards zero as a decimal integer, + ".bmp": "-2.bmp"
// for −2.5. Times sharing an integer part share a file.
std::string FrameFileName(double t);

// (100 − value) × 5000 / 100 ms, truncated, held within 100 … 5000.
int SliderInterval(int value);

// MemAvailable of a /proc/meminfo text, in bytes; nothing when it is absent.
std::optional<std::uint64_t> AvailableMemory(const std::string& meminfo);

// Creates the frames' folder and those above it; FileError with the
// system's cause when it cannot.
void MakeFrameFolder(const std::string& folder);

// MemAvailable of the system's /proc/meminfo; nothing when it cannot be told.
std::optional<std::uint64_t> SystemAvailableMemory();

// The frames are not made below 50 MiB of available memory.
inline bool EnoughMemoryForFrames(std::uint64_t availableBytes)
{
    return availableBytes / 1048576 >= 50;
}

}  // namespace kavrin
