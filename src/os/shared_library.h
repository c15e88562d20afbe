// The seam for libraries loaded at run time: the program's own folder, loading a library
// by its full path only, and finding its entry points.
#pragma once

#include <string>

namespace tw {

/// The folder of the running program, with a final separator ("C:\Sensors\" on Windows,
/// "/opt/tarnwheel/bin/" on POSIX); empty when the platform cannot tell.
std::string program_directory();

/// Loads the library file `path` (a full path) for the life of the process: only that file,
/// never one found elsewhere by the platform's search, and without any dialog. Returns the
/// library, or NULL with `reason` telling why it could not be loaded.
void* load_library(const std::string& path, std::string& reason);

/// The address of the entry point `name` of a loaded library; NULL when it has none.
void* library_entry(void* library, const char* name);

}  // namespace tw
