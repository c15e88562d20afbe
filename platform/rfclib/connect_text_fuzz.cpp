// libFuzzer target of the connection text of RfcOpenEx: any bytes as the text the library
// parses, and as the values of a profile that the sensor writes into a text. A written text
// must give the library exactly the profile's values, whatever they hold.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "connect_text.h"
#include "profile/profile_record.h"
#include "rfc/rfc.h"
#include "support/fuzz_support.h"

namespace {

using tw::ProfileRecord;
using tw::fuzzing::check;
using tw::rfclib::ConnectText;

struct Parsed {
  bool ok = false;
  ConnectText values;
  std::string error;
};

Parsed parse(std::string_view text) {
  Parsed parsed;
  parsed.ok = tw::rfclib::parse_connect_text(text, parsed.values, parsed.error);
  return parsed;
}

bool same(const Parsed& a, const Parsed& b) {
  return a.ok == b.ok && a.error == b.error && a.values.client == b.values.client &&
         a.values.user == b.values.user && a.values.password == b.values.password &&
         a.values.language == b.values.language &&
         a.values.destination == b.values.destination;
}

/// A profile value: no NUL byte, as no profile line or decoded password holds one.
std::string profile_value(FuzzedDataProvider& provider) {
  std::string value = provider.ConsumeRandomLengthString(40);
  std::erase(value, '\0');
  return value;
}

/// The sensor writes the profile's values, the library reads them back unchanged.
void check_written(const ProfileRecord& profile, std::string_view input) {
  std::string text, refused_key;
  const bool written = tw::build_connect_text(profile, text, refused_key);
  const bool quote = (profile.client + profile.user + profile.password + profile.destination)
                         .find('"') != std::string::npos;
  check(written == !quote, "only a value with a double quote cannot be written",
        {{"refused key", refused_key}, {"input", input}});
  if (!written) {
    check(text.empty() && !refused_key.empty(), "a refused text names the key and is empty",
          {{"text", text}, {"input", input}});
    return;
  }
  const Parsed parsed = parse(text);
  if (profile.destination.empty()) {
    check(!parsed.ok, "a text without a destination is refused", {{"text", text}});
    return;
  }
  check(parsed.ok && parsed.values.client == profile.client &&
            parsed.values.user == profile.user && parsed.values.password == profile.password &&
            parsed.values.language == "D" && parsed.values.destination == profile.destination,
        "the library reads exactly the values the sensor wrote",
        {{"text", text}, {"error", parsed.error}, {"client", parsed.values.client},
         {"user", parsed.values.user}, {"destination", parsed.values.destination},
         {"input", input}});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const Parsed parsed = parse(input);
  check(same(parsed, parse(input)), "parsing the same text twice gives the same result",
        {{"text", input}});
  if (parsed.ok) {
    const ConnectText& v = parsed.values;
    check(!v.destination.empty(), "an accepted text names a destination", {{"text", input}});
    check((v.client + v.user + v.password + v.language + v.destination).find('"') ==
              std::string::npos,
          "no accepted value holds a double quote", {{"text", input}});
    if ((v.client + v.user + v.password + v.destination).find('\0') == std::string::npos) {
      ProfileRecord profile;
      profile.client = v.client;
      profile.user = v.user;
      profile.password = v.password;
      profile.destination = v.destination;
      check_written(profile, input);
    }
  } else {
    check(!parsed.error.empty(), "a refused text says why", {{"text", input}});
  }

  FuzzedDataProvider provider(data, size);
  ProfileRecord profile;
  profile.client = profile_value(provider);
  profile.user = profile_value(provider);
  profile.password = profile_value(provider);
  profile.destination = profile_value(provider);
  check_written(profile, input);

  // The password never changes whether the library takes the text, nor what it says.
  ProfileRecord other = profile;
  other.password = "other";
  std::string text, other_text, key;
  if (tw::build_connect_text(profile, text, key) &&
      tw::build_connect_text(other, other_text, key)) {
    const Parsed with_password = parse(text);
    const Parsed with_other = parse(other_text);
    check(with_password.ok == with_other.ok && with_password.error == with_other.error,
          "the password changes neither the outcome nor the error text",
          {{"text", text}, {"error", with_password.error}, {"input", input}});
  }
  return 0;
}
