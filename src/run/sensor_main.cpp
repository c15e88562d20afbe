#include "run/sensor.h"

#include "os/ascii_text.h"
#include "os/local_time.h"
#include "output/channel_settings.h"
#include "profile/global_profile.h"
#include "profile/locate_profile.h"

namespace tw {

int fail_run(Sensor& sensor, std::string_view message) {
  write_error_document(sensor.report, message);
  print_answer(sensor, sensor.report.buffer, kExitFailed);
  sensor.report.buffer.clear();
  return kExitFailed;
}

std::string end_line(std::string_view time_of_day) {
  return "\n* " + std::string(time_of_day) + " SAP " + std::string(kProgramName) +
         " now processed...\n";
}

std::string console_end_line(const Sensor& sensor) {
  return sensor.settings.console_mode ? end_line(local_time_of_day()) : std::string();
}

int sensor_main(Sensor& sensor, int argc, const char* const* argv,
                std::string time_of_day) {
  RunSettings& settings = sensor.settings;
  take_start_time(settings, std::move(time_of_day));
  if (argc < 2) return fail_run(sensor, "Error 1001: Parameter for Profile-Name is missing !");

  take_command_line(settings, argc, argv);
  attach_trace(sensor.trace, settings.option_upper);
  const CompletedName completed = complete_profile_name(settings.profile_name);
  settings.profile_name = completed.name;
  settings.given_directory = completed.given_directory;
  if (completed.global) settings.item_selection = true;
  arm_deadline(sensor);

  sensor.report.output_mode = output_mode_from(settings.option_upper);
  select_channel(sensor.report, settings.option_upper, settings.option_kept);
  sensor.report.prtg_channels = prtg_channels_from(settings.option_upper, false);
  LocatedProfile located =
      locate_profile(completed, sensor.report.output_mode, settings.option_upper);
  if (!located.error.empty()) return fail_run(sensor, located.error);
  settings.profile_directory = located.directory;
  settings.profile_path = located.path;

  if (settings.item_selection) {
    located.file = {};
    SystemList list =
        completed.global
            ? read_global_profile(settings.profile_path, settings.profile_name,
                                  settings.option_upper, settings.argument2)
            : read_suite_profile(settings.profile_path, settings.profile_name, settings.item);
    if (!list.error.empty()) return fail_run(sensor, list.error);
    if (list.option_replaced) {
      settings.option_kept = list.option_kept;
      // A valid "TIMEOUT=" of the allocation text sets the deadline of the run; an invalid
      // one leaves the deadline of the command line in force.
      const std::optional<unsigned> deadline = deadline_selector(upper_a_to_z(list.allocation));
      if (deadline) move_deadline(sensor, *deadline);
    }
    settings.item = list.item;
    sensor.list.listing = std::move(list.listing);
    sensor.list.label_style = list.label_style;
    std::string library_error;
    if (!load_rfc_library(rfc_library_selector(upper_a_to_z(settings.option_kept)),
                          library_error)) {
      return fail_run(sensor, library_error);
    }
    return run_global_list(sensor);
  }

  const ProfileReadResult read = read_profile(sensor.profile, std::move(located.file),
                                              RunKind::single_system, settings.profile_name);
  if (read.failed) return fail_run(sensor, read.error);
  if (settings.client_override) sensor.profile.client = settings.client;
  std::string library_error;
  if (!load_rfc_library(rfc_library_selector(settings.option_upper), library_error)) {
    return fail_run(sensor, library_error);
  }
  return run_single_system(sensor);
}

}  // namespace tw
