#include "check/library_choice.h"

#include <cstring>

#include "os/shared_library.h"
#include "rfc/rfc.h"

namespace tw::check {

LibraryChoice choose_library(const RunSettings&) {
  LibraryChoice choice;
  choice.directory = program_directory();
  choice.file = kRfcLibraryFile;
  if (!choice.directory.empty() && library_file_present(choice.directory + choice.file)) {
    choice.kind = "classic";
    return choice;
  }
  // The sensor's own loading names what is missing; with no file there it loads nothing.
  load_rfc_library(choice.error);
  return choice;
}

bool load_chosen_library(const RunSettings&, std::string& error) {
  return load_rfc_library(error);
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
