// The library's process-wide state, exactly what the classic API implies: the environment,
// the open connections, the last error, the installed structures and the trace file's
// bookkeeping. The library is not thread-safe, like the API it implements.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "saprfc.h"
#include "saprfc_layout.h"

namespace tw::rfclib {

class Connection;

/// The last error, as RfcLastError hands it out.
struct LastError {
  std::string key, status, message, intstat;
};

/// A structure recorded by RfcInstallStructure.
struct InstalledStructure {
  std::string name;
  struct Element {
    std::string name;
    unsigned type, length, decimals;
  };
  std::vector<Element> elements;
};

/// What the process has written to the trace file so far.
struct TraceState {
  bool header_written = false;
  unsigned counter = 0;  ///< errors written
};

struct LibraryState {
  RFC_ENV environment{nullptr, nullptr};
  std::map<RFC_HANDLE, std::unique_ptr<Connection>> connections;
  RFC_HANDLE next_handle = 1;
  LastError last_error;
  std::vector<InstalledStructure> structures;
  TraceState trace;

  LibraryState();
  ~LibraryState();
};

/*
 * The one state of the process.
 */
LibraryState& state();

/*
 * The open connection of a handle; NULL when the handle is unknown.
 */
Connection* find_connection(RFC_HANDLE handle);

}  // namespace tw::rfclib
