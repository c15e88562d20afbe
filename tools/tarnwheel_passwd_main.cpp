// Process entry of the password encoder: options, one line from standard input, the
// stored value on standard output.
#include <chrono>
#include <cstdio>
#include <exception>
#include <random>
#include <string>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "tarnwheel_passwd.h"

namespace {

/*
 * Reads standard input up to and including the first line feed, or to its end. Stops
 * early once far more has arrived than any password can hold; the rest is left unread.
 */
std::string read_input_line() {
  constexpr std::size_t limit = 256;
  std::string raw;
  int c;
  while (raw.size() < limit && (c = std::getc(stdin)) != EOF) {
    raw.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  return raw;
}

/*
 * A value for picking the offset; it need not be unpredictable, only vary between runs.
 */
std::size_t random_value() {
  auto value = static_cast<std::size_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  try {
    std::random_device device;
    value ^= device();
  } catch (const std::exception&) {
    // No entropy source: the clock alone will do.
  }
  return value;
}

/*
 * Writes `text` to `stream` as it is.
 */
void write(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace

int main(int argc, char** argv) {
  const tw::PasswdOptions options = tw::parse_passwd_args(argc, argv);
  tw::PasswdOutcome outcome;
  if (auto early = tw::passwd_outcome_without_input(options)) {
    outcome = std::move(*early);
  } else {
#ifdef _WIN32
    // Line ends are ours to take apart: no CRLF translation, no Ctrl-Z as end of input.
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    outcome = tw::encode_passwd_input(options, read_input_line(), random_value());
  }
  write(stdout, outcome.out);
  write(stderr, outcome.err);
  if (std::fflush(stdout) != 0 && outcome.status == 0) {
    write(stderr, "tarnwheel-passwd: cannot write standard output\n");
    return 2;
  }
  return outcome.status;
}
