#include "tarnwheel_passwd.h"

#include <cstdint>
#include <random>

#include "profile/decode_password.h"

namespace tw {
namespace {

constexpr std::string_view kProgram = "tarnwheel-passwd: ";
constexpr unsigned char kDel = 0x7F;

/*
 * The body position that plain position `p` (0..19) is stored at: even positions fill
 * the body from the front, odd ones from the back.
 */
int body_index(std::size_t p) {
  const int half = static_cast<int>(p / 2);
  return p % 2 == 0 ? half : 19 - half;
}

/*
 * The stored character for plain character `c` at body position `j` with `offset`.
 */
unsigned char keyed(char c, int j, int offset) {
  return static_cast<unsigned char>(static_cast<unsigned char>(c) ^
                                    password_key_table()[offset + j]);
}

/*
 * Whether `stored` may stand at body position `j`: never DEL, and no blank as the last
 * character of the value.
 */
bool body_char_allowed(unsigned char stored, int j) {
  return stored != kDel && !(j == 19 && stored == ' ');
}

/*
 * Whether `offset` is one of the key offsets 0..9.
 */
bool offset_in_range(int offset) { return offset >= 0 && offset < kPasswordOffsets; }

/*
 * Starts the padding from the password and the offset (FNV-1a), so that the same input
 * always yields the same stored value.
 */
std::uint32_t padding_start(std::string_view plain, int offset) {
  std::uint32_t hash = 2166136261u;
  auto mix = [&hash](unsigned char byte) {
    hash ^= byte;
    hash *= 16777619u;
  };
  for (char c : plain) mix(static_cast<unsigned char>(c));
  mix(static_cast<unsigned char>(offset));
  return hash;
}

/*
 * The text for a wrong command line: the message and a pointer to --help.
 */
std::string usage_error(std::string_view message) {
  std::string text(kProgram);
  text += message;
  text += "\nTry 'tarnwheel-passwd --help'.\n";
  return text;
}

/*
 * The outcome of a run that fails with `message`: status 2, nothing on standard output.
 */
PasswdOutcome failure(std::string_view message) {
  PasswdOutcome outcome;
  outcome.status = 2;
  outcome.err = kProgram;
  outcome.err += message;
  outcome.err += '\n';
  return outcome;
}

}  // namespace

std::string password_fault(std::string_view plain) {
  if (plain.empty()) return "the password is empty";
  if (plain.size() > kPlainPasswordLength) return "the password is longer than 20 characters";
  for (std::size_t i = 0; i < plain.size(); ++i) {
    const auto code = static_cast<unsigned char>(plain[i]);
    if (code < 0x20 || code > 0x7E) {
      constexpr char hex[] = "0123456789ABCDEF";
      return std::string("the password holds a byte that is not printable ASCII (0x") +
             hex[code >> 4] + hex[code & 0x0F] + " at position " + std::to_string(i + 1) + ")";
    }
  }
  return {};
}

PasswordInput password_from_input(std::string_view raw) {
  PasswordInput input;
  if (raw.empty()) {
    input.error = "no password on standard input";
    return input;
  }
  if (raw.back() == '\n') {
    raw.remove_suffix(1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
  }
  input.error = password_fault(raw);
  if (input.error.empty()) input.password = std::string(raw);
  return input;
}

bool password_offset_usable(std::string_view plain, int offset) {
  if (!offset_in_range(offset) || !password_fault(plain).empty()) return false;
  for (std::size_t p = 0; p < plain.size(); ++p) {
    const int j = body_index(p);
    if (!body_char_allowed(keyed(plain[p], j, offset), j)) return false;
  }
  return true;
}

std::vector<int> usable_password_offsets(std::string_view plain) {
  std::vector<int> offsets;
  for (int offset = 0; offset < kPasswordOffsets; ++offset) {
    if (password_offset_usable(plain, offset)) offsets.push_back(offset);
  }
  return offsets;
}

std::optional<std::string> encode_password(std::string_view plain, int offset) {
  if (!password_offset_usable(plain, offset)) return std::nullopt;

  // minstd_rand is defined exactly by the standard, so the padding is the same everywhere.
  std::minstd_rand padding(padding_start(plain, offset));
  std::string plain20(plain);
  for (std::size_t p = plain.size(); p < kPlainPasswordLength; ++p) {
    const int j = body_index(p);
    char c;
    do {
      c = static_cast<char>('!' + padding() % 94);  // '!'..'~'
    } while (!body_char_allowed(keyed(c, j, offset), j));
    plain20.push_back(c);
  }

  unsigned sum = 0;
  for (char c : plain20) {
    if (counts_in_checksum(c)) sum += static_cast<unsigned char>(c);
  }
  const char header[4] = {static_cast<char>('0' + sum % 10), static_cast<char>('0' + offset),
                          static_cast<char>('0' + plain.size() / 10),
                          static_cast<char>('0' + plain.size() % 10)};
  std::string stored(kStoredPasswordLength, '\0');
  for (int i = 0; i < 4; ++i) {
    stored[i] = static_cast<char>(static_cast<unsigned char>(header[i]) ^ password_key_table()[i]);
  }
  for (std::size_t p = 0; p < kPlainPasswordLength; ++p) {
    const int j = body_index(p);
    stored[4 + j] = static_cast<char>(keyed(plain20[p], j, offset));
  }
  return stored;
}

PasswdOptions parse_passwd_args(int argc, const char* const* argv) {
  PasswdOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help") {
      options.help = true;
      return options;
    }
    if (arg == "--profile-line") {
      options.profile_line = true;
      continue;
    }
    if (arg == "--offset" || arg.starts_with("--offset=")) {
      std::string_view value;
      if (arg == "--offset") {
        if (i + 1 >= argc) {
          options.error = usage_error("--offset needs a value from 0 to 9");
          return options;
        }
        value = argv[++i];
      } else {
        value = arg.substr(9);
      }
      if (options.offset) {
        options.error = usage_error("--offset given more than once");
        return options;
      }
      if (value.size() != 1 || value[0] < '0' || value[0] > '9') {
        options.error = usage_error("the offset must be one digit from 0 to 9, not '" +
                                    std::string(value) + "'");
        return options;
      }
      options.offset = value[0] - '0';
      continue;
    }
    if (arg.starts_with("-") && arg.size() > 1) {
      options.error = usage_error("unknown option '" + std::string(arg) + "'");
    } else {
      options.error = usage_error("unexpected argument '" + std::string(arg) +
                                  "'; the password is read from standard input");
    }
    return options;
  }
  return options;
}

std::string_view passwd_usage() {
  return "Usage: tarnwheel-passwd [--offset N] [--profile-line] < password\n"
         "Reads a password of 1 to 20 printable ASCII characters as one line from standard\n"
         "input and prints the 24-character value that a profile's Password line stores.\n"
         "\n"
         "  --offset N      key offset 0..9, for reproducible output\n"
         "                  (default: chosen at random among the offsets that work)\n"
         "  --profile-line  print the whole line: Password...: <value>\n"
         "  --help          print this text\n"
         "\n"
         "Exit status: 0 on success, 2 on any error.\n";
}

std::optional<PasswdOutcome> passwd_outcome_without_input(const PasswdOptions& options) {
  if (!options.error.empty()) {
    PasswdOutcome outcome;
    outcome.status = 2;
    outcome.err = options.error;
    return outcome;
  }
  if (options.help) {
    PasswdOutcome outcome;
    outcome.out = passwd_usage();
    return outcome;
  }
  return std::nullopt;
}

PasswdOutcome encode_passwd_input(const PasswdOptions& options, std::string_view raw,
                                  std::size_t random_value) {
  const PasswordInput input = password_from_input(raw);
  if (!input.error.empty()) return failure(input.error);

  const std::vector<int> usable = usable_password_offsets(input.password);
  int offset;
  if (options.offset) {
    offset = *options.offset;
    if (!password_offset_usable(input.password, offset)) {
      std::string message = "the password cannot be stored with offset " +
                            std::to_string(offset) + "; offsets that work:";
      for (int o : usable) message += " " + std::to_string(o);
      if (usable.empty()) message += " none";
      return failure(message);
    }
  } else {
    if (usable.empty()) {
      return failure("the password cannot be stored with any offset; change a character");
    }
    offset = usable[random_value % usable.size()];
  }

  PasswdOutcome outcome;
  if (options.profile_line) outcome.out = kPasswordLabel;
  outcome.out += *encode_password(input.password, offset);
  outcome.out += '\n';
  return outcome;
}

}  // namespace tw
