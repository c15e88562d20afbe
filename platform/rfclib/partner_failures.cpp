#include "partner_failures.h"

namespace tw::rfclib {

Failure failure_of(const char* operation, const Trouble& trouble, RFC_RC refused_rc) {
  Failure failure{.operation = operation,
                  .key = kKeyCommunication,
                  .text = trouble.text,
                  .detail = trouble.detail,
                  .partner = trouble.partner};
  switch (trouble.kind) {
    case Trouble::Kind::kBadAddress:
    case Trouble::Kind::kBadRequest:
      failure.rc = RFC_INVALID_PARAMETER;
      failure.key = kKeyParameter;
      break;
    case Trouble::Kind::kNotReached:
    case Trouble::Kind::kTimedOut:
      break;
    case Trouble::Kind::kUnknownSystem:
      failure.rc = refused_rc;
      break;
    case Trouble::Kind::kLogonRejected:
      failure.rc = refused_rc;
      failure.key = kKeyLogon;
      break;
    case Trouble::Kind::kClosed:
      failure.rc = RFC_SYS_EXCEPTION;
      break;
    case Trouble::Kind::kMalformed:
      failure.key = kKeyProtocol;
      break;
    case Trouble::Kind::kFault:
      failure.rc = static_cast<RFC_RC>(trouble.code);
      failure.key = trouble.code == RFC_EXCEPTION       ? kKeyException
                    : trouble.code == RFC_SYS_EXCEPTION ? kKeySystem
                                                        : kKeyCall;
      break;
    case Trouble::Kind::kAbort:
      failure.key = kKeySystem;
      failure.call_handler = true;
      break;
  }
  return failure;
}

Failure transfer_failure(const char* operation, const Transfer& transfer,
                         const std::string& what, const std::string& partner) {
  return failure_of(operation, transfer_trouble(transfer, what, partner), RFC_FAILURE);
}

}  // namespace tw::rfclib
