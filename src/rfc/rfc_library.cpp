// The RFC library, loaded at run time from the program's own folder: the classic library's
// twelve entry points, or the NetWeaver library behind the bridge, are bound once, and the
// classic names the RFC steps call forward to them.
#include <algorithm>
#include <vector>

#include "os/shared_library.h"
#include "rfc/classic_entry_points.h"
#include "rfc/library_entry.h"
#include "rfc/nw/bridge.h"
#include "rfc/rfc.h"
#include "saprfc_layout.h"

namespace tw {

namespace {

ClassicEntryPoints& entry_points() {
  static ClassicEntryPoints bound{};
  return bound;
}

/// The companions of the NetWeaver library in the order they load: each after those it
/// links to. libicudecnumber is loaded when it is there.
#ifndef _WIN32
constexpr std::string_view kNwRfcLoadOrder[] = {"libicudata.so.50", "libicuuc.so.50",
                                                "libicui18n.so.50", "libicudecnumber.so",
                                                "libsapucum.so"};
#endif

/// "Error 1009: RFC library FILE in DIRECTORY " and `rest`.
std::string error_of(std::string_view file, const std::string& directory, const std::string& rest) {
  return "Error 1009: RFC library " + std::string(file) + " in " + directory + " " + rest + " !";
}

/// Binds the classic library's twelve entry points; false with `error` set when one lacks.
bool bind_classic(void* library, const std::string& directory, std::string& error) {
  ClassicEntryPoints bound{};
  const char* missing = nullptr;
  const auto need = [&](auto& slot, const char* name) {
    if (missing == nullptr && !bind_entry(library, slot, name)) missing = name;
  };
  need(bound.environment, "RfcEnvironment");
  need(bound.open, "RfcOpen");
  need(bound.open_ex, "RfcOpenEx");
  need(bound.install_structure, "RfcInstallStructure");
  need(bound.call, "RfcCall");
  need(bound.receive, "RfcReceive");
  need(bound.last_error, "RfcLastError");
  need(bound.close, "RfcClose");
  need(bound.it_create, "ItCreate");
  need(bound.it_fill, "ItFill");
  need(bound.it_get_line, "ItGetLine");
  need(bound.it_delete, "ItDelete");
  if (missing != nullptr) {
    error = error_of(kRfcLibraryFile, directory, std::string("lacks the entry point ") + missing);
    return false;
  }
  entry_points() = bound;
  return true;
}

/// Binds the NetWeaver library behind the bridge; false with `error` set when it lacks an
/// entry point the bridge needs.
bool bind_netweaver(void* library, const std::string& directory, std::string& error) {
  std::string missing;
  const nw::NwApi* api = nw::bind_library(library, missing);
  if (api == nullptr) {
    error = error_of(kNwRfcLibraryFile, directory, "lacks the entry point " + missing);
    return false;
  }
  nw::use_api(api);
  entry_points() = nw::bridge_entry_points();
  return true;
}

}  // namespace

bool load_rfc_library(RfcLibraryChoice choice, std::string& error) {
  if (entry_points().environment != nullptr) return true;
  const std::string directory = program_directory();
  const RfcLibraryPick pick = pick_rfc_library(choice, directory, library_file_present);
  if (pick.kind == RfcLibraryKind::none) {
    error = pick.error;
    return false;
  }
  const bool classic = pick.kind == RfcLibraryKind::classic;
  const std::string_view file = classic ? kRfcLibraryFile : kNwRfcLibraryFile;
  std::vector<std::string> companions;
#ifndef _WIN32
  if (!classic) {
    for (const std::string_view name : kNwRfcLoadOrder) {
      // The picker found those it requires; only the others are looked for.
      const std::string path = directory + std::string(name);
      const bool required = std::find(kNwRfcCompanions.begin(), kNwRfcCompanions.end(), name) !=
                            kNwRfcCompanions.end();
      if (required || library_file_present(path)) companions.push_back(path);
    }
  }
#endif
  std::string reason;
  void* library = load_library_with_companions(directory + std::string(file), companions, reason);
  if (library == nullptr) {
    error = error_of(file, directory, "cannot be loaded (" + reason + ")");
    return false;
  }
  return classic ? bind_classic(library, directory, error)
                 : bind_netweaver(library, directory, error);
}

}  // namespace tw

// The classic names, as the RFC steps call them. Before a library is loaded they answer
// as a library that knows nothing: no connection, no table, failure.
using tw::entry_points;

extern "C" {

void SAP_API RfcEnvironment(RFC_ENV* environment) {
  if (entry_points().environment != nullptr) entry_points().environment(environment);
}

RFC_HANDLE SAP_API RfcOpen(RFC_OPTIONS* options) {
  return entry_points().open != nullptr ? entry_points().open(options) : RFC_HANDLE_NULL;
}

RFC_HANDLE SAP_API RfcOpenEx(char* connect_param, RFC_ERROR_INFO_EX* error_info) {
  return entry_points().open_ex != nullptr ? entry_points().open_ex(connect_param, error_info)
                                           : RFC_HANDLE_NULL;
}

RFC_RC SAP_API RfcInstallStructure(char* name, RFC_TYPE_ELEMENT* elements, unsigned entries,
                                   RFC_TYPEHANDLE* type_handle) {
  return entry_points().install_structure != nullptr
             ? entry_points().install_structure(name, elements, entries, type_handle)
             : RFC_FAILURE;
}

RFC_RC SAP_API RfcCall(RFC_HANDLE handle, char* function, RFC_PARAMETER* exporting,
                       RFC_TABLE* tables) {
  return entry_points().call != nullptr ? entry_points().call(handle, function, exporting, tables)
                                        : RFC_FAILURE;
}

RFC_RC SAP_API RfcReceive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables,
                          char** exception) {
  if (entry_points().receive == nullptr) {
    if (exception != nullptr) *exception = nullptr;
    return RFC_FAILURE;
  }
  return entry_points().receive(handle, importing, tables, exception);
}

int SAP_API RfcLastError(RFC_ERROR_INFO* info) {
  return entry_points().last_error != nullptr ? entry_points().last_error(info) : 1;
}

void SAP_API RfcClose(RFC_HANDLE handle) {
  if (entry_points().close != nullptr) entry_points().close(handle);
}

ITAB_H SAP_API ItCreate(char* name, unsigned line_length, unsigned occurs, unsigned memory) {
  return entry_points().it_create != nullptr
             ? entry_points().it_create(name, line_length, occurs, memory)
             : nullptr;
}

unsigned SAP_API ItFill(ITAB_H table) {
  return entry_points().it_fill != nullptr ? entry_points().it_fill(table) : 0;
}

void* SAP_API ItGetLine(ITAB_H table, unsigned line) {
  return entry_points().it_get_line != nullptr ? entry_points().it_get_line(table, line)
                                               : nullptr;
}

int SAP_API ItDelete(ITAB_H table) {
  return entry_points().it_delete != nullptr ? entry_points().it_delete(table) : 1;
}

}  // extern "C"
