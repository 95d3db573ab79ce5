// A regular file's bytes read whole into one buffer.
#pragma once

#include "solution/LargeBuffer.h"

#include <cstddef>
#include <optional>
#include <string>

namespace kavrin {

// The bytes of the file at `path`, opened as OpenRegularFile opens it (the
// same FileError for a missing file, a folder, a device or a pipe) and read
// in one go into a buffer on huge pages; a read error throws FileError. None
// for a file larger than `largest` bytes or one that grows while it is read:
// the caller reads that one another way.
std::optional<LargeBuffer<char>> ReadWholeFile(const std::string& path, std::size_t largest);

}  // namespace kavrin
