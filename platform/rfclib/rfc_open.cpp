// RfcOpen: a connection from an options record; the logon is checked at the first call.
#include "library_state.h"
#include "open_connection.h"
#include "open_request.h"
#include "saprfc.h"

/*
 * Connects and sends the logon with check at the first call; 0 when the options name no
 * system, the service is unknown, the gateway is not reached or does not know the system.
 */
extern "C" RFC_HANDLE SAP_API RfcOpen(RFC_OPTIONS* options) {
  using namespace tw::rfclib;
  return open_from_options(state(), options, open_connection);
}
