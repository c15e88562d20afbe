// The process-wide records of one run and the process flow that uses them.
#pragma once

#include <string_view>

#include "output/print.h"
#include "output/report.h"
#include "output/trace.h"
#include "profile/profile_record.h"
#include "rfc/rfc.h"
#include "run/run_settings.h"

namespace tw {

/// Exit statuses of the process.
inline constexpr int kExitDone = 0;
inline constexpr int kExitRfcLibrary = 1;
inline constexpr int kExitFailed = 2;

/// Everything a run keeps for the life of the process. main() owns one; a test builds its
/// own and points `out` at a string.
struct Sensor {
  RunSettings settings;
  ProfileRecord profile;
  Report report;
  Output out;
  Trace trace;
  RfcState rfc;
  ListRun list;
};

/// Ends the process from inside the RFC library (the error handler cannot return):
/// flushes standard output and exits with `status`.
[[noreturn]] void end_process(int status);

/// The failure that ends a run: the error document for `message` replaces the report
/// buffer and is printed. Returns the exit status to end the process with.
int fail_run(Sensor& sensor, std::string_view message);

/// Console mode: prints an empty line and "* HH:MM:SS SAP Tarnwheel now processed...".
void print_end_line(Sensor& sensor);

/// Registers rfc_error_report as the RFC library's error handler.
void register_environment(Sensor& sensor);

/// The single-system run on the profile record read: open, system information, database
/// check, statistics, close; prints the document or the error document. Returns the exit
/// status.
int run_single_system(Sensor& sensor);

/// The global-list run over the listed systems: one channel per system with the item,
/// then the summary. Returns the exit status.
int run_global_list(Sensor& sensor);

/// One whole run, from the command line to the exit status. `time_of_day` is the start-up
/// time (HH:MM:SS).
int sensor_main(Sensor& sensor, int argc, const char* const* argv,
                std::string time_of_day);

}  // namespace tw
