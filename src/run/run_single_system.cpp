#include "os/local_time.h"
#include "run/sensor.h"

namespace tw {

namespace {

void console_line(Sensor& sensor, const std::string& line) {
  if (sensor.settings.console_mode) print(sensor.out, line + "\n");
}

/// The option text as the executing line shows it: cut before the first "#", then before
/// the first "@"; the leftovers "(Parameters " and "(No " of the typical calls count as
/// nothing; nothing shows as "(No Parameters)".
std::string shown_option_text(std::string text) {
  text = text.substr(0, text.find('#'));
  text = text.substr(0, text.find('@'));
  if (text == "(Parameters " || text == "(No ") text.clear();
  return text.empty() ? "(No Parameters)" : text;
}

/// A failed RFC step: its error text and the trace notice become the error document.
int fail_rfc_step(Sensor& sensor, bool close_connection) {
  append_trace_notice(sensor.report);
  const std::string message = sensor.report.buffer;
  const int status = fail_run(sensor, message);
  if (close_connection) {
    RfcClose(sensor.rfc.handle);
    sensor.rfc.handle = 0;
  }
  return status;
}

}  // namespace

void register_environment(Sensor& sensor) {
  sensor.rfc.environment.errorhandler = rfc_error_report;
  sensor.rfc.environment.allocate = nullptr;
  RfcEnvironment(&sensor.rfc.environment);
  trace_line(sensor.trace, sensor.settings.option_upper, static_cast<int>(sensor.rfc.handle),
             "RfcEnvironment called", "");
}

int run_single_system(Sensor& sensor) {
  RunSettings& settings = sensor.settings;
  RfcState& rfc = sensor.rfc;
  const ProfileRecord& profile = sensor.profile;

  begin_single_progress(sensor);
  trace_line(sensor.trace, settings.option_upper, 0, "program started", settings.program_path);
  register_environment(sensor);
  sensor.report.buffer.clear();
  rfc.run_status = kRunStatusError;

  if (settings.console_mode) {
    const std::string now = local_time_of_day();
    console_line(sensor, settings.banner);
    console_line(sensor, "* " + now + " " + settings.profile_name + ", " + profile.display_host +
                             ", " + profile.destination + ", " + profile.sysnr + ", " +
                             profile.client + " State=Processing");
    settings.option_kept = shown_option_text(settings.option_kept);
    console_line(sensor, "* " + now + " " + std::string(kProgramName) + " - " +
                             settings.option_kept + " State=Executing");
  }

  rfc.handle = open_connection(sensor);
  if (rfc.handle == 0) {
    return fail_run(sensor, "Error 1011: RFC-Open for " + profile.destination + " failed !");
  }

  rfc.run_status = kRunStatusError;
  note_rfc_step(sensor, RfcStep::system_info);
  read_system_info(sensor);
  if (rfc.run_status != kRunStatusOk) return fail_rfc_step(sensor, true);

  if (!is_maxdb(rfc.database_system)) {
    const int status = fail_run(sensor, "Error 1018: DataBase mismatch !");
    RfcClose(rfc.handle);
    rfc.handle = 0;
    return status;
  }

  rfc.run_status = kRunStatusError;
  note_rfc_step(sensor, RfcStep::statistics);
  read_log_statistics(sensor);
  note_rfc_step(sensor, RfcStep::close);
  RfcClose(rfc.handle);
  rfc.handle = 0;
  if (rfc.run_status != kRunStatusOk) return fail_rfc_step(sensor, false);

  remove_file(kRfcTraceFile);
  // The end line goes with the answer, so that no deadline can fall between them.
  print_answer(sensor, sensor.report.buffer + console_end_line(sensor), kExitDone);
  sensor.report.buffer.clear();
  return kExitDone;
}

}  // namespace tw
