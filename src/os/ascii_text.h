// Letter case the way the sensor knows it: only the letters a to z have an upper case.
#pragma once

#include <string>
#include <string_view>

namespace tw {

/// The text with a to z made A to Z; every other byte stays as it is.
inline std::string upper_a_to_z(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

/// The value of a key=value selector: the text from `begin` up to a blank, a comma or the
/// end; empty when `begin` lies at or past the end.
inline std::string_view value_at(std::string_view text, std::size_t begin) {
  if (begin >= text.size()) return {};
  return text.substr(begin, text.find_first_of(" ,", begin) - begin);
}

/// The decimal number at the start of a text, as C's conversions read it: leading blanks
/// and tabs skipped, an optional sign, digits up to the first other character; no digits
/// give 0. The magnitude stops growing at 10^12, well beyond every figure the sensor
/// reads, so nothing overflows.
inline long long leading_decimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < 1000000000000LL) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

/// True when `text`, with a to z made A to Z, equals `upper`.
inline bool equals_upper_a_to_z(std::string_view text, std::string_view upper) {
  return text.size() == upper.size() && upper_a_to_z(std::string(text)) == upper;
}

}  // namespace tw
