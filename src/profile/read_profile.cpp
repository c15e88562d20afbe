#include <array>
#include <string>

#include "os/ascii_text.h"
#include "os/text_file.h"
#include "profile/decode_password.h"
#include "profile/profile_record.h"

namespace tw {

namespace {

/// One labelled line of a profile: the label (columns 1 to 12), the field it fills and the
/// fewest characters the completeness check accepts.
struct ProfileLabel {
  const char* label;
  std::string ProfileRecord::*field;
  std::size_t minimum;
};

// In the order in which labels are compared and in which minimums are checked.
const std::array<ProfileLabel, 11> kLabels = {{
    {"Extcompany.:", &ProfileRecord::extcompany, 2},
    {"Destination:", &ProfileRecord::destination, 3},
    {"Client.....:", &ProfileRecord::client, 3},
    {"User.......:", &ProfileRecord::user, 2},
    {"Password...:", &ProfileRecord::password, 2},
    {"Language...:", &ProfileRecord::language, 1},
    {"Mode.......:", &ProfileRecord::mode, 3},
    {"Hostname...:", &ProfileRecord::hostname, 2},
    {"Sysnr......:", &ProfileRecord::sysnr, 2},
    {"Gwhost.....:", &ProfileRecord::gwhost, 2},
    {"Gwservice..:", &ProfileRecord::gwservice, 2},
}};

constexpr std::size_t kLabelWidth = 12;
constexpr std::size_t kValueColumn = 13;  // column 14, counted from 0
constexpr std::size_t kValueWidth = 60;   // columns 14 to 73

std::string message(std::string_view head, std::string_view name, std::string_view tail) {
  std::string text(head);
  text += name;
  text += tail;
  return text;
}

}  // namespace

ProfileReadResult read_profile(ProfileRecord& record, InputFile file, RunKind kind,
                               std::string_view profile_name) {
  const bool single = kind == RunKind::single_system;
  const std::size_t piece_size = single ? 159 : 199;
  ProfileReadResult result;

  std::string line;
  while (read_piece(file, piece_size, line)) {
    strip_line_end(line);
    if (line.size() < kLabelWidth) continue;
    const std::string_view label(line.data(), kLabelWidth);
    for (const ProfileLabel& entry : kLabels) {
      if (label != entry.label) continue;
      std::string value =
          line.size() > kValueColumn ? line.substr(kValueColumn, kValueWidth) : std::string();
      std::string& field = record.*entry.field;
      if (entry.field == &ProfileRecord::user) {
        field = upper_a_to_z(std::move(value));
      } else if (entry.field == &ProfileRecord::password) {
        if (value.empty()) {
          field.clear();
          break;
        }
        DecodedPassword decoded = decode_password(value);
        if (decoded.fault == PasswordFault::none) {
          field = std::move(decoded.text);
          break;
        }
        result.failed = true;
        if (single) {
          result.error = decoded.fault == PasswordFault::header
                             ? message("Error 1004: Invalid Password in Profile ",
                                       profile_name, " found...")
                             : message("Error 1005: Wrong Password in Profile ",
                                       profile_name, " found...");
          return result;
        }
        // Global-list run: the field keeps what it held; the system counts as failed.
      } else if (entry.field == &ProfileRecord::hostname) {
        field = value;
        record.display_host = std::move(value);
      } else {
        field = std::move(value);
      }
      break;
    }
  }

  std::string fault;
  if (record.user.empty()) {
    fault = message("Error 1006: Username in Profile ", profile_name, " is missing...");
  } else if (record.password.empty()) {
    fault = message("Error 1007: Password in Profile ", profile_name, " is missing...");
  } else {
    for (const ProfileLabel& entry : kLabels) {
      if ((record.*entry.field).size() < entry.minimum) {
        fault = message("Error 1003: Invalid Parameter(s) at ", profile_name, " found...");
        break;
      }
    }
  }
  if (!fault.empty()) {
    result.failed = true;
    if (single) result.error = std::move(fault);
  }
  return result;
}

}  // namespace tw
