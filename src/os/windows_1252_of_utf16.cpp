#include "os/windows_1252.h"

namespace tw {

std::string windows_1252_of_utf16(std::string_view bytes, bool big_endian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    const auto first = static_cast<unsigned char>(bytes[at]);
    const auto second = static_cast<unsigned char>(bytes[at + 1]);
    units.push_back(static_cast<char16_t>(big_endian ? (first << 8) | second
                                                     : (second << 8) | first));
  }
  std::string text = windows_1252_of_utf16(units);
  // A control character the code page gives no byte of its own is no character of a file.
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 && windows_1252_character(byte) == 0) c = '?';
  }
  if (bytes.size() % 2 != 0) text.push_back('?');
  return text;
}

}  // namespace tw
