// RfcOpenEx: a connection from a connection text and the parameter file; the logon is
// checked at once.
#include "api_guard.h"
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
  if (error_info != nullptr) {
    error_info->group = static_cast<RFC_ERROR_GROUP>(0);
    error_info->key[0] = '\0';
    error_info->message[0] = '\0';
  }
  const RFC_HANDLE handle = guarded("RfcOpenEx", RFC_HANDLE{0}, [&]() -> RFC_HANDLE {
    OpenRequest request;
    Failure failure;
    if (!request_from_connect_text(connect_param, false, request, failure)) {
      report_error(failure, RFC_HERE);
      fill_error_info(error_info, failure.key, failure.text);
      return 0;
    }
    const RFC_HANDLE handle = open_connection(request, failure);
    if (handle == 0) fill_error_info(error_info, failure.key, failure.text);
    return handle;
  });
  if (handle == 0 && error_info != nullptr && error_info->key[0] == '\0') {
    // Ended by an exception: the guard reported it as the last error.
    const LastError& last = state().last_error;
    fill_error_info(error_info, last.key, last.message);
  }
  return handle;
}
