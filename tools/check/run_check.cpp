#include <cstdio>

#include "check/check_run.h"
#include "os/deadline_timer.h"
#include "os/local_time.h"

namespace tw::check {

namespace {

/// The check in work, for the RFC library's error handler.
CheckRun* g_running = nullptr;

/// The RFC error report the sensor would print, as one line: its fields joined by "; ".
std::string report_in_one_line(const std::string& printed) {
  std::string report = printed.substr(0, printed.find("\n\n"));
  if (report.starts_with("RFC error\n")) report.erase(0, 10);
  std::string line;
  bool blank = false;
  for (const char c : report) {
    if (c == '\n') {
      line += "; ";
      blank = false;
    } else if (c == ' ') {
      blank = true;
    } else {
      if (blank && !line.empty() && !line.ends_with(' ')) line += ' ';
      blank = false;
      line += c;
    }
  }
  return line;
}

/// The last word of a check that the RFC library ends through its error handler: the
/// failed step, the summary, and the process ends with status 1 as the sensor's would.
void library_ended_check() noexcept {
  if (g_running == nullptr) return;
  try {
    CheckRun& run = *g_running;
    run.log.fail(run.step.empty() ? "RFC library" : run.step,
                 "the RFC library ended the run through its error handler (" +
                     report_in_one_line(run.sensor_output) +
                     "); the sensor prints this RFC error report and ends with exit status 1",
                 "look at the SAP system (system log SM21, work processes SM50) around this time");
    run.log.finish();
  } catch (...) {
    // The process ends all the same.
  }
  std::fflush(stdout);
}

}  // namespace

std::string duration_text(std::uint64_t milliseconds) {
  if (milliseconds < 10000) return std::to_string(milliseconds) + " ms";
  return std::to_string(milliseconds / 1000) + "." + std::to_string(milliseconds % 1000 / 100) +
         " s";
}

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

void begin_check(CheckRun& run, std::uint64_t start_ms) {
  run.start_ms = start_ms;
  run.sensor.out.capture = &run.sensor_output;
  run.sensor.settings.start_ms = start_ms;
  run.sensor.settings.watchdog = false;
  set_error_report_target(&run.sensor);
}

int run_check(CheckRun& run, int argc, const char* const* argv) {
  g_running = &run;
  set_error_report_epilogue(library_ended_check);
  take_start_time(run.sensor.settings, local_time_of_day());

  if (check_command_line(run, argc, argv)) {
    check_deadline_setting(run);
    check_library(run);
    check_working_directory(run);
    LocatedProfile located = check_profile_search(run);
    if (!located.error.empty()) {
      const std::string because = "the sensor stops at the profile search";
      run.log.skip("profile reading", because);
      run.log.skip("gateway", because);
      check_rfc_steps(run, "", because);
    } else if (run.sensor.settings.item_selection) {
      check_list_run(run, located);
    } else if (!check_profile(run, std::move(located.file), located.path,
                              run.sensor.settings.profile_name, RunKind::single_system, "")) {
      const std::string because = "the sensor stops at the profile";
      run.log.skip("gateway", because);
      check_rfc_steps(run, "", because);
    } else {
      check_rfc_steps(run, "", check_gateway(run, ""));
    }
    check_elapsed_time(run);
  }

  set_error_report_epilogue(nullptr);
  g_running = nullptr;
  return run.log.finish();
}

}  // namespace tw::check
