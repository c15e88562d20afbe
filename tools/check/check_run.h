// The set-up check: the way the sensor goes for a command line, step by step, with the
// sensor's own operations, each step reported as check lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "check/check_log.h"
#include "profile/locate_profile.h"
#include "run/sensor.h"

namespace tw::check {

/// Everything one check keeps: the sensor's records (whatever the sensor's operations
/// print lands in `sensor_output`, never on standard output), the check lines, and what
/// the steps found for the steps after them.
struct CheckRun {
  Sensor sensor;
  std::string sensor_output;
  CheckLog log;
  std::uint64_t start_ms = 0;
  CompletedName name;            ///< the profile name as completed
  bool library_usable = false;   ///< the RFC library is loaded and bound
  std::string library_kind;      ///< "classic" or "NetWeaver", once it is chosen
  std::string library_problem;   ///< why not, for the checks it makes impossible
  std::string step;              ///< what the RFC library is doing now, for its error handler
};

/// Prepares `run` for a check: the sensor's output captured, its settings as the sensor's
/// process entry makes them (without a watchdog), the clock started.
void begin_check(CheckRun& run, std::uint64_t start_ms);

/// The whole check for a command line (argv[1] the profile, argv[2] and argv[3] the
/// selectors, as the sensor takes them). Prints the check lines and the summary; returns
/// the exit status: 0 when no check failed, else 1.
int run_check(CheckRun& run, int argc, const char* const* argv);

/// The command line: the profile name as the sensor completes it, the kind of run, the
/// selectors that change the way. False when there is no profile name.
bool check_command_line(CheckRun& run, int argc, const char* const* argv);

/// The program folder and the RFC library the sensor would take there: the file, its kind,
/// its machine against the program's, its companions, loading it and its version. Sets
/// `library_usable`.
void check_library(CheckRun& run);

/// The working directory: its path, and whether the RFC library's parameter and trace
/// files can be written there (a probe file of another name is created and deleted; no
/// existing file is touched).
void check_working_directory(CheckRun& run);

/// The profile search as the sensor makes it: the way (search or given directory), the
/// PRTG path file, every place tried, the path rule. Returns what locate_profile gave.
LocatedProfile check_profile_search(CheckRun& run);

/// Reads the profile `file` (found at `path`, shown as `name`) with the sensor's reading
/// for `kind` into the sensor's profile record and reports every label, every value below
/// its minimum, the stored password (its length only) and the file's encoding. Lines begin
/// with `prefix`. True when the sensor accepts the profile.
bool check_profile(CheckRun& run, InputFile file, const std::string& path,
                   const std::string& name, RunKind kind, std::string_view prefix);

/// The connection values the library will get: the destination file and parameter file
/// when used, the gateway's address and service, its name resolution and a TCP connect
/// with its time. Empty when the gateway accepted the TCP connection (or cannot be told
/// in advance); else why the RFC steps cannot succeed.
std::string check_gateway(CheckRun& run, std::string_view prefix);

/// The RFC steps of one system as the sensor makes them: logon, RFC_SYSTEM_INFO with the
/// database check, ADA_LOG_STATISTICS (in a list run: the item's row), each with its time
/// and, on failure, the library's own error text and the sensor's answer. `skip_because`
/// non-empty: every step is reported as skipped for that reason. True when all passed.
bool check_rfc_steps(CheckRun& run, std::string_view prefix, std::string_view skip_because);

/// The run over a list: the list file as the sensor reads it, the item, then every listed
/// system in turn (profile, gateway, RFC steps).
void check_list_run(CheckRun& run, const LocatedProfile& located);

/// The deadline in force (TIMEOUT=, also from an allocation text).
void check_deadline_setting(CheckRun& run);

/// The time the whole check took, against the deadline.
void check_elapsed_time(CheckRun& run);

/// True when the logon of an open by the profile's values (RfcOpen) is checked only at the
/// first call: so the classic library does, the NetWeaver one checks it at the open.
bool logon_checked_at_first_call(const CheckRun& run);

/// A duration as the check lines show it: "N ms" below 10 s, else "N.N s".
std::string duration_text(std::uint64_t milliseconds);

/// "'text'", the text in single quotes, so that blanks at its ends show.
std::string quoted(std::string_view text);

}  // namespace tw::check
