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

/// True when `text`, with a to z made A to Z, equals `upper`.
inline bool equals_upper_a_to_z(std::string_view text, std::string_view upper) {
  return text.size() == upper.size() && upper_a_to_z(std::string(text)) == upper;
}

}  // namespace tw
