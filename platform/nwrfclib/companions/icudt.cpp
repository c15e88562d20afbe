// icudt50: the code page data the other libraries read.
#include "companions.h"

namespace {

/// Windows-1252 from 0x80 to 0x9F, eight bytes a line; U+FFFD where the code page has none.
constexpr char16_t kHighControls[] =
    u"\u20AC\uFFFD\u201A\u0192\u201E\u2026\u2020\u2021"
    u"\u02C6\u2030\u0160\u2039\u0152\uFFFD\u017D\uFFFD"
    u"\uFFFD\u2018\u2019\u201C\u201D\u2022\u2013\u2014"
    u"\u02DC\u2122\u0161\u203A\u0153\uFFFD\u017E\u0178";

static_assert(sizeof kHighControls / sizeof kHighControls[0] == 32 + 1, "0x80 to 0x9F");

}  // namespace

extern "C" unsigned tw_icudt_windows1252(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : byte;
}
