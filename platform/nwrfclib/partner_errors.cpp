#include "partner_errors.h"

#include <ctime>

#include "nw_state.h"
#include "text.h"

namespace tw::nwrfclib {

namespace {

using Kind = rfclib::Trouble::Kind;

/*
 * Appends a line of a network block: the key padded to 12 characters, the value.
 */
void add_line(std::string& block, const char* key, const std::string& value) {
  std::string padded(key);
  padded.resize(12, ' ');
  block += padded + value + "\n";
}

/*
 * The current time as the blocks give it, e.g. "Thu Mar 14 10:00:00 2024".
 */
std::string now_text() {
  const std::time_t seconds = std::time(nullptr);
  const std::tm* local = std::localtime(&seconds);
  char buffer[64];
  const std::size_t size =
      local != nullptr ? std::strftime(buffer, sizeof buffer, "%a %b %d %H:%M:%S %Y", local) : 0;
  return std::string(buffer, size);
}

/*
 * An error with a message in the library's own words and a key of its own, or (empty) the
 * code's name.
 */
Error keyed(RFC_RC code, RFC_ERROR_GROUP group, const std::string& message,
            std::u16string key = {}) {
  Error error = make_error(code, group, message);
  error.key = std::move(key);
  return error;
}

/*
 * The key of a partner's fault or abort: the exception's name, "SYSTEM_FAILURE" for a
 * system failure, else the code's name (empty).
 */
std::u16string failure_key(const rfclib::Trouble& trouble) {
  if (trouble.kind == Kind::kFault && trouble.code == wire::kCodeSystemFailure)
    return u"SYSTEM_FAILURE";
  if (trouble.kind == Kind::kFault && !trouble.exception.empty())
    return from_bytes(trouble.exception);
  return {};
}

}  // namespace

std::string network_block(const std::string& text, const std::string& detail) {
  std::string block = "\n";
  add_line(block, "LOCATION", "CPIC (TCP/IP) on local host with Unicode");
  add_line(block, "ERROR", text);
  add_line(block, "TIME", now_text());
  add_line(block, "RELEASE", "750");
  add_line(block, "COMPONENT", "NI (network interface)");
  add_line(block, "VERSION", "40");
  add_line(block, "RC", "-10");
  if (!detail.empty()) add_line(block, "DETAIL", detail);
  add_line(block, "COUNTER", std::to_string(++state().network_errors));
  return block;
}

Error open_error(const rfclib::Trouble& trouble) {
  switch (trouble.kind) {
    case Kind::kBadRequest:
      return keyed(RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE, trouble.text);
    case Kind::kLogonRejected:
      return keyed(RFC_LOGON_FAILURE, LOGON_FAILURE, trouble.text);
    case Kind::kFault:
    case Kind::kAbort:
      return keyed(RFC_ABAP_RUNTIME_FAILURE, ABAP_RUNTIME_FAILURE, trouble.text,
                   failure_key(trouble));
    case Kind::kBadAddress:
    case Kind::kNotReached:
    case Kind::kUnknownSystem:
    case Kind::kTimedOut:
    case Kind::kClosed:
    case Kind::kMalformed:
      break;
  }
  return keyed(RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE,
               network_block(trouble.text, trouble.detail));
}

Error call_error(const rfclib::Trouble& trouble, bool& closes) {
  closes = true;
  switch (trouble.kind) {
    case Kind::kFault:
      if (trouble.code == wire::kCodeSystemFailure) break;
      closes = false;
      if (trouble.code == wire::kCodeException)
        return keyed(RFC_ABAP_EXCEPTION, ABAP_APPLICATION_FAILURE, trouble.text,
                     failure_key(trouble));
      return keyed(RFC_UNKNOWN_ERROR, EXTERNAL_RUNTIME_FAILURE, trouble.text);
    case Kind::kAbort:
      break;
    case Kind::kClosed:
    case Kind::kNotReached:
    case Kind::kUnknownSystem:
      return keyed(RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE, trouble.text);
    case Kind::kTimedOut:
      return keyed(RFC_TIMEOUT, COMMUNICATION_FAILURE, trouble.text);
    case Kind::kLogonRejected:
      return keyed(RFC_LOGON_FAILURE, LOGON_FAILURE, trouble.text);
    case Kind::kMalformed:
      return keyed(RFC_INVALID_PROTOCOL, COMMUNICATION_FAILURE, trouble.text);
    case Kind::kBadAddress:
    case Kind::kBadRequest:
      closes = false;
      return keyed(RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE, trouble.text);
  }
  return keyed(RFC_ABAP_RUNTIME_FAILURE, ABAP_RUNTIME_FAILURE, trouble.text,
               failure_key(trouble));
}

}  // namespace tw::nwrfclib
