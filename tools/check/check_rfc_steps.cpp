#include <algorithm>
#include <cstring>

#include "check/check_run.h"
#include "check/failure_advice.h"
#include "os/deadline_timer.h"

namespace tw::check {

namespace {

/// The library's own account of its last error.
struct LibraryError {
  std::string message;
  std::string internal_status;
};

LibraryError last_library_error() {
  RFC_ERROR_INFO info{};
  if (RfcLastError(&info) != 0) return {};
  return {std::string(info.message, strnlen(info.message, sizeof info.message)),
          std::string(info.intstat, strnlen(info.intstat, sizeof info.intstat))};
}

/// "the library says 'TEXT' (INTERNAL STATUS)".
std::string library_says(const LibraryError& error) {
  if (error.message.empty() && error.internal_status.empty()) {
    return "the library tells no error text";
  }
  return "the library says " + quoted(error.message) +
         (error.internal_status.empty() ? "" : " (" + error.internal_status + ")");
}

/// The message of the error document the single-system run prints for a failed call: the
/// step's error text and the trace notice, as run control makes it.
std::string sensor_answer(Sensor& sensor) {
  append_trace_notice(sensor.report);
  std::string message = std::move(sensor.report.buffer);
  sensor.report.buffer.clear();
  return message;
}

/// The trace notice the sensor would append for the library's trace file as it is now,
/// without its leading " - ": the last error text, "Please Check Trace-File !" or "Look for
/// Trace-File".
std::string trace_notice() {
  Report report;
  append_trace_notice(report);
  return report.buffer.substr(std::min<std::size_t>(3, report.buffer.size()));
}

/// Milliseconds since `began`, as "took N ms".
std::string took_since(std::uint64_t began) {
  return "took " + duration_text(steady_milliseconds() - began);
}

/// Closes the open connection, as run control does after a step.
void close_connection(RfcState& rfc) {
  RfcClose(rfc.handle);
  rfc.handle = 0;
}

/// The line of a successful statistics call of the single-system run: the rows and the
/// value of every known statistic.
void report_statistics(CheckRun& run, const std::string& what, const std::string& took) {
  const RfcState& rfc = run.sensor.rfc;
  if (rfc.statistics_rows == 0) {
    run.log.fail(what, "the answer holds no row, so the document carries no channel (" + took +
                           ")",
                 "look at the database in the SAP system (DB50) and the user's authorization "
                 "for ADA_LOG_STATISTICS");
    return;
  }
  std::string values, missing;
  for (const std::string_view channel : statistic_channels()) {
    bool found = false;
    for (const auto& [name, value] : rfc.statistics) {
      if (name != channel) continue;
      values += (values.empty() ? "" : ", ") + name + "=" + value;
      found = true;
      break;
    }
    if (!found) missing += (missing.empty() ? "" : ", ") + std::string(channel);
  }
  run.log.ok(what + ": " + std::to_string(rfc.statistics_rows) + " rows, " +
             (values.empty() ? std::string("none of them a known statistic") : values) +
             (missing.empty() ? "" : "; no row for " + missing) + " (" + took + ")");
}

/// The line of a successful statistics call of a list run: the item's row.
void report_item(CheckRun& run, const std::string& what, const std::string& took) {
  const Sensor& sensor = run.sensor;
  const std::string& item = sensor.settings.item;
  for (const auto& [name, value] : sensor.rfc.statistics) {
    if (name != item) continue;
    run.log.ok(what + ": " + item + "=" + value + ", the channel " +
               quoted(sensor.list.system_label) + " (" + took + ")");
    return;
  }
  run.log.fail(what, "no " + item + " row among the " +
                         std::to_string(sensor.rfc.statistics_rows) +
                         " rows: the sensor shows the state Not Found and counts the system "
                         "as failed (" + took + ")",
               "look at the database in the SAP system (DB50)");
}

/// The names of the four steps of one system, as its lines show them.
struct StepNames {
  std::string logon, system_info, database, statistics;
};

/// The open, as the sensor makes it. True when a connection is open.
bool check_logon(CheckRun& run, const StepNames& steps) {
  Sensor& sensor = run.sensor;
  const bool list = sensor.settings.item_selection;
  const bool destination_way =
      static_cast<bool>(open_for_reading(destination_file_name(sensor.profile.destination), true));
  const std::string what = steps.logon + (destination_way ? " (RfcOpenEx)" : " (RfcOpen)");
  register_environment(sensor);
  sensor.report.buffer.clear();
  sensor.rfc.run_status = kRunStatusError;
  const std::uint64_t began = steady_milliseconds();
  sensor.rfc.handle = open_connection(sensor);
  if (sensor.rfc.handle == 0) {
    const LibraryError error = last_library_error();
    run.log.fail(what,
                 library_says(error) + "; trace notice: " + trace_notice() + "; the sensor " +
                     (list ? std::string("counts the system as failed")
                           : "answers \"Error 1011: RFC-Open for " + sensor.profile.destination +
                                 " failed !\"") +
                     " (" + took_since(began) + ")",
                 remedy_for_library_error(error.message, error.internal_status));
    for (const std::string* rest : {&steps.system_info, &steps.database, &steps.statistics}) {
      run.log.skip(*rest, "the logon failed");
    }
    return false;
  }
  run.log.ok(what + " as user " + quoted(sensor.profile.user) + ", client " +
             quoted(sensor.profile.client) + ": connection opened (" + took_since(began) + ")" +
             (destination_way || !logon_checked_at_first_call(run)
                  ? "; user and password accepted"
                  : "; the library checks user and password at the first call"));
  return true;
}

/// RFC_SYSTEM_INFO and the database check on the open connection. True when both passed;
/// else the connection is closed.
bool check_system_info(CheckRun& run, const StepNames& steps) {
  Sensor& sensor = run.sensor;
  RfcState& rfc = sensor.rfc;
  const std::string ends_list =
      sensor.settings.item_selection ? "; this ends the whole run over the list" : "";
  rfc.run_status = kRunStatusError;
  const std::uint64_t began = steady_milliseconds();
  read_system_info(sensor);
  const std::string took = took_since(began);
  if (rfc.run_status != kRunStatusOk) {
    const LibraryError error = last_library_error();
    run.log.fail(steps.system_info,
                 library_says(error) + "; the sensor answers \"" + sensor_answer(sensor) +
                     "\"" + ends_list + " (" + took + ")",
                 remedy_for_library_error(error.message, error.internal_status));
    close_connection(rfc);
    run.log.skip(steps.database, "RFC_SYSTEM_INFO failed");
    run.log.skip(steps.statistics, "RFC_SYSTEM_INFO failed");
    return false;
  }
  const std::string& record = rfc.system_info;
  run.log.ok(steps.system_info + ": system " + rfcsi_field(record, "RFCSYSID") + ", host " +
             rfcsi_field(record, "RFCHOST") + ", database " + rfcsi_field(record, "RFCDBSYS") +
             " on " + rfcsi_field(record, "RFCDBHOST") + ", release " +
             rfcsi_field(record, "RFCSAPRL") + " (" + took + ")");
  if (!is_maxdb(rfc.database_system)) {
    run.log.fail(steps.database, quoted(rfc.database_system) + " is not MaxDB; the sensor "
                                 "answers \"Error 1018: DataBase mismatch !\"" + ends_list,
                 "the sensor measures MaxDB (ADA) systems only: point the profile at one, or "
                 "remove the sensor for this system");
    close_connection(rfc);
    run.log.skip(steps.statistics, "the database is not MaxDB");
    return false;
  }
  run.log.ok(steps.database + " " + quoted(rfc.database_system) + " is MaxDB");
  return true;
}

/// ADA_LOG_STATISTICS on the open connection, then the close. True when it passed.
bool check_statistics(CheckRun& run, const StepNames& steps) {
  Sensor& sensor = run.sensor;
  RfcState& rfc = sensor.rfc;
  const bool list = sensor.settings.item_selection;
  rfc.run_status = kRunStatusError;
  sensor.list.found_mark = '.';
  const std::uint64_t began = steady_milliseconds();
  read_log_statistics(sensor);
  const std::string took = took_since(began);
  close_connection(rfc);
  if (rfc.run_status != kRunStatusOk) {
    const LibraryError error = last_library_error();
    run.log.fail(steps.statistics,
                 library_says(error) + "; the sensor " +
                     (list ? "counts the system as failed; trace notice: " + trace_notice()
                           : "answers \"" + sensor_answer(sensor) + "\"") +
                     " (" + took + ")",
                 remedy_for_library_error(error.message, error.internal_status));
    return false;
  }
  if (list) {
    report_item(run, steps.statistics, took);
    return !rfc.statistics.empty() && rfc.statistics.back().first == sensor.settings.item;
  }
  report_statistics(run, steps.statistics, took);
  // As after the sensor's successful run: the library's trace goes.
  if (rfc.statistics_rows != 0) remove_file(kRfcTraceFile);
  return rfc.statistics_rows != 0;
}

}  // namespace

bool check_rfc_steps(CheckRun& run, std::string_view prefix, std::string_view skip_because) {
  const std::string p(prefix);
  const StepNames steps{p + "logon", p + "RFC_SYSTEM_INFO", p + "database",
                        p + "ADA_LOG_STATISTICS" +
                            (run.sensor.settings.item_selection ? " item" : "")};
  std::string because(skip_because);
  if (because.empty() && !run.library_usable) because = run.library_problem;
  if (!because.empty()) {
    for (const std::string* what :
         {&steps.logon, &steps.system_info, &steps.database, &steps.statistics}) {
      run.log.skip(*what, because);
    }
    return false;
  }
  run.step = steps.logon;
  bool passed = check_logon(run, steps);
  run.step = steps.system_info;
  passed = passed && check_system_info(run, steps);
  run.step = steps.statistics;
  passed = passed && check_statistics(run, steps);
  run.step.clear();
  return passed;
}

}  // namespace tw::check
