// Opening a connection, shared by RfcOpen and RfcOpenEx: connect to the gateway, log on,
// hand out a handle.
#pragma once

#include "open_request.h"
#include "report_error.h"
#include "saprfc.h"

namespace tw::rfclib {

/*
 * Connects to the gateway of the request within the connect timeout, sends the logon and
 * waits for its answer within the call timeout. Returns the new handle, or 0 with the
 * failure reported (last error, the trace file, the error handler for an abort) and copied
 * into `failure`. Values are sent exactly as given.
 */
RFC_HANDLE open_connection(const OpenRequest& request, Failure& failure);

}  // namespace tw::rfclib
