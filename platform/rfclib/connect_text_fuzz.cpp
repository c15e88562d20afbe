// libFuzzer target of the connection text of RfcOpenEx: any bytes as the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "connect_text.h"
#include "support/fuzz_support.h"

namespace {

using tw::fuzzing::check;
using tw::rfclib::ConnectText;

bool same(const ConnectText& a, const ConnectText& b) {
  return a.client == b.client && a.user == b.user && a.password == b.password &&
         a.language == b.language && a.destination == b.destination;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  ConnectText parsed;
  std::string error;
  const bool ok = tw::rfclib::parse_connect_text(input, parsed, error);
  ConnectText again;
  std::string error_again;
  check(ok == tw::rfclib::parse_connect_text(input, again, error_again) && same(parsed, again) &&
            error == error_again,
        "parsing the same text twice gives the same result", {{"text", input}});
  if (!ok) {
    check(!error.empty(), "a refused text says why", {{"text", input}});
    return 0;
  }
  check(!parsed.destination.empty(), "an accepted text names a destination", {{"text", input}});
  return 0;
}
