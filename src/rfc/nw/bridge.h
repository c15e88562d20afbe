// The bridge: the twelve classic operations carried out on the NetWeaver library, in the
// sensor's process, so that the RFC steps run unchanged and answer as with the classic
// library. The classic side of the bridge (this header) never sees sapnwrfc.h; it reaches
// the library through nw_session.h.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "call_checks.h"
#include "installed_structure.h"
#include "open_request.h"
#include "report_error.h"
#include "rfc/classic_entry_points.h"
#include "rfc/nw/nw_session.h"
#include "saprfc.h"

namespace tw::nw {

/// One connection of a classic handle.
struct BridgeConnection {
  NwConnection connection = nullptr;  ///< NULL once closed
  std::string partner{};              ///< where it leads, for the trace file
  bool call_pending = false;          ///< RfcCall took a call that RfcReceive has not made
  CallPlan call{};                    ///< ... that call
  std::string exception_text{};       ///< what `*exception` of RfcReceive points to
};

/// The bridge's process-wide state, as the classic library keeps it: the environment, the
/// last error and the trace file's bookkeeping, the connections by their small handles, the
/// installed structures. Like the classic interface it is not thread-safe.
struct BridgeState : rfclib::ErrorState {
  const NwApi* api = nullptr;
  std::map<RFC_HANDLE, BridgeConnection> connections;
  RFC_HANDLE next_handle = 1;
  std::vector<rfclib::InstalledStructure> structures;
};

/// The one state of the process.
BridgeState& bridge();

/// Makes the bridge carry out its operations on `api`.
void use_api(const NwApi* api);

/// The connection of a handle; NULL when the handle is unknown.
BridgeConnection* find_connection(RFC_HANDLE handle);

/// What the classic checks of RfcCall and RfcReceive see of a connection; NULL is an
/// unknown handle.
rfclib::CallerState caller_of(const BridgeConnection* connection);

/// The bridge's operations as the classic entry points.
ClassicEntryPoints bridge_entry_points();

/*
 * The twelve operations, with the classic library's arguments, results and failures.
 */
void SAP_API bridge_environment(RFC_ENV* environment);
RFC_HANDLE SAP_API bridge_open(RFC_OPTIONS* options);
RFC_HANDLE SAP_API bridge_open_ex(char* connect_param, RFC_ERROR_INFO_EX* error_info);
RFC_RC SAP_API bridge_install_structure(char* name, RFC_TYPE_ELEMENT* elements,
                                        unsigned entries, RFC_TYPEHANDLE* type_handle);
RFC_RC SAP_API bridge_call(RFC_HANDLE handle, char* function, RFC_PARAMETER* exporting,
                           RFC_TABLE* tables);
RFC_RC SAP_API bridge_receive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables,
                              char** exception);
int SAP_API bridge_last_error(RFC_ERROR_INFO* info);
void SAP_API bridge_close(RFC_HANDLE handle);
ITAB_H SAP_API bridge_it_create(char* name, unsigned line_length, unsigned occurs,
                                unsigned memory);
unsigned SAP_API bridge_it_fill(ITAB_H table);
void* SAP_API bridge_it_get_line(ITAB_H table, unsigned line);
int SAP_API bridge_it_delete(ITAB_H table);

/*
 * Opens a connection for `request` on the NetWeaver library: the logon parameters of the
 * request, user and password without the blanks that pad them. Returns the new handle, or
 * 0 with the failure reported (last error, Dev_Rfc.Trc) and copied into `failure`.
 */
RFC_HANDLE open_on_library(const rfclib::OpenRequest& request, rfclib::Failure& failure);

/*
 * The logon parameters of `request` for RfcOpenConnection, each with a value.
 */
std::vector<std::pair<std::string, std::string>> logon_parameters(
    const rfclib::OpenRequest& request);

/*
 * The shape of a classic value named `name` of type `type` and `length` bytes: the
 * elements of the installed structure the type stands for, or one field.
 */
Shape shape_of(const std::vector<rfclib::InstalledStructure>& structures, const std::string& name,
               RFC_TYPEHANDLE type, unsigned length);

}  // namespace tw::nw
