#include "check/check_run.h"
#include "os/ascii_text.h"
#include "profile/global_profile.h"

namespace tw::check {

namespace {

/// What to do about the list file's failure `message` (its error code decides).
std::string list_remedy(const std::string& message) {
  if (message.starts_with("Error 1025")) {
    return "add the list lines: \"# Gsng: \" (suite profile) or \"# GSNG: \" with the global "
           "sensor's name (global profile), the profile names from column 21, each closed by #";
  }
  if (message.starts_with("Error 1026")) {
    return "name the statistic: ITEM=QuePages, or Item=QuePages in the allocation line";
  }
  if (message.starts_with("Error 1029")) {
    return "the allocation line must hold Sensor=\"SAP Tarnwheel\" from column 20 on";
  }
  if (message.starts_with("Error 1030")) {
    return "add the allocation line \"# GSNX: \" for the global sensor named by the first "
           "selector, or correct that name";
  }
  return "allow the account that runs the sensor to read the list file";
}

/// The statistic names the sensor knows, joined by ", ".
std::string known_items() {
  std::string text;
  for (const std::string_view channel : statistic_channels()) {
    text += (text.empty() ? "" : ", ") + std::string(channel);
  }
  return text;
}

/// One listed system as the global-list run visits it: its profile, its gateway and its RFC
/// steps, each even when the one before failed, as the sensor goes on.
void check_listed_system(CheckRun& run, const std::string& name, unsigned number) {
  Sensor& sensor = run.sensor;
  const RunSettings& settings = sensor.settings;
  const std::string prefix = name.empty() ? "system " + std::to_string(number) + ": "
                                          : name + ": ";
  sensor.list.system_label = name;
  if (name.empty()) {
    run.log.fail(prefix + "listed name", "empty (two # in a row): the sensor counts it in "
                 "NoSystems only, neither processed nor failed",
                 "remove the extra #");
    return;
  }
  InputFile file = open_for_reading(settings.profile_directory + name);
  if (!file) {
    run.log.fail(prefix + "profile", "listed, but " + name + " is not in " +
                                         (settings.profile_directory.empty()
                                              ? std::string("the working directory")
                                              : settings.profile_directory) +
                                         ": the sensor counts it in NoSystems only, neither "
                                         "processed nor failed",
                 "put " + name + " beside the list file, or remove it from the list");
    return;
  }
  // Every system starts from an empty record: nothing is taken from the system before.
  sensor.profile = ProfileRecord{};
  check_profile(run, std::move(file), settings.profile_directory + name, name,
                RunKind::global_list, prefix);
  sensor.list.system_label = system_label(sensor.list, name, sensor.profile);
  // The sensor tries the connection even for an incomplete profile.
  check_rfc_steps(run, prefix, check_gateway(run, prefix));
}

}  // namespace

void check_list_run(CheckRun& run, const LocatedProfile& located) {
  Sensor& sensor = run.sensor;
  RunSettings& settings = sensor.settings;
  const SystemList list =
      run.name.global
          ? read_global_profile(located.path, settings.profile_name, settings.option_upper,
                                settings.argument2)
          : read_suite_profile(located.path, settings.profile_name, settings.item);
  const std::string what = "list file " + located.path;
  if (!list.error.empty()) {
    run.log.fail(what, "the sensor answers \"" + list.error + "\"", list_remedy(list.error));
    check_rfc_steps(run, "", "the sensor stops at the list file");
    return;
  }
  if (list.option_replaced) {
    settings.option_kept = list.option_kept;
    const std::string allocation_upper = upper_a_to_z(list.allocation);
    const std::optional<unsigned> deadline = deadline_selector(allocation_upper);
    if (deadline) {
      settings.deadline = *deadline;
      run.log.ok("deadline " + std::to_string(*deadline) + " s, from the allocation line");
    } else if (allocation_upper.find("TIMEOUT=") != std::string::npos) {
      run.log.fail("deadline of the allocation line",
                   "its Timeout= is no number of seconds from 1 to " +
                       std::to_string(kLongestDeadline) + ", so the sensor keeps " +
                       std::to_string(settings.deadline) + " s",
                   "write Timeout=N with N from 1 to " + std::to_string(kLongestDeadline) +
                       " in the allocation line");
    }
  }
  settings.item = list.item;
  sensor.list.listing = list.listing;
  sensor.list.label_style = list.label_style;
  // As the list run does: every later selector search sees the text the console shows.
  settings.option_upper = upper_a_to_z(settings.option_kept);
  take_client_selector(settings);

  std::string listing = list.listing;
  std::vector<std::string> names;
  while (!listing.empty()) names.push_back(take_next_name(listing));
  std::string shown;
  for (const std::string& name : names) shown += (shown.empty() ? "" : ", ") + name;
  run.log.ok(what + ": " + std::to_string(names.size()) + " listed (" + shown + "), item " +
             settings.item + ", label style " + std::string(1, list.label_style));

  bool known = false;
  for (const std::string_view channel : statistic_channels()) {
    known = known || channel == settings.item;
  }
  if (!known) {
    run.log.fail("item " + quoted(settings.item),
                 "no statistic the sensor knows (letter case counts): every system would show "
                 "the state Not Found",
                 "name one of " + known_items());
  }
  unsigned number = 0;
  for (const std::string& name : names) check_listed_system(run, name, ++number);
}

}  // namespace tw::check
