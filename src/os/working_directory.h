// The working directory of the process: where it is, what stands at a name there, and
// whether new files can be made there. Names are in the sensor's own form (native_path).
#pragma once

#include <string>

namespace tw {

/// The working directory as the platform names it, with a final separator; empty when it
/// cannot be told.
std::string working_directory();

/// What stands at a name.
enum class EntryKind {
  none,          ///< nothing
  regular_file,  ///< a file
  other,         ///< a folder, a named pipe, a device
};

/// What stands at `name`, without opening it.
EntryKind entry_kind(const std::string& name);

/// Whether the process may write the file `name` (permissions, read-only mark), without
/// opening it.
bool file_writable(const std::string& name);

/// Creates the file `name`, which must not exist yet, writes one byte into it and deletes
/// it again. False with `reason`, the system's text, when any of that fails; a name that
/// exists already is never opened ("File exists").
bool probe_new_file(const std::string& name, std::string& reason);

}  // namespace tw
