#include "profile/decode_password.h"

#include <cstdio>

namespace tw {

const std::array<std::uint8_t, 32>& password_key_table() {
  static const std::array<std::uint8_t, 32> table = {
      0x0B, 0x05, 0x0E, 0x03, 0x09, 0x0C, 0x07, 0x01, 0x0D, 0x04, 0x0A,
      0x06, 0x0F, 0x02, 0x08, 0x0B, 0x03, 0x0E, 0x05, 0x09, 0x01, 0x0C,
      0x07, 0x0A, 0x04, 0x0F, 0x06, 0x0D, 0x02, 0x08, 0x0E, 0x05};
  return table;
}

bool counts_in_checksum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

DecodedPassword decode_password(std::string_view stored) {
  const auto& key = password_key_table();
  DecodedPassword result;
  if (stored.size() != 24) {
    result.fault = PasswordFault::header;
    return result;
  }
  char header[4];
  for (int i = 0; i < 4; ++i) {
    header[i] = static_cast<char>(static_cast<unsigned char>(stored[i]) ^ key[i]);
    if (header[i] < '0' || header[i] > '9') {
      result.fault = PasswordFault::header;
      return result;
    }
  }
  const char check_digit = header[0];
  const int offset = header[1] - '0';
  const int length = (header[2] - '0') * 10 + (header[3] - '0');

  char body[20];
  for (int j = 0; j < 20; ++j) {
    body[j] = static_cast<char>(static_cast<unsigned char>(stored[4 + j]) ^ key[offset + j]);
  }
  // Unfold: even positions from the front of the body, odd ones from its back. A
  // character that decoded to code 0 is left out.
  std::string plain;
  for (int k = 0; k < 10; ++k) {
    if (body[k] != '\0') plain.push_back(body[k]);
    if (body[19 - k] != '\0') plain.push_back(body[19 - k]);
  }
  unsigned sum = 0;
  for (char c : plain) {
    if (counts_in_checksum(c)) sum += static_cast<unsigned char>(c);
  }
  char digits[16];
  std::snprintf(digits, sizeof digits, "%u", sum);
  if (digits[std::char_traits<char>::length(digits) - 1] != check_digit) {
    result.fault = PasswordFault::check;
    return result;
  }
  result.text = plain.substr(0, static_cast<std::size_t>(length));
  return result;
}

}  // namespace tw
