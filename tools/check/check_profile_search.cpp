#include "check/check_run.h"

namespace tw::check {

namespace {

/// A place tried, as the lines show it: the path, or for the working directory the name
/// and where it is.
std::string place_text(const std::string& path, const std::string& name) {
  return path == name ? name + " in the working directory" : path;
}

/// What to do when the profile was searched and found nowhere.
std::string missing_remedy(const LocateTrail& trail, const std::string& name) {
  if (!trail.searched) return "check the profile's name and the given directory";
  if (trail.path_file_found) {
    return "put " + name + " into " + trail.base_directory + std::string(kSubPath1) +
           ", or correct the directory line of " + std::string(kPrtgPathFile);
  }
  return "put " + name + " into PRTG's sensor folder (normally \\Program Files (x86)" +
         "\\PRTG Network Monitor\\Custom Sensors\\EXEXML\\), or, when PRTG lies elsewhere, "
         "name the folder above it in " + std::string(kPrtgPathFile);
}

/// Reports the path rule's failure for a profile found at `path`.
void fail_path_rule(CheckRun& run, const LocateTrail& trail, const std::string& path) {
  const std::string& name = run.name.name;
  const std::string answer = "; the sensor answers \"" + std::string(kInvalidPathUsage) + "\"";
  if (path == name) {
    run.log.fail("path rule", name + " was found in the working directory, which is searched "
                 "first and never counts as PRTG's sensor folder" + answer,
                 "run from another folder (the working directory is searched first), or "
                 "create " + std::string(kPrtgPathFile) + " naming the folder above PRTG: "
                 "with it the working directory is not searched");
    return;
  }
  const std::string directory = path.substr(0, path.size() - name.size());
  run.log.fail("path rule", name + " was found in " + directory +
               ", whose name does not end in ExeXml" + answer,
               trail.path_file_found
                   ? "let " + std::string(kPrtgPathFile) + " name the folder above the PRTG "
                     "installation, the installation or the ExeXml sensor folder itself"
                   : "move the profile into PRTG's sensor folder ...\\Custom Sensors\\EXEXML\\");
}

}  // namespace

LocatedProfile check_profile_search(CheckRun& run) {
  const RunSettings& settings = run.sensor.settings;
  LocateTrail trail;
  LocatedProfile located =
      locate_profile(run.name, run.sensor.report.output_mode, settings.option_upper, &trail);
  const std::string& name = run.name.name;

  if (!trail.searched) {
    run.log.ok("profile search: none, the profile is opened from " +
               (run.name.given_directory.empty() ? std::string("the working directory")
                                                 : run.name.given_directory) +
               " (" + (run.sensor.report.output_mode == "EXEXML"
                           ? std::string("the @ selector")
                           : "output mode " + run.sensor.report.output_mode) +
               "); the folder's name is not checked");
  } else if (trail.path_file_found) {
    run.log.ok("profile search: PRTG path file " + std::string(kPrtgPathFile) +
               " gives the base directory " + trail.base_directory +
               (trail.base_directory.size() == 1 ? " (it holds no directory line)" : "") +
               "; the working directory and the default folders are not searched");
  } else {
    run.log.ok("profile search: no PRTG path file " + std::string(kPrtgPathFile) +
               ", so the working directory and the three default folders are searched");
  }

  std::size_t number = 0;
  const std::string* previous = nullptr;
  for (const LocateTrail::Try& attempt : trail.tries) {
    // The path file's way opens the profile it found once more: one place, one line.
    if (previous != nullptr && *previous == attempt.path) continue;
    previous = &attempt.path;
    run.log.ok("profile place " + std::to_string(++number) + ": " +
               place_text(attempt.path, name) + (attempt.found ? ": found" : ": not there"));
  }

  if (trail.path_rule_failed) {
    std::string found_at;
    for (const LocateTrail::Try& attempt : trail.tries) {
      if (attempt.found) found_at = attempt.path;
    }
    fail_path_rule(run, trail, found_at);
  } else if (!located.error.empty()) {
    run.log.fail("profile " + name, "found in none of the places above; the sensor answers \"" +
                                        located.error + "\"",
                 missing_remedy(trail, name));
  } else {
    if (trail.searched) {
      run.log.ok("path rule: " + located.directory + " ends in ExeXml");
    }
    run.sensor.settings.profile_directory = located.directory;
    run.sensor.settings.profile_path = located.path;
  }
  return located;
}

}  // namespace tw::check
