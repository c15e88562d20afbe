// What the run has in work, kept for the answer the sensor gives by itself when the run's
// deadline passes. Run control writes this record only while it holds the output lock,
// and the watchdog reads it only while it holds that lock, so the record always matches
// what has gone out on standard output.
#pragma once

#include <string>
#include <string_view>

#include "output/report.h"
#include "run/run_settings.h"

namespace tw {

/// How far a run has come, as far as its deadline answer is concerned.
enum class RunPhase {
  start_up,       ///< profiles found and read, the RFC library loaded; nothing printed yet
  single_system,  ///< the RFC steps of the single-system run
  global_list,    ///< the global-list run, its document opened on standard output
  answered,       ///< the run's answer is out; only the process has to end
};

/// The RFC step of the single-system run that waits for its answer.
enum class RfcStep { open, system_info, statistics, close };

/// The process-wide record of what is in work.
struct RunProgress {
  unsigned deadline = kDefaultDeadline;  ///< seconds from start-up
  RunPhase phase = RunPhase::start_up;
  int exit_status = 0;           ///< answered: the status the run ends with
  bool console_mode = false;
  std::string profile_name;      ///< start-up: the profile named on the command line

  // The single-system run.
  std::string destination;       ///< the system measured
  RfcStep step = RfcStep::open;
  bool head_printed = false;     ///< the document's head is out ...
  std::string rest;              ///< ... and this completes it

  // The global-list run.
  Report frame;                  ///< output mode and channel selection of the document
  std::string item;
  unsigned systems = 0;          ///< listed names taken so far
  unsigned processed = 0;
  unsigned failed = 0;
  std::string listing;           ///< names not yet taken, each closed by "#"
  std::string system_name;       ///< the listed name taken last
  bool in_work = false;          ///< `system_name` is taken but not yet counted
  std::string system_line;       ///< its console line, without the state
};

/// What the watchdog prints at the deadline, and the exit status that follows.
struct DeadlineAnswer {
  std::string text;
  int status = 0;
};

/// The answer at the deadline for the run as `progress` records it:
/// - start-up: the error document "Error 1016: Start-up with <profile name> not done within
///   N s !", exit status 2;
/// - single-system run: the error document "Error 1016: <Destination>: no answer to the
///   <step> within N s !", exit status 2; once the document's head is out, its rest
///   instead, exit status 0; in console mode the end line follows;
/// - global-list run: in console mode the state line "Rfc Failure" of the system in work,
///   then the summary, which counts the system in work and every name not yet taken as
///   failed and ends in " - deadline of N s reached at <listed name>", and the document
///   end; in console mode the end line; exit status 0;
/// - answered: nothing, with the status the run recorded.
/// `time_of_day` is the time the end line shows.
DeadlineAnswer compose_deadline_answer(const RunProgress& progress,
                                       std::string_view time_of_day);

}  // namespace tw
