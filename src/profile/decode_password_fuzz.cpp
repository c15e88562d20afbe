// libFuzzer target of password decoding: any bytes as the stored value of a Password line,
// and as a plain password for the encoder of tarnwheel-passwd, whose values must decode back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "profile/decode_password.h"
#include "support/fuzz_support.h"
#include "tarnwheel_passwd.h"

namespace {

using tw::fuzzing::check;

/// Every value the encoder writes for `plain` decodes to `plain` again.
void check_encoding(std::string_view plain) {
  if (!tw::password_fault(plain).empty()) return;
  for (const int offset : tw::usable_password_offsets(plain)) {
    const std::optional<std::string> stored = tw::encode_password(plain, offset);
    check(stored.has_value(), "a usable offset encodes", {{"plain", plain}});
    check(stored->size() == 24 && stored->find('\x7F') == std::string::npos &&
              stored->front() != ' ' && stored->back() != ' ',
          "a stored value is 24 characters, no DEL, no blank at either end",
          {{"plain", plain}, {"stored", *stored}});
    const tw::DecodedPassword decoded = tw::decode_password(*stored);
    check(decoded.fault == tw::PasswordFault::none && decoded.text == plain,
          "an encoded password decodes to itself",
          {{"plain", plain}, {"stored", *stored}, {"decoded", decoded.text}});
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const tw::DecodedPassword decoded = tw::decode_password(input);
  const tw::DecodedPassword again = tw::decode_password(input);
  check(decoded.fault == again.fault && decoded.text == again.text,
        "decoding the same value twice gives the same result", {{"stored", input}});
  if (input.size() != 24) {
    check(decoded.fault == tw::PasswordFault::header,
          "a value that is not 24 characters long is a header fault", {{"stored", input}});
  }
  if (decoded.fault == tw::PasswordFault::none) {
    check(decoded.text.size() <= 20, "a decoded password is at most 20 characters",
          {{"stored", input}, {"decoded", decoded.text}});
    check(decoded.text.find('\0') == std::string::npos,
          "a decoded password holds no character of code 0",
          {{"stored", input}, {"decoded", decoded.text}});
    check_encoding(decoded.text);
  } else {
    check(decoded.text.empty(), "a fault gives no password", {{"stored", input}});
  }

  check_encoding(input);
  return 0;
}
