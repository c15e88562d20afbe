// RfcOpen: a connection from an options record; the logon is checked at the first call.
#include "api_guard.h"
#include "open_connection.h"
#include "open_request.h"
#include "saprfc.h"

/*
 * Connects and sends the logon with check at the first call; 0 when the options name no
 * system, the service is unknown, the gateway is not reached or does not know the system.
 */
extern "C" RFC_HANDLE SAP_API RfcOpen(RFC_OPTIONS* options) {
  using namespace tw::rfclib;
  return guarded("RfcOpen", RFC_HANDLE{0}, [&]() -> RFC_HANDLE {
    OpenRequest request;
    Failure failure;
    if (!request_from_options(options, request, failure)) {
      report_error(failure, RFC_HERE);
      return 0;
    }
    return open_connection(request, failure);
  });
}
