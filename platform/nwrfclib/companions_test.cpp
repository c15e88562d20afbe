// The conversions the companion libraries do for the stand-in.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "companions/companions.h"
#include "text.h"

namespace tw::nwrfclib {
namespace {

TEST(NwCompanions, PartnerBytesAreUtf8WithWindows1252ForTheRest) {
  EXPECT_EQ(from_bytes("Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC"), u"Gr\u00F6\u00DFe \u20AC");
  EXPECT_EQ(from_bytes("\xF0\x9F\x98\x80"), u"\U0001F600");  // a pair of surrogates
  // Not UTF-8: each byte on its own, from Windows-1252.
  EXPECT_EQ(from_bytes("\x80\x9F\xE9"), u"\u20AC\u0178\u00E9");
  EXPECT_EQ(from_bytes("\x81\x8D"), u"\uFFFD\uFFFD");       // undefined in the code page
  EXPECT_EQ(from_bytes("\xC3"), u"\u00C3");                 // a sequence cut off
  EXPECT_EQ(from_bytes("\xC0\xAF"), u"\u00C0\u00AF");       // an overlong "/"
  EXPECT_EQ(from_bytes("\xED\xA0\x80"), u"\u00ED\u00A0\u20AC");  // an encoded surrogate
  EXPECT_EQ(from_bytes("\xF4\x90\x80\x80").size(), 4u);     // beyond U+10FFFF
  EXPECT_EQ(from_bytes(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
  // Too little room: what fits is written, the whole length is counted.
  char16_t room[4] = {u'#', u'#', u'#', u'#'};
  EXPECT_EQ(tw_sapucum_from_bytes("ab\xC3\xA9" "cd", 6, room, 3), 5u);
  EXPECT_EQ(std::u16string(room, 4), u"ab\u00E9#");
  EXPECT_EQ(tw_sapucum_from_bytes("abcdef", 6, room, 2), 6u);
  EXPECT_EQ(std::u16string(room, 4), u"ab\u00E9#");
}

TEST(NwCompanions, Utf16GoesOutAsUtf8WithLoneSurrogatesReplaced) {
  EXPECT_EQ(to_utf8(u"Gr\u00F6\u00DFe \u20AC \U0001F600"),
            "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80");
  EXPECT_EQ(to_utf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(to_utf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
  EXPECT_EQ(to_utf8(u"\u007F\u0080\u07FF\u0800\uFFFF"),
            "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF");
}

TEST(NwCompanions, DecimalNumbersBothWays) {
  EXPECT_EQ(decimal(0), u"0");
  EXPECT_EQ(decimal(-4711), u"-4711");
  EXPECT_EQ(decimal(INT_MIN), u"-2147483648");
  int value = 7;
  EXPECT_TRUE(parse_decimal(u"  -2147483648 ", value));
  EXPECT_EQ(value, INT_MIN);
  EXPECT_TRUE(parse_decimal(u"+12", value));
  EXPECT_EQ(value, 12);
  for (const char16_t* bad : {u"", u"  ", u"-", u"2147483648", u"99999999999999999999", u"1 2",
                              u"12a", u"0x10", u"\uFF11"}) {
    value = 7;
    EXPECT_FALSE(parse_decimal(bad, value)) << to_utf8(bad);
    EXPECT_EQ(value, 7);
  }
}

TEST(NwCompanions, NamesCompareWithoutTheCaseOfAToZOnly) {
  EXPECT_TRUE(same_name(u"rfcsi_export", u"RFCSI_EXPORT"));
  EXPECT_FALSE(same_name(u"RFCSI", u"RFCSI_EXPORT"));
  EXPECT_FALSE(same_name(u"\u00E4", u"\u00C4"));  // only a to z
}

}  // namespace
}  // namespace tw::nwrfclib
