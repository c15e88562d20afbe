// The bridge's way into the NetWeaver library, in terms of neither interface: the classic
// side describes what to open and call, the NetWeaver side (the only one that sees
// sapnwrfc.h) does it through the bound entry points and reports what came back.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "wire.h"

namespace tw::nw {

/// The entry points of the NetWeaver library the bridge is bound to (nw_api.h).
struct NwApi;

/// Result codes of the NetWeaver library the bridge tells apart (RFC_RC of sapnwrfc.h).
enum NwCode : int {
  kNwOk = 0,
  kNwCommunicationFailure = 1,
  kNwLogonFailure = 2,
  kNwAbapRuntimeFailure = 3,
  kNwAbapMessage = 4,
  kNwAbapException = 5,
  kNwClosed = 6,
  kNwCanceled = 7,
  kNwTimeout = 8,
  kNwMemoryInsufficient = 9,
  kNwVersionMismatch = 10,
  kNwInvalidProtocol = 11,
  kNwSerializationFailure = 12,
  kNwInvalidHandle = 13,
  kNwExternalFailure = 15,
  kNwInvalidParameter = 20,
  kNwAbapClassException = 27,
  kNwUnknownError = 28,
};

/// Error groups of the NetWeaver library (RFC_ERROR_GROUP of sapnwrfc.h).
enum NwGroup : int {
  kNwGroupApplication = 1,
  kNwGroupRuntime = 2,
  kNwGroupLogon = 3,
  kNwGroupCommunication = 4,
  kNwGroupExternalRuntime = 5,
};

/// What the NetWeaver library said of a failure; texts in Windows-1252.
struct NwError {
  int code = kNwOk;
  int group = 0;
  std::string key;
  std::string message;
};

/// An open NetWeaver connection; NULL for none.
using NwConnection = void*;

/// One field of a record as the classic caller lays it out: characters in Windows-1252,
/// padded with blanks, or an integer of 4 bytes in the host's order.
struct Field {
  std::string name;
  bool integer = false;
  unsigned length = 0;
};

/// A value of a call as the classic caller lays it out: a parameter of one field (named like
/// the parameter), a structure, or the row of a table; fields lie one after the other.
struct Shape {
  std::string name;
  bool structure = false;
  std::vector<Field> fields;
  unsigned length = 0;  ///< bytes of the classic value or row
};

/// A call as RfcCall took it: the function, the exporting values and the tables with their
/// rows (classic bytes), with the shape of each value and of each table's rows.
struct CallPlan {
  wire::Call call;
  std::vector<Shape> exporting;  ///< one per call.parameters
  std::vector<Shape> tables;     ///< one per call.tables
};

/// What RfcReceive asks back: importing values and tables, by name and shape.
struct ReceivePlan {
  std::vector<Shape> importing;
  std::vector<Shape> tables;
};

/*
 * Opens a connection with the logon parameters `parameters` (name and value, Windows-1252).
 * NULL with `error` set when the library refuses.
 */
NwConnection nw_open(const NwApi& api, const std::vector<std::pair<std::string, std::string>>& parameters,
                     NwError& error);

/*
 * Closes a connection the library still holds open.
 */
void nw_close(const NwApi& api, NwConnection connection);

/*
 * Calls the function of `call` with its values and rows, then reads what `receive` asks
 * for into `reply`: each importing value and each table the function has, in the classic
 * layout of its shape (values of one integer field as kInt, everything else as characters).
 * Fields the function has beyond a shape are left out; fields of a shape it lacks stay
 * blank (characters) or 0 (integers). Returns kNwOk, or the failing code with `error` set.
 */
int nw_invoke(const NwApi& api, NwConnection connection, const CallPlan& call,
              const ReceivePlan& receive, wire::Reply& reply, NwError& error);

/*
 * Binds the entry points the bridge needs from a loaded NetWeaver library. NULL, with
 * `missing` naming the first absent one, when it lacks any of them.
 */
const NwApi* bind_library(void* library, std::string& missing);

}  // namespace tw::nw
