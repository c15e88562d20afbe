// The library's process-wide state, exactly what the classic API implies: the environment,
// the open connections, the last error, the installed structures and the trace file's
// bookkeeping. The library is not thread-safe, like the API it implements.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "call_checks.h"
#include "installed_structure.h"
#include "report_error.h"
#include "saprfc.h"
#include "saprfc_layout.h"

namespace tw::rfclib {

class Connection;

/// The environment, the last error and the trace file's bookkeeping come from ErrorState.
struct LibraryState : ErrorState {
  std::map<RFC_HANDLE, std::unique_ptr<Connection>> connections;
  RFC_HANDLE next_handle = 1;
  std::vector<InstalledStructure> structures;

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

/*
 * What RfcCall and RfcReceive check of a connection; NULL is an unknown handle.
 */
CallerState caller_of(const Connection* connection);

}  // namespace tw::rfclib
