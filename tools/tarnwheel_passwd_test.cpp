#include "tarnwheel_passwd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "profile/decode_password.h"

namespace tw {
namespace {

const auto& key = password_key_table();

// A well-formed stored value for `plain`: 24 characters, no DEL, no blank at either end.
bool stores_and_decodes(const std::string& plain, int offset) {
  const auto stored = encode_password(plain, offset);
  return stored && stored->size() == 24 && stored->find('\x7f') == std::string::npos &&
         stored->front() != ' ' && stored->back() != ' ' &&
         decode_password(*stored).fault == PasswordFault::none &&
         decode_password(*stored).text == plain;
}

TEST(PasswordEncoding, EveryUsableOffsetDecodesBack) {
  std::vector<std::string> passwords = {" ", "  a", "a ", " a b ", std::string(20, ' '), "p}"};
  std::mt19937 gen(8191);
  for (int n = 0; n < 3000; ++n) {
    std::string plain(1 + n % 20, ' ');
    for (char& c : plain) c = static_cast<char>(' ' + gen() % 95);
    passwords.push_back(plain);
  }
  int encoded = 0, refused = 0;
  for (const std::string& plain : passwords) {
    const std::vector<int> usable = usable_password_offsets(plain);
    for (int offset = 0; offset < 10; ++offset) {
      const bool listed = std::find(usable.begin(), usable.end(), offset) != usable.end();
      ASSERT_EQ(encode_password(plain, offset).has_value(), listed) << plain << " " << offset;
      ASSERT_TRUE(!listed || stores_and_decodes(plain, offset)) << plain << " " << offset;
      ++(listed ? encoded : refused);
    }
  }
  // Both branches must have been exercised for the sweep to mean anything.
  EXPECT_GT(encoded, 20000);
  EXPECT_GT(refused, 100);
}

TEST(PasswordEncoding, OffsetsRefusedOnlyForClashingCharacters) {
  // Below 0x70 no key byte turns a character into DEL; only the second one can end the value.
  for (const char* plain : {"a", "Bead42", "AO09ao ", "!a!/"}) {
    EXPECT_EQ(usable_password_offsets(plain).size(), 10u) << plain;
  }
  // The first character is keyed with key[offset], the second with key[offset + 19].
  EXPECT_FALSE(password_offset_usable(std::string(1, static_cast<char>(0x7F ^ key[3])), 3));
  const std::string blank_end = {'x', static_cast<char>(' ' ^ key[5 + 19])};
  EXPECT_FALSE(password_offset_usable(blank_end, 5));
  EXPECT_TRUE(password_offset_usable("x", 5));
  // Plain position 2k is body position k: one clash per offset blocks them all.
  std::string blocked(20, 'a');
  for (int k = 0; k < 10; ++k) blocked[2 * k] = static_cast<char>(0x7F ^ key[2 * k]);
  EXPECT_TRUE(usable_password_offsets(blocked).empty());
  EXPECT_EQ(encode_passwd_input({}, blocked + "\n", 0).status, 2);
}

TEST(PasswordEncoding, PaddingIsPrintableAndDeterministic) {
  for (const std::string plain : {"a", "Secret 42!", "{|}~", "zzzzzzzzzzzzzzzzzzz"}) {
    for (int offset : usable_password_offsets(plain)) {
      std::string stored = *encode_password(plain, offset);
      EXPECT_EQ(stored, *encode_password(plain, offset));
      // Claiming the full length reveals the padding; the check digit covers it too.
      stored[2] = static_cast<char>('2' ^ key[2]);
      stored[3] = static_cast<char>('0' ^ key[3]);
      const DecodedPassword full = decode_password(stored);
      ASSERT_EQ(full.fault, PasswordFault::none) << plain << " " << offset;
      ASSERT_EQ(full.text.substr(0, plain.size()), plain);
      for (char c : full.text) EXPECT_TRUE(c >= 0x20 && c <= 0x7E) << static_cast<int>(c);
    }
  }
}

TEST(PasswordReading, TakesOneLineOfPrintableText) {
  EXPECT_EQ(password_from_input("a c\n").password, "a c");
  EXPECT_EQ(password_from_input(" x ").password, " x ");
  EXPECT_EQ(password_from_input(std::string(20, 'q') + "\r\n").password, std::string(20, 'q'));
  for (const std::string raw : {"", "\n", "\r\n", "qqqqqqqqqqqqqqqqqqqqq\n", "abc\r", "a\tb\n",
                                "ab\r\r\n", "\x01", "\x7f\n", "caf\xc3\xa9\n", "\x1f"}) {
    EXPECT_FALSE(password_from_input(raw).error.empty()) << "[" << raw << "]";
    EXPECT_EQ(encode_passwd_input({}, raw, 0).status, 2);
  }
  EXPECT_FALSE(password_from_input(std::string("a\0b\n", 4)).error.empty());
  for (int offset : {-1, 0, 9, 10}) {
    EXPECT_FALSE(encode_password("", offset));
    EXPECT_FALSE(encode_password(std::string(21, 'q'), offset));
    EXPECT_FALSE(encode_password(std::string("a\0", 2), offset));
    EXPECT_EQ(encode_password("a", offset).has_value(), offset == 0 || offset == 9);
  }
}

TEST(PasswdArgs, ParsesOptionsAndRejectsTheRest) {
  auto parse = [](std::vector<const char*> args) {
    args.insert(args.begin(), "tarnwheel-passwd");
    return parse_passwd_args(static_cast<int>(args.size()), args.data());
  };
  EXPECT_FALSE(passwd_outcome_without_input(parse({})));
  const PasswdOptions both = parse({"--offset", "7", "--profile-line"});
  EXPECT_TRUE(both.error.empty() && both.profile_line && both.offset == 7);
  EXPECT_EQ(parse({"--offset=0"}).offset, 0);
  const auto help = passwd_outcome_without_input(parse({"--help", "--bogus"}));
  ASSERT_TRUE(help);
  EXPECT_EQ(help->status, 0);
  EXPECT_EQ(help->out, passwd_usage());
  for (const auto& wrong : std::vector<std::vector<const char*>>{
           {"--offset"}, {"--offset", "10"}, {"--offset", "-1"}, {"--offset=x"}, {"--offset="},
           {"--offset", "1", "--offset", "2"}, {"-h"}, {"secret"}, {"--bogus", "--help"}}) {
    const auto outcome = passwd_outcome_without_input(parse(wrong));
    ASSERT_TRUE(outcome) << wrong.back();
    EXPECT_TRUE(outcome->status == 2 && outcome->out.empty() && !outcome->err.empty());
  }
}

TEST(PasswdRun, PrintsValueOrProfileLine) {
  PasswdOptions options;
  options.offset = 4;
  const PasswdOutcome value = encode_passwd_input(options, "Secret 42!\n", 0);
  EXPECT_EQ(value.status, 0);
  EXPECT_EQ(value.out, *encode_password("Secret 42!", 4) + "\n");
  options.profile_line = true;
  EXPECT_EQ(encode_passwd_input(options, "Secret 42!\r\n", 0).out, "Password...: " + value.out);

  // The random value picks among the usable offsets only, and can reach each of them.
  const std::string clash(1, static_cast<char>(0x7F ^ key[6]));
  const std::vector<int> usable = usable_password_offsets(clash);
  std::set<int> picked;
  for (std::size_t r = 0; r < 30; ++r) {
    const PasswdOutcome outcome = encode_passwd_input({}, clash, r);
    ASSERT_EQ(decode_password(outcome.out.substr(0, 24)).text, clash);
    picked.insert((static_cast<unsigned char>(outcome.out[1]) ^ key[1]) - '0');
  }
  EXPECT_EQ(picked.count(6), 0u);
  EXPECT_EQ(picked, std::set<int>(usable.begin(), usable.end()));
  options.offset = 6;
  const PasswdOutcome refused = encode_passwd_input(options, clash, 0);
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("offset 6"), std::string::npos);
}

}  // namespace
}  // namespace tw
