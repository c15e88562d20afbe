// icuuc50: single characters of UTF-8 and UTF-16.
#include "companions.h"

extern "C" unsigned tw_icuuc_next_utf8(const unsigned char* bytes, std::size_t size,
                                       unsigned* character) {
  if (size == 0) return 0;
  const unsigned lead = bytes[0];
  if (lead < 0x80) {
    *character = lead;
    return 1;
  }
  // The lead byte tells the length; each length has a smallest character (no overlong form).
  unsigned length = 0;
  unsigned value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
  } else {
    return 0;
  }
  if (size < length) return 0;
  for (unsigned i = 1; i < length; ++i) {
    if ((bytes[i] & 0xC0) != 0x80) return 0;
    value = (value << 6) | (bytes[i] & 0x3F);
  }
  static const unsigned kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
    return 0;
  *character = value;
  return length;
}

extern "C" unsigned tw_icuuc_put_utf8(unsigned character, unsigned char* out) {
  if (character < 0x80) {
    out[0] = static_cast<unsigned char>(character);
    return 1;
  }
  const unsigned length = character < 0x800 ? 2 : character < 0x10000 ? 3 : 4;
  static const unsigned char kLead[5] = {0, 0, 0xC0, 0xE0, 0xF0};
  for (unsigned i = length - 1; i > 0; --i) {
    out[i] = static_cast<unsigned char>(0x80 | (character & 0x3F));
    character >>= 6;
  }
  out[0] = static_cast<unsigned char>(kLead[length] | character);
  return length;
}

extern "C" unsigned tw_icuuc_next_utf16(const char16_t* text, std::size_t size,
                                        unsigned* units) {
  const unsigned first = text[0];
  *units = 1;
  if (first < 0xD800 || first > 0xDFFF) return first;
  if (first <= 0xDBFF && size >= 2 && text[1] >= 0xDC00 && text[1] <= 0xDFFF) {
    *units = 2;
    return 0x10000 + ((first - 0xD800) << 10) + (text[1] - 0xDC00u);
  }
  return 0xFFFD;
}
