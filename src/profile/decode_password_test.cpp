#include "profile/decode_password.h"

#include <gtest/gtest.h>

#include <string>

namespace tw {
namespace {

/// Builds a stored value from a header and a 20-character plain text, whatever the header
/// says; lets the tests make values that no encoder would write.
std::string store(std::string_view header, std::string_view plain20, int offset) {
  const auto& key = password_key_table();
  std::string stored(24, '\0');
  for (int i = 0; i < 4; ++i) stored[i] = static_cast<char>(header[i] ^ key[i]);
  for (int k = 0; k < 10; ++k) {
    stored[4 + k] = static_cast<char>(plain20[2 * k] ^ key[offset + k]);
    stored[4 + 19 - k] = static_cast<char>(plain20[2 * k + 1] ^ key[offset + 19 - k]);
  }
  return stored;
}

char check_digit_of(std::string_view plain) {
  unsigned sum = 0;
  for (char c : plain) {
    if (counts_in_checksum(c)) sum += static_cast<unsigned char>(c);
  }
  return static_cast<char>('0' + sum % 10);
}

std::string header(char check, int offset, int length) {
  return {check, static_cast<char>('0' + offset), static_cast<char>('0' + length / 10),
          static_cast<char>('0' + length % 10)};
}

TEST(DecodePassword, DecodesEveryOffsetAndLength) {
  const std::string plain = "Secret#42abcdefghijk";  // 20 characters
  for (int offset = 0; offset <= 9; ++offset) {
    for (int length : {2, 9, 20}) {
      const auto decoded =
          decode_password(store(header(check_digit_of(plain), offset, length), plain, offset));
      ASSERT_EQ(decoded.fault, PasswordFault::none) << offset << "/" << length;
      EXPECT_EQ(decoded.text, plain.substr(0, length));
    }
  }
}

TEST(DecodePassword, LengthBoundaries) {
  const std::string plain = "abcdefghijklmnopqrst";
  const char check = check_digit_of(plain);
  EXPECT_EQ(decode_password(store(header(check, 0, 0), plain, 0)).text, "");
  EXPECT_EQ(decode_password(store(header(check, 0, 1), plain, 0)).text, "a");
  EXPECT_EQ(decode_password(store(header(check, 0, 99), plain, 0)).text, plain);
}

TEST(DecodePassword, CharactersOfCodeZeroAreLeftOut) {
  // A padding character equal to its key byte decodes to code 0 and vanishes; the
  // characters after it close up.
  std::string plain = "pw";
  plain.append(18, '\0');
  const std::string stored = store(header(check_digit_of("pw"), 4, 20), plain, 4);
  const auto decoded = decode_password(stored);
  ASSERT_EQ(decoded.fault, PasswordFault::none);
  EXPECT_EQ(decoded.text, "pw");
}

TEST(DecodePassword, HeaderFaults) {
  const std::string plain = "abcdefghijklmnopqrst";
  const std::string good = store(header(check_digit_of(plain), 2, 8), plain, 2);
  ASSERT_EQ(decode_password(good).fault, PasswordFault::none);
  EXPECT_EQ(decode_password(good.substr(0, 23)).fault, PasswordFault::header);
  EXPECT_EQ(decode_password(good + " ").fault, PasswordFault::header);
  EXPECT_EQ(decode_password("").fault, PasswordFault::header);
  for (int i = 0; i < 4; ++i) {
    std::string bad = good;
    bad[i] = static_cast<char>(bad[i] ^ 0x40);  // no longer a digit once keyed
    EXPECT_EQ(decode_password(bad).fault, PasswordFault::header) << "position " << i;
  }
}

TEST(DecodePassword, CheckFaults) {
  const std::string plain = "abcdefghijklmnopqrst";
  const char check = check_digit_of(plain);
  const char wrong = check == '9' ? '0' : static_cast<char>(check + 1);
  EXPECT_EQ(decode_password(store(header(wrong, 0, 8), plain, 0)).fault, PasswordFault::check);
  // A changed body letter changes the sum; a changed non-alphanumeric one does not.
  std::string stored = store(header(check, 0, 8), plain, 0);
  stored[5] = static_cast<char>(stored[5] ^ 0x01);
  EXPECT_EQ(decode_password(stored).fault, PasswordFault::check);
  const std::string dotted = "ab.defghijklmnopqrst";
  std::string with_dot = store(header(check_digit_of(dotted), 0, 8), dotted, 0);
  with_dot[5] = static_cast<char>(with_dot[5] ^ 0x02);  // '.' becomes ',': still no letter
  EXPECT_EQ(decode_password(with_dot).fault, PasswordFault::none);
}

}  // namespace
}  // namespace tw
