// The seam for libraries loaded at run time: the program's own folder, loading a library
// by its full path only, and finding its entry points.
#pragma once

#include <string>
#include <vector>

namespace tw {

/// The folder of the running program, with a final separator ("C:\Sensors\" on Windows,
/// "/opt/tarnwheel/bin/" on POSIX); empty when the platform cannot tell.
std::string program_directory();

/// True when `path` (a full path) names a regular file: not missing, no folder, no device.
bool library_file_present(const std::string& path);

/// Loads the library file `path` (a full path) for the life of the process: only that file,
/// never one found elsewhere by the platform's search, and without any dialog. Returns the
/// library, or NULL with `reason` telling why it could not be loaded.
void* load_library(const std::string& path, std::string& reason);

/// Loads the library file `path` as load_library does, so that the libraries it links to
/// are found among `companions` (full paths of files beside it, each loaded first in the
/// order given, for the life of the process). On Windows the loader looks in the library's
/// own folder by itself; elsewhere the companions are loaded first, so that the library's
/// references to them find them loaded. Returns the library, or NULL with `reason` (the
/// reason of the companion that failed names its path).
void* load_library_with_companions(const std::string& path,
                                   const std::vector<std::string>& companions,
                                   std::string& reason);

/// The address of the entry point `name` of a loaded library; NULL when it has none.
void* library_entry(void* library, const char* name);

}  // namespace tw
