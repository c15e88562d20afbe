// icuin50: comparing the names of functions, parameters and fields.
#include "companions.h"

namespace {

/// A code unit with the letters a to z made capitals.
char16_t capital(char16_t unit) {
  return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

}  // namespace

extern "C" int tw_icuin_equal_ignoring_case(const char16_t* a, std::size_t a_size,
                                            const char16_t* b, std::size_t b_size) {
  if (a_size != b_size) return 0;
  for (std::size_t i = 0; i < a_size; ++i)
    if (capital(a[i]) != capital(b[i])) return 0;
  return 1;
}
