#include "check/check_run.h"

namespace tw::check {

bool check_command_line(CheckRun& run, int argc, const char* const* argv) {
  RunSettings& settings = run.sensor.settings;
  if (argc < 2) {
    run.log.fail("command line", "no profile name; the sensor answers \"Error 1001: Parameter "
                 "for Profile-Name is missing !\"",
                 "name the profile as the first parameter, as PRTG passes it: "
                 "tarnwheel-check PRD [SELECTORS]");
    return false;
  }
  take_command_line(settings, argc, argv);
  const std::string typed = settings.profile_name;
  run.name = complete_profile_name(settings.profile_name);
  settings.profile_name = run.name.name;
  settings.given_directory = run.name.given_directory;
  if (run.name.global) settings.item_selection = true;
  run.sensor.report.output_mode = output_mode_from(settings.option_upper);

  if (find_selector(settings, "ITEM=") != std::string::npos) {
    run.log.ok("command line: selector ITEM=" + settings.item +
               ", a run over the systems of the suite profile " + run.name.name +
               " (the profile name " + quoted(argv[1]) + " is not used)");
  } else if (run.name.global) {
    run.log.ok("command line: profile name " + quoted(typed) +
               ", a run over the systems of the global profile " + run.name.name);
  } else {
    run.log.ok("command line: profile name " + quoted(typed) + " gives the profile " +
               run.name.name +
               (run.name.given_directory.empty()
                    ? std::string()
                    : " with the given directory " + run.name.given_directory) +
               ", a single-system run");
  }
  if (settings.client_override) {
    run.log.ok("command line: selector CLIENT=" + settings.client +
               " replaces the Client of every profile");
  }
  return true;
}

}  // namespace tw::check
