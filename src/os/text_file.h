// The one seam between the sensor and the operating system's files: path texts in the
// sensor's own (Windows) form, the drive root that stands in for "C:\" on POSIX, opening
// files for reading, reading text in pieces, deleting files.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace tw {

struct FileCloser {
  void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
/// An open C stream that closes itself.
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

/// Points the root of the current drive somewhere else (POSIX only; "/" unless changed).
/// Tests use it to keep every file below a temporary directory.
void set_drive_root(std::string root);

/// The root of the current drive on POSIX, without a final "/" ("" for "/").
const std::string& drive_root();

/// True when `c` separates directories in a path text: "\" everywhere, "/" as well on POSIX.
bool is_separator(char c);

/// Turns a path text in the sensor's form into a name the platform opens. On Windows it
/// is the text itself. On POSIX a leading "X:" is dropped, every "\" becomes "/", and an
/// absolute text is placed below the drive root; a relative text stays relative to the
/// working directory.
std::string native_path(std::string_view text);

/// Opens an existing regular file for reading, as text or as raw bytes. A directory, a
/// named pipe, a device, a missing file or an unreadable one gives an empty handle, without
/// waiting: a file "exists" only when it is a file that can be read.
FileHandle open_for_reading(std::string_view text, bool binary = false);

/// Deletes a regular file; anything else stays, and a failure (no such file, no
/// permission) is ignored.
void remove_file(std::string_view text);

/// Reads the next piece of a text stream, as a C library line read into a buffer of
/// `max_chars` + 1 characters would: up to and including the next line feed, or at most
/// `max_chars` characters. The piece ends at its first NUL byte, as a C text would.
/// Returns false when the stream is at its end and nothing was read.
bool read_piece(std::FILE* file, std::size_t max_chars, std::string& piece);

/// Removes a final line feed and then a final carriage return from a piece.
void strip_line_end(std::string& piece);

}  // namespace tw
