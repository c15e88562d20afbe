// Windows-1252, the code page in which the sensor's files and texts are written on Windows
// and the texts of the classic RFC interface, and its way to and from UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace tw {

/// The character a byte of Windows-1252 stands for; 0 for the five bytes the code page
/// leaves without one (0x81, 0x8D, 0x8F, 0x90, 0x9D).
char32_t windows_1252_character(unsigned char byte);

/// UTF-16 text in Windows-1252: a character the code page lacks becomes "?", and so does a
/// surrogate pair (one character) or a lone surrogate.
std::string windows_1252_of_utf16(std::u16string_view text);

/// The same appended to `bytes`.
void append_windows_1252_of_utf16(std::string& bytes, std::u16string_view text);

/// The same for UTF-16 code units given as bytes (`bytes`, without a byte-order mark;
/// big-endian or little-endian); a last odd byte becomes "?" as well.
std::string windows_1252_of_utf16(std::string_view bytes, bool big_endian);

/// Windows-1252 text in UTF-16; each of the five bytes without a character becomes the
/// control character of its value, as Windows converts them (and which the way back,
/// lacking it in the code page, makes "?").
std::u16string utf16_of_windows_1252(std::string_view text);

}  // namespace tw
