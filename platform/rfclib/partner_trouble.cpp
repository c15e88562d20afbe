#include "partner_trouble.h"

#include <variant>

namespace tw::rfclib {

namespace {

/*
 * The trouble of a fault: the partner's text, or the library's own by code.
 */
Trouble fault_trouble(const wire::Fault& fault, const std::string& what,
                      const std::string& partner) {
  Trouble trouble{.kind = Trouble::Kind::kFault, .text = fault.text, .partner = partner,
                  .code = fault.code, .exception = fault.exception};
  if (trouble.text.empty()) {
    if (fault.code == wire::kCodeException)
      trouble.text = fault.exception.empty()
                         ? "exception raised in " + what
                         : "exception " + fault.exception + " raised in " + what;
    else if (fault.code == wire::kCodeSystemFailure)
      trouble.text = "system exception in " + what;
    else
      trouble.text = what + " failed with return code " + std::to_string(fault.code);
  }
  return trouble;
}

/*
 * The trouble of a refused logon.
 */
Trouble refusal_trouble(const wire::LogonRefused& refusal, const std::string& partner) {
  if (refusal.reason == wire::RefusalReason::kUnknownSystem) {
    Trouble trouble = not_reached(partner, "system unknown to the gateway");
    trouble.kind = Trouble::Kind::kUnknownSystem;
    if (!refusal.text.empty()) trouble.text = refusal.text;
    return trouble;
  }
  return {.kind = Trouble::Kind::kLogonRejected,
          .text = refusal.text.empty() ? kLogonRejected : refusal.text,
          .partner = partner};
}

}  // namespace

Trouble transfer_trouble(const Transfer& transfer, const std::string& what,
                         const std::string& partner) {
  Trouble trouble{.detail = transfer.detail};
  switch (transfer.kind) {
    case Transfer::Kind::kTimedOut:
      trouble.kind = Trouble::Kind::kTimedOut;
      trouble.text = "timeout during " + what;
      break;
    case Transfer::Kind::kMalformed:
      trouble.kind = Trouble::Kind::kMalformed;
      trouble.text = "invalid frame from partner: " + transfer.detail;
      trouble.detail.clear();
      break;
    case Transfer::Kind::kClosed:
    case Transfer::Kind::kOk:
      trouble.kind = Trouble::Kind::kClosed;
      trouble.text = "connection closed by partner";
      break;
  }
  trouble.detail = trouble.detail.empty() ? "partner " + partner
                                          : trouble.detail + ", partner " + partner;
  return trouble;
}

Trouble answer_trouble(const wire::Message& answer, const std::string& what,
                       const std::string& partner) {
  if (const auto* fault = std::get_if<wire::Fault>(&answer))
    return fault_trouble(*fault, what, partner);
  if (const auto* refusal = std::get_if<wire::LogonRefused>(&answer))
    return refusal_trouble(*refusal, partner);
  if (const auto* abort = std::get_if<wire::Abort>(&answer))
    return {.kind = Trouble::Kind::kAbort,
            .text = abort->text.empty() ? "connection aborted by partner" : abort->text,
            .partner = partner};
  return {.kind = Trouble::Kind::kMalformed,
          .text = "invalid frame from partner: unexpected message type " +
                  std::to_string(static_cast<int>(wire::type_of(answer))),
          .detail = "partner " + partner};
}

Trouble not_reached(const std::string& partner, std::string reason) {
  return {.kind = Trouble::Kind::kNotReached,
          .text = "partner '" + partner + "' not reached",
          .detail = std::move(reason)};
}

}  // namespace tw::rfclib
