#include "check/library_choice.h"

#include <algorithm>
#include <cstring>

#include "os/shared_library.h"
#include "rfc/rfc.h"

namespace tw::check {

namespace {

/// The library choice of the selectors, as the sensor takes it.
RfcLibraryChoice choice_of(const RunSettings& settings) {
  return rfc_library_selector(settings.option_upper);
}

}  // namespace

LibraryChoice choose_library(const RunSettings& settings) {
  LibraryChoice choice;
  choice.directory = program_directory();
  const RfcLibraryChoice allowed = choice_of(settings);
  const auto present = [](const std::string& path) { return library_file_present(path); };
  const RfcLibraryPick pick = pick_rfc_library(allowed, choice.directory, present);
  choice.error = pick.error;
  const bool netweaver_there =
      !choice.directory.empty() && allowed != RfcLibraryChoice::classic &&
      library_file_present(choice.directory + std::string(kNwRfcLibraryFile));
  if (pick.kind == RfcLibraryKind::classic) {
    choice.kind = "classic";
    choice.file = kRfcLibraryFile;
  } else if (pick.kind == RfcLibraryKind::netweaver || netweaver_there) {
    // Also when a companion is missing: the check names each one.
    choice.kind = "NetWeaver";
    choice.file = kNwRfcLibraryFile;
    for (const std::string_view companion : kNwRfcCompanions) {
      choice.companions.emplace_back(companion);
    }
    // In the order of their names, the same on every platform.
    std::sort(choice.companions.begin(), choice.companions.end());
  } else {
    choice.file = allowed == RfcLibraryChoice::netweaver ? kNwRfcLibraryFile : kRfcLibraryFile;
  }
  return choice;
}

bool load_chosen_library(const RunSettings& settings, std::string& error) {
  return load_rfc_library(choice_of(settings), error);
}

std::string library_version(const std::string& path) {
  std::string reason;
  void* library = load_library(path, reason);  // loaded already: the same library
  if (library == nullptr) return {};
  void* entry = library_entry(library, "RfcGetVersion");
#if defined(_WIN32) && !defined(_WIN64)
  if (entry == nullptr) entry = library_entry(library, "_RfcGetVersion@12");
#endif
  if (entry == nullptr) return {};
  using GetVersion = const void*(SAP_API*)(unsigned*, unsigned*, unsigned*);
  GetVersion get_version = nullptr;
  static_assert(sizeof get_version == sizeof entry);
  std::memcpy(&get_version, &entry, sizeof entry);
  unsigned major = 0, minor = 0, patch = 0;
  get_version(&major, &minor, &patch);
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
}

}  // namespace tw::check
