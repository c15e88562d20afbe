// The RFC library, loaded at run time from the program's own folder: its twelve entry
// points are bound once, and the classic names the RFC steps call forward to them.
#include <cstring>

#include "os/regular_file.h"
#include "os/shared_library.h"
#include "rfc/rfc.h"
#include "saprfc_layout.h"

namespace tw {

namespace {

/// The bound entry points; all NULL until a library was loaded whole.
struct EntryPoints {
  void(SAP_API* environment)(RFC_ENV*);
  RFC_HANDLE(SAP_API* open)(RFC_OPTIONS*);
  RFC_HANDLE(SAP_API* open_ex)(char*, RFC_ERROR_INFO_EX*);
  RFC_RC(SAP_API* install_structure)(char*, RFC_TYPE_ELEMENT*, unsigned, RFC_TYPEHANDLE*);
  RFC_RC(SAP_API* call)(RFC_HANDLE, char*, RFC_PARAMETER*, RFC_TABLE*);
  RFC_RC(SAP_API* receive)(RFC_HANDLE, RFC_PARAMETER*, RFC_TABLE*, char**);
  int(SAP_API* last_error)(RFC_ERROR_INFO*);
  void(SAP_API* close)(RFC_HANDLE);
  ITAB_H(SAP_API* it_create)(char*, unsigned, unsigned, unsigned);
  unsigned(SAP_API* it_fill)(ITAB_H);
  void*(SAP_API* it_get_line)(ITAB_H, unsigned);
  int(SAP_API* it_delete)(ITAB_H);
};

EntryPoints& entry_points() {
  static EntryPoints bound{};
  return bound;
}

/// Looks up `name`; on 32-bit Windows also as "_name@N" and "name@N", the spellings of a
/// library that exports its stdcall functions decorated. NULL when none is there.
void* find_entry(void* library, const char* name, int argument_bytes) {
  void* address = library_entry(library, name);
#if defined(_WIN32) && !defined(_WIN64)
  const std::string decorated = std::string(name) + "@" + std::to_string(argument_bytes);
  if (address == nullptr) address = library_entry(library, ("_" + decorated).c_str());
  if (address == nullptr) address = library_entry(library, decorated.c_str());
#else
  (void)argument_bytes;
#endif
  return address;
}

/// Binds one entry point; false when the library lacks it.
template <typename Function>
bool bind(void* library, Function& slot, const char* name, int argument_bytes) {
  void* address = find_entry(library, name, argument_bytes);
  if (address == nullptr) return false;
  static_assert(sizeof slot == sizeof address);
  std::memcpy(&slot, &address, sizeof slot);
  return true;
}

}  // namespace

bool load_rfc_library(std::string& error) {
  if (entry_points().environment != nullptr) return true;
  const std::string directory = program_directory();
  const std::string file(kRfcLibraryFile);
  if (directory.empty()) {
    error = "Error 1009: RFC library " + file + " not loaded: the program's folder is unknown !";
    return false;
  }
  const std::string path = directory + file;
  if (std::FILE* probe = open_regular_file(path, "rb")) {
    std::fclose(probe);
  } else {
    error = "Error 1009: RFC library " + file + " not found in " + directory + " !";
    return false;
  }
  std::string reason;
  void* library = load_library(path, reason);
  if (library == nullptr) {
    error = "Error 1009: RFC library " + file + " in " + directory + " cannot be loaded (" +
            reason + ") !";
    return false;
  }
  EntryPoints bound{};
  const char* missing = nullptr;
  const auto need = [&](auto& slot, const char* name, int argument_bytes) {
    if (missing == nullptr && !bind(library, slot, name, argument_bytes)) missing = name;
  };
  need(bound.environment, "RfcEnvironment", 4);
  need(bound.open, "RfcOpen", 4);
  need(bound.open_ex, "RfcOpenEx", 8);
  need(bound.install_structure, "RfcInstallStructure", 16);
  need(bound.call, "RfcCall", 16);
  need(bound.receive, "RfcReceive", 16);
  need(bound.last_error, "RfcLastError", 4);
  need(bound.close, "RfcClose", 4);
  need(bound.it_create, "ItCreate", 16);
  need(bound.it_fill, "ItFill", 4);
  need(bound.it_get_line, "ItGetLine", 8);
  need(bound.it_delete, "ItDelete", 4);
  if (missing != nullptr) {
    error = "Error 1009: RFC library " + file + " in " + directory +
            " lacks the entry point " + missing + " !";
    return false;
  }
  entry_points() = bound;
  return true;
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
