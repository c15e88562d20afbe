// What RfcCall and RfcReceive refuse before anything goes to the partner, and the exception
// name RfcReceive hands out for a failure.
#pragma once

#include <optional>
#include <string>

#include "report_error.h"
#include "saprfc.h"

namespace tw::rfclib {

/// What the operations know of the connection of a handle.
struct CallerState {
  bool known = false;          ///< the handle names a connection
  bool open = false;           ///< ... that is still open
  bool call_pending = false;   ///< a call was sent and waits for its answer
  std::string partner;         ///< "HOST:PORT" of the gateway
  std::string function;        ///< the function of the call waiting
};

/*
 * Why RfcCall of `function` cannot be sent: an unknown handle (RFC_INVALID_HANDLE, the error
 * handler is called), no function name (RFC_INVALID_PARAMETER), a closed connection
 * (RFC_CLOSED), an earlier call still waiting for its answer (RFC_FAILURE). Nothing when the
 * call may go.
 */
std::optional<Failure> refuse_call(RFC_HANDLE handle, const CallerState& caller,
                                   const char* function);

/*
 * Why RfcReceive cannot wait for an answer: an unknown handle (RFC_INVALID_HANDLE, the error
 * handler is called), no call waiting (RFC_FAILURE, or RFC_CLOSED on a closed connection).
 */
std::optional<Failure> refuse_receive(RFC_HANDLE handle, const CallerState& caller);

/*
 * The exception name RfcReceive hands out for a failure: `raised`, the partner's exception,
 * for RFC_EXCEPTION; "COMMUNICATION_FAILURE" (connection lost) or "SYSTEM_FAILURE" for
 * RFC_SYS_EXCEPTION; none for every other result.
 */
std::optional<std::string> exception_name(const Failure& failure, const std::string& raised);

}  // namespace tw::rfclib
