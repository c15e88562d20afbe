// libicudecnumber: integers as decimal text and back.
#include <climits>

#include "companions.h"

extern "C" unsigned tw_decnumber_format(int value, char16_t* out, unsigned room) {
  // Digits from the last, into a buffer that holds any int.
  char16_t digits[12];
  unsigned count = 0;
  long long rest = value < 0 ? -static_cast<long long>(value) : value;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + rest % 10);
    rest /= 10;
  } while (rest != 0);
  if (value < 0) digits[count++] = u'-';
  for (unsigned i = 0; i < count && i < room; ++i) out[i] = digits[count - 1 - i];
  return count;
}

extern "C" int tw_decnumber_parse(const char16_t* text, std::size_t size, int* value) {
  std::size_t at = 0;
  while (at < size && text[at] == u' ') ++at;
  bool negative = false;
  if (at < size && (text[at] == u'-' || text[at] == u'+')) negative = text[at++] == u'-';
  const std::size_t first_digit = at;
  long long number = 0;
  while (at < size && text[at] >= u'0' && text[at] <= u'9') {
    number = number * 10 + (text[at++] - u'0');
    if (number > static_cast<long long>(INT_MAX) + 1) return 0;
  }
  if (at == first_digit) return 0;
  while (at < size && text[at] == u' ') ++at;
  if (at != size) return 0;
  if (negative) number = -number;
  if (number < INT_MIN || number > INT_MAX) return 0;
  *value = static_cast<int>(number);
  return 1;
}
