// Files that are files: opening and deleting only regular files, so that a named pipe, a
// device or a folder where a file is expected neither blocks the process nor is touched.
// Shared by the sensor and the RFC library stand-in.
#pragma once

#include <cstdio>
#include <string>

namespace tw {

/// Opens the file `path` (a name the platform opens) as a C stream with `mode` ("r", "rb",
/// "w", "wb", "a", "ab"). Succeeds only for a regular file, one that writing creates
/// included; a folder, a named pipe or a device gives NULL, at once, without reading,
/// writing or truncating it.
std::FILE* open_regular_file(const std::string& path, const char* mode);

/// Deletes `path` when it is a regular file. Anything else (nothing there, a folder, a
/// named pipe, a device) stays as it is; so does a file that cannot be deleted.
void remove_regular_file(const std::string& path);

}  // namespace tw
