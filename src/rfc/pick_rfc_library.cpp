#include "rfc/rfc.h"

namespace tw {

namespace {

/// "Error 1009: RFC library " and the file names `choice` allows.
std::string library_error_head(RfcLibraryChoice choice) {
  std::string head = "Error 1009: RFC library ";
  if (choice != RfcLibraryChoice::netweaver) head += kRfcLibraryFile;
  if (choice == RfcLibraryChoice::either) head += " or ";
  if (choice != RfcLibraryChoice::classic) head += kNwRfcLibraryFile;
  return head;
}

}  // namespace

RfcLibraryPick pick_rfc_library(RfcLibraryChoice choice, const std::string& directory,
                                const std::function<bool(const std::string&)>& present) {
  if (directory.empty()) {
    return {RfcLibraryKind::none,
            library_error_head(choice) + " not loaded: the program's folder is unknown !"};
  }
  const bool classic_allowed = choice != RfcLibraryChoice::netweaver;
  if (classic_allowed && present(directory + std::string(kRfcLibraryFile))) {
    return {RfcLibraryKind::classic, {}};
  }
  if (choice == RfcLibraryChoice::classic ||
      !present(directory + std::string(kNwRfcLibraryFile))) {
    return {RfcLibraryKind::none, library_error_head(choice) + " not found in " + directory + " !"};
  }
  for (const std::string_view companion : kNwRfcCompanions) {
    if (!present(directory + std::string(companion))) {
      return {RfcLibraryKind::none, "Error 1009: RFC library " + std::string(kNwRfcLibraryFile) +
                                        " in " + directory + " lacks its companion " +
                                        std::string(companion) + " !"};
    }
  }
  return {RfcLibraryKind::netweaver, {}};
}

}  // namespace tw
