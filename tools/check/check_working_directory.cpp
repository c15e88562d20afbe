#include "check/check_run.h"
#include "check/rfc_files.h"
#include "os/working_directory.h"

namespace tw::check {

namespace {

/// A name for the probe file that nothing in the working directory bears yet.
std::string free_probe_name() {
  std::string name = "tarnwheel-check.probe";
  for (int n = 1; n < 100 && entry_kind(name) != EntryKind::none; ++n) {
    name = "tarnwheel-check-" + std::to_string(n) + ".probe";
  }
  return name;
}

/// A failure line for the library's file `name` when something that cannot be written
/// stands there already; nothing when all is well.
void check_existing(CheckRun& run, const std::string& directory, std::string_view name) {
  const std::string file(name);
  switch (entry_kind(file)) {
    case EntryKind::none: return;
    case EntryKind::other:
      run.log.fail("working directory " + directory + file,
                   "no file but a folder, a pipe or a device, which the RFC library cannot "
                   "write",
                   "remove it");
      return;
    case EntryKind::regular_file:
      if (!file_writable(file)) {
        run.log.fail("working directory " + directory + file, "there, but it cannot be written",
                     "allow the account that runs the sensor to write it, or delete it");
      }
      return;
  }
}

}  // namespace

void check_working_directory(CheckRun& run) {
  const std::string directory = working_directory();
  if (directory.empty()) {
    run.log.fail("working directory", "the platform does not tell it",
                 "start the sensor in a folder the account can reach");
    return;
  }
  check_existing(run, directory, kParameterFile);
  check_existing(run, directory, kTraceFile);
  std::string reason;
  if (!probe_new_file(free_probe_name(), reason)) {
    run.log.fail("working directory " + directory,
                 "no file can be created there (" + reason + "), so neither " +
                     std::string(kParameterFile) + " nor the trace " + std::string(kTraceFile),
                 "let the account that runs the sensor write there, or start the sensor in "
                 "another folder");
    return;
  }
  run.log.ok("working directory " + directory + ": files can be created there (" +
             std::string(kParameterFile) + ", " + std::string(kTraceFile) + ")");
}

}  // namespace tw::check
