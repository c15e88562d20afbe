// The logon and connection values of one SAP system, as a profile gives them.
#pragma once

#include <string>
#include <string_view>

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
/// every fault only marks the result as failed.
ProfileReadResult read_profile(ProfileRecord& record, InputFile file, RunKind kind,
                               std::string_view profile_name);

}  // namespace tw
