// What the failures of a connection mean to the caller: return code, key and error text.
#pragma once

#include <string>

#include "connection.h"
#include "report_error.h"
#include "wire.h"

namespace tw::rfclib {

/*
 * A transfer that went wrong during `what` ("call of FUNCTION" or "logon") with the gateway
 * `partner`: a timeout is RFC_FAILURE "timeout during WHAT", a closed connection
 * RFC_SYS_EXCEPTION "connection closed by partner", a malformed frame RFC_FAILURE
 * "invalid frame from partner: REASON".
 */
Failure transfer_failure(const char* operation, const Transfer& transfer,
                         const std::string& what, const std::string& partner);

/*
 * A frame of a type the library does not expect at this point: a protocol error.
 */
Failure unexpected_message(const char* operation, wire::Type type, const std::string& partner);

/*
 * A fault answered to `what`: the fault's code, key by code (1 call failure, 2 exception,
 * 3 system failure), the partner's text or, without one, a text of the library's own.
 */
Failure fault_failure(const char* operation, const wire::Fault& fault, const std::string& what,
                      const std::string& partner);

/*
 * An abort of the partner: RFC_FAILURE, system failure, the error handler is called.
 */
Failure abort_failure(const char* operation, const wire::Abort& abort, const std::string& partner);

/*
 * A refused logon: an unknown system reads "partner 'PARTNER' not reached", rejected
 * credentials the partner's text or kLogonRejected. `rc` is what the operation returns.
 */
Failure refusal_failure(const char* operation, RFC_RC rc, const wire::LogonRefused& refusal,
                        const std::string& partner);

/*
 * "partner 'PARTNER' not reached", with the system's reason as detail.
 */
Failure not_reached(const char* operation, const std::string& partner, std::string reason);

}  // namespace tw::rfclib
