// Opening a connection, shared by RfcOpen and RfcOpenEx: connect to the gateway, log on,
// hand out a handle.
#pragma once

#include <string>

#include "report_error.h"
#include "saprfc.h"

namespace tw::rfclib {

/// Everything needed to open a connection.
struct OpenRequest {
  const char* operation = "RfcOpen";
  std::string ashost;
  int sysnr = 0;  ///< 0 to 99
  std::string gwhost, gwservice;
  std::string client, user, password, language;
  bool check_now = false;  ///< check the credentials at open, not at the first call
};

/*
 * Connects to the gateway of the request within the connect timeout, sends the logon and
 * waits for its answer within the call timeout. Returns the new handle, or 0 with the
 * failure reported (last error, the trace file, the error handler for an abort) and copied
 * into `failure`. Values are sent exactly as given.
 */
RFC_HANDLE open_connection(const OpenRequest& request, Failure& failure);

}  // namespace tw::rfclib
