// The password encoder: turns a plain password into the 24-character stored value that a
// profile's Password line carries, the reverse of decode_password.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tw {

/// Longest password that can be stored; shorter ones are padded to this length.
inline constexpr std::size_t kPlainPasswordLength = 20;
/// Length of a stored value: four header characters and the 20-character body.
inline constexpr std::size_t kStoredPasswordLength = 24;
/// Key offsets run from 0 to this value minus one.
inline constexpr int kPasswordOffsets = 10;
/// Label of a profile's Password line, blank included; the value follows from column 14.
inline constexpr std::string_view kPasswordLabel = "Password...: ";

/// Why a password cannot be stored: empty, longer than 20 characters, or holding a byte
/// outside printable ASCII (0x20..0x7E). Empty when the password is acceptable.
std::string password_fault(std::string_view plain);

/// The password taken from the raw bytes of one input line, or the message why not.
struct PasswordInput {
  std::string password;
  std::string error;  ///< non-empty when there is no usable password
};

/// Takes the password from `raw`, the bytes read up to and including the first line feed
/// (or to the end of input). One line end, LF or CRLF, is removed; any other byte must be
/// printable. Empty `raw` means no input at all and is an error.
PasswordInput password_from_input(std::string_view raw);

/// Whether an acceptable password can be stored with `offset` without putting a DEL into
/// the value or a blank at its end. False for an unacceptable password or offset.
bool password_offset_usable(std::string_view plain, int offset);

/// The offsets, ascending, with which the password can be stored.
std::vector<int> usable_password_offsets(std::string_view plain);

/// Encodes an acceptable password with a usable offset into its stored value: 24
/// characters, none of them DEL, neither the first nor the last a blank, decoding back to
/// `plain`. The padding is printable and depends only on the password and the offset.
/// Empty when the password is not acceptable or the offset is not usable.
std::optional<std::string> encode_password(std::string_view plain, int offset);

/// What the command line asks for.
struct PasswdOptions {
  bool help = false;          ///< --help: print the usage text only
  bool profile_line = false;  ///< --profile-line: print the whole Password line
  std::optional<int> offset;  ///< --offset N; empty: chosen at random among usable ones
  std::string error;          ///< non-empty when the command line is wrong
};

/// Parses the arguments after the program name: --offset N (or --offset=N, N one digit,
/// at most once), --profile-line and --help. Parsing stops at --help or at the first
/// wrong argument, which sets `error`; any argument that is not an option is wrong, the
/// password being read from standard input only.
PasswdOptions parse_passwd_args(int argc, const char* const* argv);

/// The usage text, ending in a line feed.
std::string_view passwd_usage();

/// What a run prints and the exit status it ends with.
struct PasswdOutcome {
  int status = 0;   ///< 0 on success, 2 for any error
  std::string out;  ///< for standard output
  std::string err;  ///< for standard error
};

/// The outcome for a command line that needs no input: its usage error (status 2) or the
/// usage text for --help (status 0). Empty when the password has to be read.
std::optional<PasswdOutcome> passwd_outcome_without_input(const PasswdOptions& options);

/// Encodes the password in `raw` (as password_from_input takes it) as the options ask:
/// the stored value, or the whole profile line, and a line feed. Without a fixed offset
/// the usable offset with index `random_value` modulo their count is taken. A bad password
/// or an offset that cannot be used is an error with status 2.
PasswdOutcome encode_passwd_input(const PasswdOptions& options, std::string_view raw,
                                  std::size_t random_value);

}  // namespace tw
