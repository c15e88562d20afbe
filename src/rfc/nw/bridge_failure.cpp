#include "rfc/nw/bridge_failure.h"

#include "partner_trouble.h"
#include "text_util.h"

namespace tw::nw {

namespace {

using rfclib::Failure;

/// The text after `key` when `line` (blanks before it aside) begins with that word.
bool keyed_line(std::string_view line, std::string_view key, std::string& text) {
  line = rfclib::trim(line);
  if (line.substr(0, key.size()) != key) return false;
  const std::string_view rest = line.substr(key.size());
  if (!rest.empty() && rest.front() != ' ' && rest.front() != '\t') return false;
  text = std::string(rfclib::trim(rest));
  return true;
}

/// The classic key of a failure the library put into `group`.
const char* key_of_group(int group) {
  switch (group) {
    case kNwGroupApplication: return rfclib::kKeyException;
    case kNwGroupRuntime: return rfclib::kKeySystem;
    case kNwGroupLogon: return rfclib::kKeyLogon;
    case kNwGroupCommunication: return rfclib::kKeyCommunication;
    default: return rfclib::kKeyProgram;
  }
}

}  // namespace

std::string classic_text(const std::string& message, std::string& detail) {
  detail.clear();
  std::string text, found;
  bool keyed = false;
  for (const std::string_view line : rfclib::split_lines(message)) {
    if (keyed_line(line, "DETAIL", found) && detail.empty()) detail = found;
    if (!keyed && keyed_line(line, "ERROR", found)) {
      text = found;
      keyed = true;
    }
  }
  if (keyed) return text;
  for (const std::string_view line : rfclib::split_lines(message)) {
    const std::string_view part = rfclib::trim(line);
    if (part.empty()) continue;
    if (!text.empty()) text += ' ';
    text += part;
  }
  return text;
}

Failure open_failure(const NwError& error, const char* operation, const std::string& partner) {
  Failure failure{.operation = operation, .key = key_of_group(error.group)};
  failure.text = classic_text(error.message, failure.detail);
  switch (error.code) {
    case kNwLogonFailure:
      failure.key = rfclib::kKeyLogon;
      failure.partner = partner;
      if (failure.text.empty()) failure.text = rfclib::kLogonRejected;
      break;
    case kNwCommunicationFailure:
      failure.key = rfclib::kKeyCommunication;
      if (failure.text.empty()) failure.text = "partner '" + partner + "' not reached";
      break;
    case kNwInvalidParameter:
      failure.rc = RFC_INVALID_PARAMETER;
      failure.key = rfclib::kKeyParameter;
      break;
    case kNwMemoryInsufficient:
      failure.rc = RFC_MEMORY_INSUFFICIENT;
      failure.key = rfclib::kKeyResource;
      break;
    default:
      break;
  }
  if (failure.text.empty()) {
    failure.text = "open failed with return code " + std::to_string(error.code) +
                   " of the NetWeaver RFC library";
  }
  return failure;
}

CallFailure call_failure(const NwError& error, const std::string& function,
                         const std::string& partner) {
  const std::string what = "call of " + function;
  CallFailure result{.failure = {.operation = "RfcReceive", .key = key_of_group(error.group),
                                 .partner = partner}};
  Failure& failure = result.failure;
  failure.text = classic_text(error.message, failure.detail);
  std::string fallback;
  switch (error.code) {
    case kNwAbapException:
      failure.rc = RFC_EXCEPTION;
      failure.key = rfclib::kKeyException;
      result.raised = error.key;
      fallback = error.key.empty() ? "exception raised in " + what
                                   : "exception " + error.key + " raised in " + what;
      break;
    case kNwAbapRuntimeFailure:
    case kNwAbapMessage:
    case kNwAbapClassException:
    case kNwExternalFailure:
      failure.rc = RFC_SYS_EXCEPTION;
      failure.key = rfclib::kKeySystem;
      result.connection_gone = true;
      fallback = "system exception in " + what;
      break;
    case kNwCommunicationFailure:
    case kNwClosed:
    case kNwCanceled:
      failure.rc = RFC_SYS_EXCEPTION;
      failure.key = rfclib::kKeyCommunication;
      result.connection_gone = true;
      fallback = "connection closed by partner";
      break;
    case kNwLogonFailure:
      failure.rc = RFC_SYS_EXCEPTION;
      failure.key = rfclib::kKeyLogon;
      result.connection_gone = true;
      fallback = rfclib::kLogonRejected;
      break;
    case kNwTimeout:
      // The classic library answers a call that timed out with RFC_FAILURE.
      failure.key = rfclib::kKeyCommunication;
      result.close = true;
      fallback = "timeout during " + what;
      break;
    case kNwInvalidHandle:
      failure.key = rfclib::kKeyCommunication;
      result.connection_gone = true;
      fallback = "connection to partner '" + partner + "' is closed";
      break;
    case kNwInvalidProtocol:
    case kNwSerializationFailure:
    case kNwVersionMismatch:
      failure.key = rfclib::kKeyProtocol;
      result.close = true;
      fallback = "invalid answer from partner to the " + what;
      break;
    case kNwMemoryInsufficient:
      failure.rc = RFC_MEMORY_INSUFFICIENT;
      failure.key = rfclib::kKeyResource;
      fallback = "memory insufficient for the " + what;
      break;
    default:
      failure.key = rfclib::kKeyCall;
      fallback = what + " failed with return code " + std::to_string(failure.rc);
      break;
  }
  if (failure.text.empty()) failure.text = fallback;
  return result;
}

}  // namespace tw::nw
