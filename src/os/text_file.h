// The one seam between the sensor and the operating system's files: path texts in the
// sensor's own (Windows) form, the drive root that stands in for "C:\" on POSIX, opening
// files for reading (as Windows editors save them: with or without a byte-order mark),
// reading text in pieces, deleting files.
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

/// A file open for reading. A file that begins with a UTF-16 byte-order mark is held as its
/// text in Windows-1252 and read from memory; any other file is read from its stream, past
/// a UTF-8 byte-order mark at its start. False when no file was opened.
struct InputFile {
  FileHandle stream;      ///< the file itself, unless its text is held
  bool is_held = false;   ///< the text is `held`
  std::string held;       ///< the converted text of a UTF-16 file
  std::size_t next = 0;   ///< the next character of `held`
  bool mid_line = false;  ///< the last piece ended before the end of its line
  bool failed = false;    ///< reading the stream failed

  explicit operator bool() const noexcept { return stream != nullptr || is_held; }
};

/// Opens an existing regular file for reading, as text or as raw bytes, and looks at its
/// byte-order mark (read_from). A directory, a named pipe, a device, a missing file or an
/// unreadable one gives an empty file, without waiting: a file "exists" only when it is a
/// file that can be read.
InputFile open_for_reading(std::string_view text, bool binary = false);

/// Reads an open stream, positioned at its start, through the byte-order mark rules: after
/// a UTF-8 mark (EF BB BF) the stream is read on; after a UTF-16 mark (FF FE little-endian,
/// FE FF big-endian) the rest is read as raw bytes and held as its text in Windows-1252,
/// characters beyond the code page made "?". `binary` tells how the stream was opened.
InputFile read_from(FileHandle stream, bool binary = false);

/// Deletes a regular file; anything else stays, and a failure (no such file, no
/// permission) is ignored.
void remove_file(std::string_view text);

/// Reads the next piece of a text file, as a C library line read into a buffer of
/// `max_chars` + 1 characters would: up to and including the next line feed, or at most
/// `max_chars` characters. The piece ends at its first NUL byte, as a C text would.
/// Returns false when the file is at its end and nothing was read.
bool read_piece(InputFile& file, std::size_t max_chars, std::string& piece);

/// Appends the pieces that remain of the line whose piece was read last, read as
/// read_piece reads them, up to and including its line feed; nothing when that piece
/// ended the line.
void read_rest_of_line(InputFile& file, std::size_t max_chars, std::string& line);

/// Reads the next block of at most `max_bytes` bytes into `block`. False at the end of
/// the file or when reading fails (then `failed` is set).
bool read_block(InputFile& file, std::size_t max_bytes, std::string& block);

/// Removes a final line feed and then a final carriage return from a piece.
void strip_line_end(std::string& piece);

}  // namespace tw
