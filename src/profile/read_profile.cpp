#include <array>
#include <string>

#include "os/ascii_text.h"
#include "os/text_file.h"
#include "profile/decode_password.h"
#include "profile/profile_record.h"

namespace tw {

namespace {

// In the order in which labels are compared and in which minimums are checked.
const std::array<ProfileLabel, kProfileLabelCount> kLabels = {{
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

/// The beginning of a line that looks like a label: letters, dots, blanks and tabs up to and
/// including a ":" within the first 16 characters, with at least one letter. Empty for
/// any other line, so that no value is ever taken.
std::string label_like_start(std::string_view line) {
  constexpr std::size_t kLongest = 16;
  bool letter = false;
  for (std::size_t i = 0; i < line.size() && i < kLongest; ++i) {
    const char c = line[i];
    if (c == ':') return letter ? std::string(line.substr(0, i + 1)) : std::string();
    const bool is_letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!is_letter && c != '.' && c != ' ' && c != '\t') return {};
    letter = letter || is_letter;
  }
  return {};
}

}  // namespace

const std::array<ProfileLabel, kProfileLabelCount>& profile_labels() { return kLabels; }

ProfileReadResult read_profile(ProfileRecord& record, InputFile file, RunKind kind,
                               std::string_view profile_name, ProfileReadNotes* notes) {
  const bool single = kind == RunKind::single_system;
  const std::size_t piece_size = single ? 159 : 199;
  ProfileReadResult result;

  std::string line;
  unsigned line_number = 0;
  bool line_start = true;  // the next piece begins a line of the file
  while (read_piece(file, piece_size, line)) {
    if (line_start) ++line_number;
    line_start = !line.empty() && line.back() == '\n';
    strip_line_end(line);
    bool recognised = false;
    for (std::size_t index = 0; index < kLabels.size() && line.size() >= kLabelWidth; ++index) {
      const ProfileLabel& entry = kLabels[index];
      if (std::string_view(line.data(), kLabelWidth) != entry.label) continue;
      recognised = true;
      if (notes != nullptr) notes->label_lines[index] = line_number;
      std::string value =
          line.size() > kValueColumn ? line.substr(kValueColumn, kValueWidth) : std::string();
      std::string& field = record.*entry.field;
      if (entry.field == &ProfileRecord::user) {
        field = upper_a_to_z(std::move(value));
      } else if (entry.field == &ProfileRecord::password) {
        if (value.empty()) {
          field.clear();
          if (notes != nullptr) notes->password_fault = PasswordFault::none;
          if (notes != nullptr) notes->password_length = 0;
          break;
        }
        DecodedPassword decoded = decode_password(value);
        if (notes != nullptr) {
          notes->password_fault = decoded.fault;
          if (decoded.fault == PasswordFault::none) notes->password_length = decoded.text.size();
        }
        if (decoded.fault == PasswordFault::none) {
          field = std::move(decoded.text);
          break;
        }
        result.failed = true;
        if (single) {
          if (notes != nullptr) notes->stopped_at_line = line_number;
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
    if (!recognised && notes != nullptr) {
      std::string start = label_like_start(line);
      if (!start.empty()) notes->unrecognised.push_back({line_number, std::move(start)});
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
