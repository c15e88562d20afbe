// Windows-1252, the code page of the texts of the classic RFC interface and of the files
// the sensor reads, and its way to and from UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace tw {

/// The characters of Windows-1252 from 0x80 to 0x9F; 0 where the code page has none.
/// Every other byte is the character of the same number.
inline constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

/// The character a byte of Windows-1252 stands for; 0 for the five bytes the code page
/// leaves without one (0x81, 0x8D, 0x8F, 0x90, 0x9D).
char32_t windows_1252_character(unsigned char byte);

/// UTF-16 text in Windows-1252: a character the code page lacks becomes "?", and so does a
/// surrogate pair (one character) or a lone surrogate.
std::string windows_1252_of_utf16(std::u16string_view text);

/// Windows-1252 text in UTF-16; each of the five bytes without a character becomes the
/// control character of its value, as Windows converts them.
std::u16string utf16_of_windows_1252(std::string_view text);

/// The text of UTF-16 code units (`bytes`, without a byte-order mark; big-endian or
/// little-endian) in Windows-1252: every character the code page has becomes its byte,
/// every other one (the five control characters without a byte of their own included), an
/// unpaired surrogate and a last odd byte become "?".
std::string windows_1252_of_utf16(std::string_view bytes, bool big_endian);

}  // namespace tw
