// The logon and connection values of one SAP system, as a profile gives them.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "profile/decode_password.h"

#include "os/text_file.h"

namespace tw {

/// The eleven values of one profile, plus the host name that console lines show.
struct ProfileRecord {
  std::string extcompany;
  std::string destination;
  std::string client;
  std::string user;      ///< stored upper-cased (a to z only)
  std::string password;  ///< stored decoded
  std::string language;
  std::string mode;      ///< exactly "R/2" selects an R/2 connection
  std::string hostname;
  std::string sysnr;
  std::string gwhost;
  std::string gwservice;
  std::string display_host;  ///< set by each Hostname line, later by the system's answer
};

/// One labelled line of a profile: the label (columns 1 to 12), the field it fills and the
/// fewest characters the completeness check accepts.
struct ProfileLabel {
  const char* label;
  std::string ProfileRecord::*field;
  std::size_t minimum;
};

inline constexpr std::size_t kProfileLabelCount = 11;

/// The labels, in the order in which they are compared and their minimums checked.
const std::array<ProfileLabel, kProfileLabelCount>& profile_labels();

/// What reading a profile met, for an administrator who wants to see it.
struct ProfileReadNotes {
  /// Per label (in the order of profile_labels): the line of its last occurrence, counted
  /// from 1; 0 when it never occurred.
  std::array<unsigned, kProfileLabelCount> label_lines{};
  PasswordFault password_fault = PasswordFault::none;  ///< of the last Password line
  std::size_t password_length = 0;  ///< of the password decoded last
  unsigned stopped_at_line = 0;     ///< reading ended early at this line; 0: read to the end
  /// A line that begins like a label (letters, dots and blanks, then ":" within its
  /// first 16 characters) but names none. Only that beginning is kept, never a value.
  struct Unrecognised {
    unsigned line = 0;
    std::string label;
  };
  std::vector<Unrecognised> unrecognised;
};

/// Which run reads the profile: the single-system run ends on the first fault, the
/// global-list run marks the system as failed and reads on.
enum class RunKind { single_system, global_list };

/// Outcome of reading one profile.
struct ProfileReadResult {
  bool failed = false;  ///< some fault was found (global-list run: the failure mark)
  std::string error;    ///< single-system run: the message of the first fault
};

/// Reads the profile from the current position of `file` to its end into `record`, closes
/// the file and checks that the profile is complete. Only the fields whose labels occur
/// are assigned. `profile_name` is the name that messages show. In the single-system run
/// the first fault stops the reading and its message is returned; in the global-list run
/// every fault only marks the result as failed. With `notes`, records there what it met.
ProfileReadResult read_profile(ProfileRecord& record, InputFile file, RunKind kind,
                               std::string_view profile_name, ProfileReadNotes* notes = nullptr);

}  // namespace tw
