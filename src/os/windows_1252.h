// Windows-1252, the code page in which the sensor's files and texts are written on Windows.
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

/// The text of UTF-16 code units (`bytes`, without a byte-order mark; big-endian or
/// little-endian) in Windows-1252: every character the code page has becomes its byte,
/// every other one, an unpaired surrogate and a last odd byte become "?".
std::string windows_1252_of_utf16(std::string_view bytes, bool big_endian);

}  // namespace tw
