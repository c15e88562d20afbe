#include "check/check_run.h"
#include "os/deadline_timer.h"

namespace tw::check {

void check_deadline_setting(CheckRun& run) {
  const RunSettings& settings = run.sensor.settings;
  const std::string seconds = std::to_string(settings.deadline) + " s";
  if (find_selector(settings, "TIMEOUT=") == std::string::npos) {
    run.log.ok("deadline " + seconds + ", the default (no TIMEOUT= selector)");
    return;
  }
  const std::string value = selector_value(settings, "TIMEOUT=");
  if (!deadline_selector(settings.option_upper)) {
    run.log.fail("deadline", "TIMEOUT=" + value + " is no number of seconds from 1 to " +
                                 std::to_string(kLongestDeadline) + ", so the sensor keeps " +
                                 seconds,
                 "write TIMEOUT=N with N from 1 to " + std::to_string(kLongestDeadline) +
                     ", below PRTG's timeout of the sensor");
    return;
  }
  run.log.ok("deadline " + seconds + " (TIMEOUT=" + value + ")");
}

void check_elapsed_time(CheckRun& run) {
  const std::uint64_t took = steady_milliseconds() - run.start_ms;
  const unsigned deadline = run.sensor.settings.deadline;
  const std::string text = "the whole check took " + duration_text(took);
  if (took >= std::uint64_t{deadline} * 1000) {
    run.log.fail(text, "beyond the deadline of " + std::to_string(deadline) +
                           " s: the sensor would answer \"Error 1016\" instead of its measurement",
                 "find the slow step above; raise TIMEOUT= (at most " +
                     std::to_string(kLongestDeadline) +
                     ") together with PRTG's timeout of the sensor");
    return;
  }
  run.log.ok(text + ", within the deadline of " + std::to_string(deadline) + " s");
}

}  // namespace tw::check
