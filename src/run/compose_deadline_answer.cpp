#include "run/run_progress.h"
#include "run/sensor.h"

namespace tw {

namespace {

std::string_view step_text(RfcStep step) {
  switch (step) {
    case RfcStep::open: return "RFC-Open";
    case RfcStep::system_info: return "system information call";
    case RfcStep::statistics: return "statistics call";
    case RfcStep::close: return "RFC-Close";
  }
  return "RFC-Open";
}

std::string error_document(std::string_view message) {
  Report report;
  write_error_document(report, message);
  return report.buffer;
}

/// How many names the listing still holds, taken as the global-list run takes them: up
/// to each "#", a last name without "#" included.
unsigned names_in(std::string_view listing) {
  unsigned count = 0;
  for (std::size_t at = 0; at < listing.size(); ++count) {
    const std::size_t end = listing.find('#', at);
    at = end == std::string_view::npos ? listing.size() : end + 1;
  }
  return count;
}

DeadlineAnswer single_system_answer(const RunProgress& progress, const std::string& seconds,
                                    std::string_view time_of_day) {
  const std::string end = progress.console_mode ? end_line(time_of_day) : std::string();
  if (progress.head_printed) return {progress.rest + end, kExitDone};
  const std::string message = "Error 1016: " + progress.destination + ": no answer to the " +
                              std::string(step_text(progress.step)) + " within " + seconds +
                              " s !";
  return {error_document(message) + end, kExitFailed};
}

DeadlineAnswer global_list_answer(const RunProgress& progress, const std::string& seconds,
                                  std::string_view time_of_day) {
  std::string text;
  if (progress.in_work && progress.console_mode) {
    text += "\n" + progress.system_line + " State=Rfc Failure\n";
  }
  const unsigned waiting = names_in(progress.listing);
  const unsigned failed = progress.failed + (progress.in_work ? 1 : 0) + waiting;
  // The system in work; between two systems the next one, after the last the last one.
  std::string at = progress.system_name;
  if (!progress.in_work && waiting > 0) at = progress.listing.substr(0, progress.listing.find('#'));

  Report report = progress.frame;
  report.buffer.clear();
  open_text(report);
  report_append(report, list_summary(progress.item, progress.systems + waiting,
                                     progress.processed, failed) +
                            " - deadline of " + seconds + " s reached at " + at);
  close_text(report);
  close_document(report);
  text += report.buffer + "\n";
  if (progress.console_mode) text += end_line(time_of_day);
  return {text, kExitDone};
}

}  // namespace

DeadlineAnswer compose_deadline_answer(const RunProgress& progress,
                                       std::string_view time_of_day) {
  const std::string seconds = std::to_string(progress.deadline);
  switch (progress.phase) {
    case RunPhase::start_up:
      return {error_document("Error 1016: Start-up with " + progress.profile_name +
                             " not done within " + seconds + " s !"),
              kExitFailed};
    case RunPhase::single_system: return single_system_answer(progress, seconds, time_of_day);
    case RunPhase::global_list: return global_list_answer(progress, seconds, time_of_day);
    case RunPhase::answered: break;
  }
  return {std::string(), progress.exit_status};
}

}  // namespace tw
