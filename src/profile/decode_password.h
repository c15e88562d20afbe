// Stored passwords: 24 characters, a four-digit header and a folded, keyed body of 20.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tw {

/// The 32 bytes that stored passwords are keyed with.
const std::array<std::uint8_t, 32>& password_key_table();

enum class PasswordFault { none, header, check };

struct DecodedPassword {
  PasswordFault fault = PasswordFault::none;
  std::string text;  ///< the password when there is no fault
};

/// The characters whose codes the checksum adds up: digits and letters.
bool counts_in_checksum(char c);

/// Decodes the stored value of a Password line. A value that is not 24 characters long or
/// whose header does not decode to four digits is a header fault; a plain text whose
/// checksum does not end in the header's check digit is a check fault.
DecodedPassword decode_password(std::string_view stored);

}  // namespace tw
