// The several starts' count and seed as the calibration window, the project
// file and the command line all take them.
#pragma once

#include <cstdint>

namespace kavrin {

constexpr int kMostStarts = 100000;
constexpr std::uint64_t kDefaultSeed = 1;
// The window's seed box holds an int; the file and the command line take no more.
constexpr std::uint64_t kMostSeed = 2147483647;

}  // namespace kavrin
