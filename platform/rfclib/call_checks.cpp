#include "call_checks.h"

#include <cstring>

#include "call_data.h"

namespace tw::rfclib {

namespace {

/*
 * The failure of an operation given a handle it does not know.
 */
Failure unknown_handle(const char* operation, RFC_HANDLE handle) {
  return {.operation = operation, .rc = RFC_INVALID_HANDLE, .key = kKeyHandle,
          .text = "invalid handle " + std::to_string(handle), .call_handler = true};
}

}  // namespace

std::optional<Failure> refuse_call(RFC_HANDLE handle, const CallerState& caller,
                                   const char* function) {
  if (!caller.known) return unknown_handle("RfcCall", handle);
  const std::string name = function == nullptr ? std::string() : name_of(function, 0);
  if (name.empty())
    return Failure{.operation = "RfcCall", .rc = RFC_INVALID_PARAMETER, .key = kKeyParameter,
                   .text = "no function name given"};
  if (!caller.open)
    return Failure{.operation = "RfcCall", .rc = RFC_CLOSED, .key = kKeyCommunication,
                   .text = "connection to partner '" + caller.partner + "' is closed; call of " +
                           name + " not sent"};
  if (caller.call_pending)
    return Failure{.operation = "RfcCall", .key = kKeyProgram,
                   .text = "call of " + name + " while the call of " + caller.function +
                           " waits for its answer"};
  return std::nullopt;
}

std::optional<Failure> refuse_receive(RFC_HANDLE handle, const CallerState& caller) {
  if (!caller.known) return unknown_handle("RfcReceive", handle);
  if (!caller.call_pending)
    return Failure{.operation = "RfcReceive", .rc = caller.open ? RFC_FAILURE : RFC_CLOSED,
                   .key = kKeyProgram, .text = "no call waits for its answer"};
  return std::nullopt;
}

std::optional<std::string> exception_name(const Failure& failure, const std::string& raised) {
  if (failure.rc == RFC_EXCEPTION) return raised;
  if (failure.rc == RFC_SYS_EXCEPTION)
    return std::strcmp(failure.key, kKeyCommunication) == 0 ? "COMMUNICATION_FAILURE"
                                                            : "SYSTEM_FAILURE";
  return std::nullopt;
}

}  // namespace tw::rfclib
