// Windows-1252 to and from UTF-16.
#include "os/windows_1252.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(Windows1252, EveryCharacterGoesToUtf16AndBack) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
  const std::u16string wide = utf16_of_windows_1252(all);
  ASSERT_EQ(wide.size(), all.size());
  EXPECT_EQ(wide[0x80 - 1], u'\u20AC');
  EXPECT_EQ(wide[0x9F - 1], u'\u0178');
  EXPECT_EQ(wide[0x81 - 1], u'\u0081');  // no character: its control character
  EXPECT_EQ(wide[0xE9 - 1], u'\u00E9');
  std::string back = all;
  for (const unsigned char empty : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) back[empty - 1] = '?';
  EXPECT_EQ(windows_1252_of_utf16(wide), back);
}

TEST(Windows1252, CharactersOutsideTheCodePageBecomeOneQuestionMarkEach) {
  EXPECT_EQ(windows_1252_of_utf16(u"A\u03A9B"), "A?B");
  EXPECT_EQ(windows_1252_of_utf16(u"\U0001F600x"), "?x");   // a surrogate pair: one character
  EXPECT_EQ(windows_1252_of_utf16(std::u16string(1, u'\xD800') + u"y"), "?y");  // lone half
  EXPECT_EQ(windows_1252_of_utf16(u"\u0080"), "?");  // a control character 1252 puts € at
  EXPECT_EQ(windows_1252_character(0x8D), 0u);
  // Appended, a pair shrinks the text behind what was there.
  std::string bytes = "ab";
  append_windows_1252_of_utf16(bytes, u"\U0001F600\u00E9z");
  EXPECT_EQ(bytes, "ab?\xE9z");
}

}  // namespace
}  // namespace tw
