#include "os/text_file.h"

#include <cstdio>
#include <utility>

#include "os/regular_file.h"

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

FileHandle open_for_reading(std::string_view text, bool binary) {
  const std::string path = native_path(text);
  if (path.empty()) return nullptr;
  return FileHandle(open_regular_file(path, binary ? "rb" : "r"));
}

void remove_file(std::string_view text) { remove_regular_file(native_path(text)); }

bool read_piece(std::FILE* file, std::size_t max_chars, std::string& piece) {
  piece.clear();
  std::size_t count = 0;
  bool cut = false;
  while (count < max_chars) {
    const int c = std::getc(file);
    if (c == EOF) break;
    ++count;
    if (c == '\0') cut = true;
    if (!cut) piece.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  return count > 0;
}

void strip_line_end(std::string& piece) {
  if (!piece.empty() && piece.back() == '\n') piece.pop_back();
  if (!piece.empty() && piece.back() == '\r') piece.pop_back();
}

}  // namespace tw
