#include "os/windows_1252.h"

namespace tw {

namespace {

/// The characters of Windows-1252 from 0x80 to 0x9F; 0 where the code page has none.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

/// The byte of a UTF-16 code unit in Windows-1252; '?' when the code page lacks it.
char byte_of(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (unsigned i = 0; i < 32; ++i) {
    if (kWindows1252High[i] != 0 && kWindows1252High[i] == unit) {
      return static_cast<char>(0x80 + i);
    }
  }
  return '?';
}

}  // namespace

char32_t windows_1252_character(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
}

std::string windows_1252_of_utf16(std::u16string_view text) {
  std::string result;
  append_windows_1252_of_utf16(result, text);
  return result;
}

void append_windows_1252_of_utf16(std::string& bytes, std::u16string_view text) {
  std::size_t count = bytes.size();
  bytes.resize(count + text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit < 0x80) {
      bytes[count++] = static_cast<char>(unit);
      continue;
    }
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) ++i;
    bytes[count++] = unit >= 0xD800 && unit <= 0xDFFF ? '?' : byte_of(unit);
  }
  bytes.resize(count);
}

std::u16string utf16_of_windows_1252(std::string_view text) {
  std::u16string result;
  result.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const char32_t character = windows_1252_character(byte);
    result.push_back(static_cast<char16_t>(character != 0 ? character : byte));
  }
  return result;
}

}  // namespace tw
