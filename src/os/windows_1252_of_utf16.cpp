#include "os/windows_1252.h"

namespace tw {

namespace {

/// The Windows-1252 byte of `c`, or "?" when the code page has no such character.
char windows_1252_byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (unsigned i = 0; i < 32; ++i) {
    if (kWindows1252High[i] != 0 && kWindows1252High[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string windows_1252_of_utf16(std::string_view bytes, bool big_endian) {
  const auto unit = [&](std::size_t at) -> char32_t {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    return big_endian ? (char32_t{first} << 8) | second : (char32_t{second} << 8) | first;
  };
  std::string text;
  text.reserve(bytes.size() / 2 + 1);
  std::size_t at = 0;
  for (; at + 1 < bytes.size(); at += 2) {
    const char32_t c = unit(at);
    if (c >= 0xD800 && c <= 0xDBFF && at + 3 < bytes.size()) {
      const char32_t low = unit(at + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        at += 2;  // a pair: one character beyond the code page
        text.push_back('?');
        continue;
      }
    }
    text.push_back(c >= 0xD800 && c <= 0xDFFF ? '?' : windows_1252_byte(c));
  }
  if (at < bytes.size()) text.push_back('?');
  return text;
}

}  // namespace tw
