// RfcCloseConnection and RfcIsConnectionHandleValid.
#include "error.h"
#include "nw_state.h"
#include "sapnwrfc.h"

/*
 * Closes the connection; RFC_INVALID_HANDLE for one that is unknown or already closed
 * (by the caller or after a failure that ended it).
 */
extern "C" RFC_RC SAP_API RfcCloseConnection(RFC_CONNECTION_HANDLE rfcHandle,
                                             RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return guarded(errorInfo, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    if (find_session(rfcHandle) == nullptr)
      return report(errorInfo, invalid_handle("connection"));
    end_session(rfcHandle);
    return succeed(errorInfo);
  });
}

/*
 * `*isValid` 1 while the library holds the connection open; 0 (and RFC_INVALID_HANDLE)
 * after it was closed, by the caller or after a failure that ended it.
 */
extern "C" RFC_RC SAP_API RfcIsConnectionHandleValid(RFC_CONNECTION_HANDLE rfcHandle,
                                                     int* isValid, RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return guarded(errorInfo, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    const bool valid = find_session(rfcHandle) != nullptr;
    if (isValid != nullptr) *isValid = valid ? 1 : 0;
    return valid ? succeed(errorInfo) : report(errorInfo, invalid_handle("connection"));
  });
}
