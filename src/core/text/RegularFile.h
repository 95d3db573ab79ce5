// Opening a file for reading only when it is a regular file: a named pipe, a
// device or a folder is refused without blocking and without being read.
#pragma once

#include <string>

namespace kavrin {

// A read-only descriptor of the regular file at `path` (the caller closes it).
// The file is opened without blocking, so a named pipe with no writer cannot
// hang the reader, and checked before anything is read. Throws FileError: the
// system's error when it cannot be opened, FileError::notRegularFile for a
// folder, a device or a pipe.
int OpenRegularFile(const std::string& path);

// Throws as OpenRegularFile does when something that is not a regular file is
// at `path`; nothing there at all is accepted. For files another library opens
// (the settings file).
void RequireRegularFileOrNothing(const std::string& path);

}  // namespace kavrin
