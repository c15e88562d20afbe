#include "check/check_run.h"
#include "check/library_choice.h"
#include "check/library_header.h"
#include "os/shared_library.h"
#include "rfc/rfc.h"

namespace tw::check {

namespace {

/// What to do when the sensor's loading of a library that is there fails with `error`.
std::string loading_remedy(const std::string& error) {
  if (error.find("lacks the entry point") != std::string::npos) {
    return "use the non-Unicode library of SAP's classic RFC SDK (not the Unicode one, whose "
           "entry points end in U)";
  }
  if (error.find("companion") != std::string::npos) {
    return "place the libraries SAP ships with it beside it";
  }
  return "copy the library anew (the copy may be damaged) together with the libraries it "
         "needs, into the program folder";
}

/// True when the library file `path` is built for the program's own platform and machine;
/// else a failure line that says what it is.
bool check_library_file(CheckRun& run, const std::string& what, const std::string& path) {
  const BinaryKind own = own_binary_kind();
  const BinaryKind kind = binary_kind(file_head(path));
  if (kind.format != own.format) {
    run.log.fail(what, "the file is " + format_text(kind.format) + ", not a " +
                           format_text(own.format) + " library as this platform loads",
                 "use SAP's library for this platform and " + machine_text(own));
    return false;
  }
  if (kind.machine != own.machine) {
    run.log.fail(what, "built for " + machine_text(kind) + ", but the program is " +
                           machine_text(own) + ", and a library of another width cannot be loaded",
                 "use SAP's " + machine_text(own) + " library, or the package of the program "
                 "built for " + machine_text(kind));
    return false;
  }
  run.log.ok(what + ": " + machine_text(kind) + ", like the program");
  return true;
}

/// True when "RFCLIB=CLASSIC" allows the classic library only.
bool settings_allow_classic_only(const RunSettings& settings) {
  return rfc_library_selector(settings.option_upper) == RfcLibraryChoice::classic;
}

}  // namespace

bool logon_checked_at_first_call(const CheckRun& run) { return run.library_kind == "classic"; }

void check_library(CheckRun& run) {
  const RunSettings& settings = run.sensor.settings;
  const LibraryChoice choice = choose_library(settings);
  if (choice.directory.empty()) {
    run.log.fail("program folder", "the platform does not tell it: " + choice.error,
                 "start the program by its full path");
    run.library_problem = "the program folder is unknown";
    return;
  }
  run.log.ok("program folder " + choice.directory);
  if (choice.kind.empty()) {
    run.log.fail("RFC library", "the sensor answers \"" + choice.error + "\"",
                 "place SAP's RFC library for " + machine_text(own_binary_kind()) + " in " +
                     choice.directory + ", beside the sensor: " + choice.file +
                     (choice.file == kRfcLibraryFile && !settings_allow_classic_only(settings)
                          ? " (classic), or " + std::string(kNwRfcLibraryFile) +
                                " (NetWeaver) with its companions"
                          : std::string()));
    run.library_problem = "there is no RFC library";
    return;
  }

  run.library_kind = choice.kind;
  const std::string what = "RFC library " + choice.file + " (" + choice.kind + ")";
  bool usable = check_library_file(run, what, choice.directory + choice.file);
  bool answer_told = false;
  for (const std::string& companion : choice.companions) {
    const std::string path = choice.directory + companion;
    if (!library_file_present(path)) {
      // The sensor names the first companion it misses.
      run.log.fail(what + " companion " + companion,
                   "not in " + choice.directory +
                       (answer_told ? "" : "; the sensor answers \"" + choice.error + "\""),
                   "place " + companion + " of the same SAP release beside " + choice.file);
      answer_told = true;
      usable = false;
    } else if (!check_library_file(run, what + " companion " + companion, path)) {
      usable = false;
    }
  }
  if (!usable) {
    run.log.skip(what + " loading", "the files above do not fit the program");
    run.library_problem = "the RFC library cannot be loaded";
    return;
  }

  std::string error;
  if (!load_chosen_library(settings, error)) {
    run.log.fail(what + " loading", "the sensor answers \"" + error + "\"",
                 loading_remedy(error));
    run.library_problem = "the RFC library cannot be loaded";
    return;
  }
  const std::string version = library_version(choice.directory + choice.file);
  run.log.ok(what + " loaded, its entry points bound; " +
             (version.empty() ? std::string("it has no RfcGetVersion")
                              : "RfcGetVersion gives " + version));
  run.library_usable = true;
}

}  // namespace tw::check
