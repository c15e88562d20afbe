#include <gtest/gtest.h>

#include "os/windows_1252.h"

namespace tw {
namespace {

TEST(Windows1252OfUtf16, BothByteOrders) {
  EXPECT_EQ(windows_1252_of_utf16(std::string("P\0R\0\xC9\0\r\0\n\0", 10), false),
            "PR\xC9\r\n");
  EXPECT_EQ(windows_1252_of_utf16(std::string("\0P\0R\0\xC9\0\r\0\n", 10), true),
            "PR\xC9\r\n");
  EXPECT_EQ(windows_1252_of_utf16("", false), "");
}

TEST(Windows1252OfUtf16, EveryCharacterOfTheCodePageKeepsItsByte) {
  for (unsigned byte = 0; byte < 256; ++byte) {
    const char32_t c = byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
    if (c == 0) continue;  // a position the code page leaves empty
    const std::string unit{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    EXPECT_EQ(windows_1252_of_utf16(unit, false), std::string(1, static_cast<char>(byte)))
        << byte;
  }
}

TEST(Windows1252OfUtf16, AnythingElseIsAQuestionMark) {
  // U+0141, U+0081 (a C1 control the code page does not hold), U+4E2D.
  EXPECT_EQ(windows_1252_of_utf16(std::string("\x41\x01\x81\0\x2D\x4E", 6), false), "???");
  // A pair of surrogates is one character; an unpaired one is one as well.
  EXPECT_EQ(windows_1252_of_utf16(std::string("\xD8\x3D\xDE\x00\0a", 6), true), "?a");
  EXPECT_EQ(windows_1252_of_utf16(std::string("\xD8\x3D\0a", 4), true), "?a");
  EXPECT_EQ(windows_1252_of_utf16(std::string("\xDE\x00\0a", 4), true), "?a");
  EXPECT_EQ(windows_1252_of_utf16(std::string("\0a\xD8\x3D", 4), true), "a?");
  // A last byte without its partner.
  EXPECT_EQ(windows_1252_of_utf16(std::string("a\0b", 3), false), "a?");
}

}  // namespace
}  // namespace tw
