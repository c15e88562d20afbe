// RfcOpenEx: a connection from a connection text and the parameter file; the logon is
// checked at once.
#include "library_state.h"
#include "open_connection.h"
#include "open_request.h"
#include "saprfc.h"

/*
 * Reads the connection text and the destination (TYPE=A only) from the parameter file,
 * connects and logs on with the credentials checked at once. 0 on any failure, with
 * `error_info` (when given) filled; an empty key there means no failure.
 */
extern "C" RFC_HANDLE SAP_API RfcOpenEx(char* connect_param, RFC_ERROR_INFO_EX* error_info) {
  using namespace tw::rfclib;
  return open_from_connect_text(state(), connect_param, error_info, false, open_connection);
}
