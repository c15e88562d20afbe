// icuin50: comparing the names of functions, parameters and fields.
#include "companions.h"

extern "C" int tw_icuin_equal_ignoring_case(const char16_t* a, std::size_t a_size,
                                            const char16_t* b, std::size_t b_size) {
  if (a_size != b_size) return 0;
  for (std::size_t i = 0; i < a_size; ++i)
    if (tw_icuin_capital(a[i]) != tw_icuin_capital(b[i])) return 0;
  return 1;
}
