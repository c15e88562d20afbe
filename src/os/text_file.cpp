#include "os/text_file.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "os/regular_file.h"
#include "os/windows_1252.h"

namespace tw {

namespace {
std::string& drive_root_setting() {
  static std::string root;
  return root;
}
}  // namespace

void set_drive_root(std::string root) {
  while (!root.empty() && root.back() == '/') root.pop_back();
  drive_root_setting() = std::move(root);
}

const std::string& drive_root() { return drive_root_setting(); }

bool is_separator(char c) {
#ifdef _WIN32
  return c == '\\';
#else
  return c == '\\' || c == '/';
#endif
}

std::string native_path(std::string_view text) {
#ifdef _WIN32
  return std::string(text);
#else
  if (text.size() >= 2 && text[1] == ':') text.remove_prefix(2);
  std::string path;
  path.reserve(drive_root().size() + text.size());
  if (!text.empty() && is_separator(text.front())) path = drive_root();
  for (char c : text) path.push_back(c == '\\' ? '/' : c);
  return path;
#endif
}

namespace {

#ifdef _WIN32
/// What a Windows text stream gives of `bytes`: CR LF as LF, nothing from Ctrl+Z on.
std::string as_text_stream_reads(std::string bytes) {
  bytes.resize(std::min(bytes.size(), bytes.find('\x1A')));
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text.push_back(bytes[i]);
  }
  return text;
}
#endif

}  // namespace

InputFile open_for_reading(std::string_view text, bool binary) {
  const std::string path = native_path(text);
  if (path.empty()) return {};
  return read_from(FileHandle(open_regular_file(path, binary ? "rb" : "r")), binary);
}

InputFile read_from(FileHandle stream, bool binary) {
  InputFile file;
  if (!stream) return file;
  std::FILE* const raw = stream.get();
  unsigned char head[3] = {};
  const std::size_t got = std::fread(head, 1, sizeof head, raw);
  std::rewind(raw);
  const bool little_endian = got >= 2 && head[0] == 0xFF && head[1] == 0xFE;
  const bool big_endian = got >= 2 && head[0] == 0xFE && head[1] == 0xFF;
  if (little_endian || big_endian) {
#ifdef _WIN32
    // The code units are bytes of any value: none may be taken for a line end or an end mark.
    if (!binary) _setmode(_fileno(raw), _O_BINARY);
#else
    (void)binary;
#endif
    std::string bytes;
    char block[4096];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, raw)) > 0) bytes.append(block, n);
    file.failed = std::ferror(raw) != 0;
    file.held = windows_1252_of_utf16(
        std::string_view(bytes).substr(std::min<std::size_t>(2, bytes.size())), big_endian);
#ifdef _WIN32
    if (!binary) file.held = as_text_stream_reads(std::move(file.held));
#endif
    file.is_held = true;
    return file;
  }
  if (got == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
    file.failed = std::fread(head, 1, sizeof head, raw) != sizeof head;
  }
  file.stream = std::move(stream);
  return file;
}

void remove_file(std::string_view text) { remove_regular_file(native_path(text)); }

namespace {

/// The next byte of the file, or EOF.
int next_byte(InputFile& file) {
  if (file.is_held) {
    return file.next < file.held.size() ? static_cast<unsigned char>(file.held[file.next++]) : EOF;
  }
  const int c = std::getc(file.stream.get());
  if (c == EOF && std::ferror(file.stream.get())) file.failed = true;
  return c;
}

}  // namespace

bool read_piece(InputFile& file, std::size_t max_chars, std::string& piece) {
  piece.clear();
  std::size_t count = 0;
  bool cut = false;
  int c = EOF;
  while (count < max_chars) {
    c = next_byte(file);
    if (c == EOF) break;
    ++count;
    if (c == '\0') cut = true;
    if (!cut) piece.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  file.mid_line = count == max_chars && c != '\n';
  return count > 0;
}

void read_rest_of_line(InputFile& file, std::size_t max_chars, std::string& line) {
  std::string piece;
  while (file.mid_line && read_piece(file, max_chars, piece)) line += piece;
  file.mid_line = false;
}

bool read_block(InputFile& file, std::size_t max_bytes, std::string& block) {
  block.clear();
  if (file.is_held) {
    block = file.held.substr(std::min(file.next, file.held.size()), max_bytes);
    file.next += block.size();
    return !block.empty();
  }
  if (!file.stream) return false;
  block.resize(max_bytes);
  block.resize(std::fread(block.data(), 1, max_bytes, file.stream.get()));
  if (block.empty() && std::ferror(file.stream.get())) file.failed = true;
  return !block.empty();
}

void strip_line_end(std::string& piece) {
  if (!piece.empty() && piece.back() == '\n') piece.pop_back();
  if (!piece.empty() && piece.back() == '\r') piece.pop_back();
}

}  // namespace tw
