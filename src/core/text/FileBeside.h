// The pieces of a save that replaces a file only once the new one is whole:
// where the save lands, the hidden file beside it, and the mode it keeps.
#pragma once

#include <cstdio>
#include <string>

namespace kavrin {

// What a save to `path` replaces: the file a symbolic link points to, not the link.
std::string SaveTargetOf(const std::string& path);

// Creates a new, hidden file next to `path` for writing and puts its name in
// `temporary`; the process umask applies to it as to any new file. Throws
// FileError naming `errorPath`.
std::FILE* CreateTemporaryBeside(const std::string& path, std::string& temporary, const std::string& errorPath);

// A save over a file keeps that file's permissions; a new file keeps those the
// umask gave it. Returns false when the mode could not be set.
bool KeepModeOf(const std::string& target, int descriptor);

}  // namespace kavrin
