#include "partner_failures.h"

namespace tw::rfclib {

Failure transfer_failure(const char* operation, const Transfer& transfer,
                         const std::string& what, const std::string& partner) {
  Failure failure{.operation = operation, .key = kKeyCommunication, .detail = transfer.detail};
  switch (transfer.kind) {
    case Transfer::Kind::kTimedOut:
      failure.text = "timeout during " + what;
      break;
    case Transfer::Kind::kMalformed:
      failure.key = kKeyProtocol;
      failure.text = "invalid frame from partner: " + transfer.detail;
      failure.detail.clear();
      break;
    case Transfer::Kind::kClosed:
    case Transfer::Kind::kOk:
      failure.rc = RFC_SYS_EXCEPTION;
      failure.text = "connection closed by partner";
      break;
  }
  failure.detail = failure.detail.empty() ? "partner " + partner
                                          : failure.detail + ", partner " + partner;
  return failure;
}

Failure unexpected_message(const char* operation, wire::Type type, const std::string& partner) {
  return {.operation = operation,
          .key = kKeyProtocol,
          .text = "invalid frame from partner: unexpected message type " +
                  std::to_string(static_cast<int>(type)),
          .detail = "partner " + partner};
}

Failure fault_failure(const char* operation, const wire::Fault& fault, const std::string& what,
                      const std::string& partner) {
  Failure failure{.operation = operation,
                  .rc = static_cast<RFC_RC>(fault.code),
                  .key = kKeyCall,
                  .text = fault.text,
                  .partner = partner};
  if (fault.code == RFC_EXCEPTION) failure.key = kKeyException;
  if (fault.code == RFC_SYS_EXCEPTION) failure.key = kKeySystem;
  if (failure.text.empty()) {
    if (fault.code == RFC_EXCEPTION)
      failure.text = fault.exception.empty() ? "exception raised in " + what
                                             : "exception " + fault.exception + " raised in " + what;
    else if (fault.code == RFC_SYS_EXCEPTION)
      failure.text = "system exception in " + what;
    else
      failure.text = what + " failed with return code " + std::to_string(fault.code);
  }
  return failure;
}

Failure abort_failure(const char* operation, const wire::Abort& abort, const std::string& partner) {
  return {.operation = operation,
          .key = kKeySystem,
          .text = abort.text.empty() ? "connection aborted by partner" : abort.text,
          .partner = partner,
          .call_handler = true};
}

Failure refusal_failure(const char* operation, RFC_RC rc, const wire::LogonRefused& refusal,
                        const std::string& partner) {
  if (refusal.reason == wire::RefusalReason::kUnknownSystem) {
    Failure failure = not_reached(operation, partner, "system unknown to the gateway");
    failure.rc = rc;
    if (!refusal.text.empty()) failure.text = refusal.text;
    return failure;
  }
  return {.operation = operation,
          .rc = rc,
          .key = kKeyLogon,
          .text = refusal.text.empty() ? kLogonRejected : refusal.text,
          .partner = partner};
}

Failure not_reached(const char* operation, const std::string& partner, std::string reason) {
  return {.operation = operation,
          .key = kKeyCommunication,
          .text = "partner '" + partner + "' not reached",
          .detail = std::move(reason)};
}

}  // namespace tw::rfclib
