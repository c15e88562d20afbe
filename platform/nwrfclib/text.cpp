#include "text.h"

#include <algorithm>

#include "companions/companions.h"

namespace tw::nwrfclib {

std::u16string from_bytes(std::string_view bytes) {
  std::u16string text;
  assign_from_bytes(text, bytes);
  return text;
}

void assign_from_bytes(std::u16string& text, std::string_view bytes) {
  // Each byte gives at most one code unit (a 4-byte sequence gives two).
  text.resize(bytes.size());
  text.resize(tw_sapucum_from_bytes(bytes.data(), bytes.size(), text.data(), text.size()));
}

std::string to_utf8(std::u16string_view text) {
  // Each code unit gives at most three bytes (a surrogate pair four, two units).
  std::string bytes(text.size() * 3, '\0');
  bytes.resize(tw_sapucum_to_utf8(text.data(), text.size(),
                                  reinterpret_cast<unsigned char*>(bytes.data()), bytes.size()));
  return bytes;
}

std::u16string_view text_of(const SAP_UC* text) {
  return text == nullptr ? std::u16string_view() : std::u16string_view(text);
}

bool same_name(std::u16string_view a, std::u16string_view b) {
  // Names are looked up among many: most differ in length or in the first or last letter.
  if (a.size() != b.size()) return false;
  if (!a.empty() && (tw_icuin_capital(a.front()) != tw_icuin_capital(b.front()) ||
                     tw_icuin_capital(a.back()) != tw_icuin_capital(b.back()))) {
    return false;
  }
  return tw_icuin_equal_ignoring_case(a.data(), a.size(), b.data(), b.size()) != 0;
}

std::u16string decimal(int value) {
  char16_t digits[16];
  const unsigned length = tw_decnumber_format(value, digits, sizeof digits / sizeof digits[0]);
  return std::u16string(digits, length);
}

bool parse_decimal(std::u16string_view text, int& value) {
  return tw_decnumber_parse(text.data(), text.size(), &value) != 0;
}

void copy_text(SAP_UC* field, std::size_t size, std::u16string_view text) {
  if (field == nullptr || size == 0) return;
  const std::size_t length = std::min(text.size(), size - 1);
  std::copy_n(text.data(), length, field);
  field[length] = u'\0';
}

std::u16string fixed(std::u16string text, std::size_t length) {
  text.resize(length, u' ');
  return text;
}

}  // namespace tw::nwrfclib
