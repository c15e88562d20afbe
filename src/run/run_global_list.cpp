#include "os/ascii_text.h"
#include "os/local_time.h"
#include "output/channel_settings.h"
#include "run/sensor.h"

namespace tw {

std::string take_next_name(std::string& listing) {
  const std::size_t end = listing.find('#');
  std::string name = listing.substr(0, end);
  listing.erase(0, end == std::string::npos ? listing.size() : end + 1);
  return name;
}

std::string system_label(const ListRun& list, const std::string& name,
                         const ProfileRecord& profile) {
  switch (list.label_style) {
    case '2': return name.size() >= 4 ? name.substr(0, name.size() - 4) : name;
    case '3': return profile.hostname;
    case '4': return profile.destination;
    default: return name;
  }
}

namespace {

/// A failure that ends the whole run after the document was opened on standard output:
/// the rest of an error document follows the channels printed so far.
int end_list_run(Sensor& sensor, const std::string& message) {
  write_error_tail(sensor.report, message);
  print_answer(sensor, sensor.report.buffer, kExitFailed);
  sensor.report.buffer.clear();
  RfcClose(sensor.rfc.handle);
  sensor.rfc.handle = 0;
  return kExitFailed;
}

/// One listed system: read its profile, measure it, count it. Returns 0 to go on, or the
/// exit status of a failure that ends the whole run.
int visit_system(Sensor& sensor, const std::string& name) {
  RunSettings& settings = sensor.settings;
  ListRun& list = sensor.list;
  RfcState& rfc = sensor.rfc;

  list.found_mark = '.';
  ++list.systems;
  list.system_label = name;
  InputFile file = open_for_reading(settings.profile_directory + name);
  if (!file) {
    note_system_counted(sensor, name, "");
    return 0;  // counted, but neither processed nor failed
  }

  list.failure_mark = '.';
  // Every system starts from an empty record: nothing is taken from the system before.
  sensor.profile = ProfileRecord{};
  if (read_profile(sensor.profile, std::move(file), RunKind::global_list, name).failed) {
    list.failure_mark = 'X';
  }
  if (settings.client_override) sensor.profile.client = settings.client;
  list.system_label = system_label(list, name, sensor.profile);

  const ProfileRecord& profile = sensor.profile;
  const std::string system_line = "* " + local_time_of_day() + " " + name + ", " +
                                  profile.display_host + ", " + profile.destination + ", " +
                                  profile.sysnr + ", " + profile.client;
  note_system_in_work(sensor, name, system_line);

  register_environment(sensor);
  sensor.report.buffer.clear();
  rfc.run_status = kRunStatusError;
  rfc.handle = open_connection(sensor);
  if (rfc.handle == 0) {
    list.failure_mark = 'X';
  } else {
    read_system_info(sensor);
    if (rfc.run_status != kRunStatusOk) {
      append_trace_notice(sensor.report);
      return end_list_run(sensor, sensor.report.buffer);
    }
    if (!is_maxdb(rfc.database_system)) {
      return end_list_run(sensor, "Error 1018: DataBase mismatch !");
    }
    rfc.run_status = kRunStatusError;
    read_log_statistics(sensor);
    RfcClose(rfc.handle);
    rfc.handle = 0;
  }

  const bool ok = list.failure_mark == '.' && rfc.run_status == kRunStatusOk;
  if (ok && list.found_mark == 'X') {
    ++list.processed;
  } else {
    ++list.failed;
  }
  std::string state = list.found_mark == '.' ? "Not Found" : "Processed";
  if (!ok) state = "Rfc Failure";
  note_system_counted(sensor, name,
                      settings.console_mode ? "\n" + system_line + " State=" + state + "\n" : "");
  return 0;
}

}  // namespace

std::string list_summary(std::string_view item, unsigned systems, unsigned processed,
                         unsigned failed) {
  return "(***) " + std::string(item) + ": NoSystems=" + std::to_string(systems) +
         ", Processed=" + std::to_string(processed) + ", Failed=" + std::to_string(failed);
}

int run_global_list(Sensor& sensor) {
  RunSettings& settings = sensor.settings;
  Report& report = sensor.report;

  // Every later selector search sees the text the console shows.
  settings.option_upper = upper_a_to_z(settings.option_kept);
  take_client_selector(settings);
  select_channel(report, settings.option_upper, settings.option_kept);
  // An allocation text that says "CHANNELS=" overrides the command line.
  report.prtg_channels = prtg_channels_from(settings.option_upper, report.prtg_channels);

  if (settings.console_mode) print(sensor.out, settings.banner + "\n");
  for (char& c : settings.option_kept) {
    if (c == ':') c = ' ';
  }
  settings.option_kept = settings.option_kept.substr(0, settings.option_kept.find(" @"));
  if (settings.console_mode) {
    print(sensor.out, "* " + settings.start_time + " " + settings.option_kept +
                          " State=Executing\n");
  }
  open_document(report);
  print_list_start(sensor, report.buffer + "\n");
  report.buffer.clear();

  while (!sensor.list.listing.empty()) {
    const std::string name = take_next_name(sensor.list.listing);
    if (const int status = visit_system(sensor, name); status != 0) return status;
  }

  // A statistics failure of the last system leaves no text ahead of the summary.
  report.buffer.clear();
  open_text(report);
  report_append(report, list_summary(settings.item, sensor.list.systems, sensor.list.processed,
                                     sensor.list.failed));
  close_text(report);
  close_document(report);
  // The end line goes with the answer, so that no deadline can fall between them.
  print_answer(sensor, report.buffer + "\n" + console_end_line(sensor), kExitDone);
  report.buffer.clear();
  return kExitDone;
}

}  // namespace tw
