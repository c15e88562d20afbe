// The process-wide records of one run and the process flow that uses them.
#pragma once

#include <string_view>

#include "output/print.h"
#include "output/report.h"
#include "output/trace.h"
#include "profile/profile_record.h"
#include "rfc/rfc.h"
#include "run/run_progress.h"
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
  RunProgress progress;  ///< written and read under the output lock only
};

/// The one way the process ends, with `status`. On the main thread (the end of the run,
/// or the RFC library's error handler, which cannot return) it takes the output lock for
/// good, so that no deadline answer can follow, flushes standard output and exits. On the
/// watchdog thread, once the deadline answer is out, and for the error handler
/// (`inside_library`), it flushes and ends the process at once, running no destructors,
/// exit handlers or library detach code: that thread, or the main one, is inside the RFC
/// library. Must not be called with the output lock held.
[[noreturn]] void end_process(int status, bool inside_library = false);

/// Records the run's deadline and, when the settings ask for a watchdog, starts it: when
/// the deadline passes, counted from start-up, the answer compose_deadline_answer gives
/// for the progress recorded goes out under the output lock and the process ends with its
/// status. Without a thread to be had the run goes on without a deadline.
void arm_deadline(Sensor& sensor);

/// Replaces the run's deadline by `seconds`, still counted from start-up.
void move_deadline(Sensor& sensor, unsigned seconds);

/// Prints the run's answer (the whole document, its rest, or the error document) and
/// records under the same lock that the run is answered and ends with `status`: from then
/// on the deadline adds nothing.
void print_answer(Sensor& sensor, std::string_view text, int status);

/// The single-system run begins: its RFC steps with the profile's Destination, the open
/// first.
void begin_single_progress(Sensor& sensor);

/// The single-system run goes on with `step`.
void note_rfc_step(Sensor& sensor, RfcStep step);

/// Prints the head of the single-system document and records under the same lock that it
/// is out and that the report buffer holds the rest.
void print_document_head(Sensor& sensor, std::string_view head);

/// Prints the start of the global-list document and records under the same lock that the
/// global-list run has begun, with the listing still to visit.
void print_list_start(Sensor& sensor, std::string_view document_start);

/// The listed system `name` is in work: profile read, console line `system_line` composed.
void note_system_in_work(Sensor& sensor, const std::string& name,
                         const std::string& system_line);

/// The listed system `name` has been counted (or skipped); prints `state_line` (empty
/// outside console mode) under the same lock.
void note_system_counted(Sensor& sensor, const std::string& name, std::string_view state_line);

/// The failure that ends a run: the error document for `message` replaces the report
/// buffer and is printed. Returns the exit status to end the process with.
int fail_run(Sensor& sensor, std::string_view message);

/// In console mode an empty line and "* HH:MM:SS SAP Tarnwheel now processed...", the
/// end line that follows the answer; empty otherwise.
std::string console_end_line(const Sensor& sensor);

/// The end line of console mode at `time_of_day`, with the empty line before it.
std::string end_line(std::string_view time_of_day);

/// Takes the next name off the front of the listing: up to the next "#", or the rest of
/// the listing when no "#" closes it.
std::string take_next_name(std::string& listing);

/// The channel name of the listed system `name` by the label style: the name, the name
/// without its last four characters, the profile's Hostname or its Destination.
std::string system_label(const ListRun& list, const std::string& name,
                         const ProfileRecord& profile);

/// The summary text of the global-list run: "(***) <item>: NoSystems=<n>, Processed=<n>,
/// Failed=<n>".
std::string list_summary(std::string_view item, unsigned systems, unsigned processed,
                         unsigned failed);

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
