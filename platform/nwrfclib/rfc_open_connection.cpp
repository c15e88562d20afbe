// RfcOpenConnection: a client connection from logon parameters, the logon checked at once.
#include <optional>

#include "error.h"
#include "gateway_logon.h"
#include "nw_state.h"
#include "partner_errors.h"
#include "sapnwrfc.h"
#include "text.h"

namespace tw::nwrfclib {

namespace {

/// What RfcOpenConnection says of a missing server.
constexpr const char* kNoServer = "Parameter ASHOST, GWHOST, MSHOST or PORT is missing.";

/*
 * An error of the parameters.
 */
Error parameter_error(const std::string& message) {
  return make_error(RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE, message);
}

/*
 * The logon request of the parameters, or an error. Names are read without regard to the
 * letter case of a to z; a name given twice counts with its last value; names the library
 * does not know are passed over. Load balancing (MSHOST and its company) is refused: the
 * simulated gateway serves application servers only.
 */
std::optional<rfclib::LogonRequest> request_of(const RFC_CONNECTION_PARAMETER* parameters,
                                               unsigned count, Error& error) {
  if (parameters == nullptr || count == 0) {
    error = parameter_error("Invalid parameter 'unsigned paramCount' was passed to the API call");
    return std::nullopt;
  }
  rfclib::LogonRequest request;
  request.check_now = true;
  std::optional<std::u16string> sysnr;
  bool server = false;
  for (unsigned i = 0; i < count; ++i) {
    const std::u16string_view name = text_of(parameters[i].name);
    const std::string value = to_utf8(text_of(parameters[i].value));
    if (same_name(name, u"ASHOST")) {
      request.ashost = value;
      server = true;
    } else if (same_name(name, u"GWHOST")) {
      request.gwhost = value;
      server = true;
    } else if (same_name(name, u"SYSNR")) {
      sysnr = text_of(parameters[i].value);
    } else if (same_name(name, u"GWSERV")) {
      request.gwservice = value;
    } else if (same_name(name, u"CLIENT")) {
      request.client = value;
    } else if (same_name(name, u"USER")) {
      request.user = value;
    } else if (same_name(name, u"PASSWD")) {
      request.password = value;
    } else if (same_name(name, u"LANG")) {
      request.language = value;
    } else if (same_name(name, u"MSHOST") || same_name(name, u"MSSERV") ||
               same_name(name, u"R3NAME") || same_name(name, u"GROUP") ||
               same_name(name, u"DEST")) {
      error = parameter_error("Parameter " + to_utf8(name) +
                              " is not supported by this library: only ASHOST and SYSNR name "
                              "a system");
      return std::nullopt;
    }
  }
  if (!server) {
    error = parameter_error(kNoServer);
    return std::nullopt;
  }
  const std::u16string_view digits = sysnr.value_or(u"");
  int number = -1;
  if (digits.size() >= 1 && digits.size() <= 2 && digits.find_first_not_of(u"0123456789") ==
                                                       std::u16string_view::npos)
    parse_decimal(digits, number);
  if (number < 0) {
    error = parameter_error(sysnr ? "Invalid value '" + to_utf8(digits) +
                                        "' of parameter SYSNR: two digits expected"
                                  : std::string("Parameter SYSNR is missing."));
    return std::nullopt;
  }
  request.sysnr = number;
  return request;
}

}  // namespace

}  // namespace tw::nwrfclib

/*
 * Connects to the gateway (GWHOST, else ASHOST; GWSERV, else sapgwNN) within the connect
 * timeout and logs on to the system ASHOST/SYSNR with CLIENT, USER, PASSWD and LANG, each
 * value exactly as given. NULL on failure, with the error of open_error (partner_errors.h),
 * or RFC_INVALID_PARAMETER for parameters that name no system.
 */
extern "C" RFC_CONNECTION_HANDLE SAP_API RfcOpenConnection(
    RFC_CONNECTION_PARAMETER const* connectionParams, unsigned paramCount,
    RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return guarded(errorInfo, RFC_CONNECTION_HANDLE{nullptr}, [&]() -> RFC_CONNECTION_HANDLE {
    Error error;
    const std::optional<tw::rfclib::LogonRequest> request =
        request_of(connectionParams, paramCount, error);
    if (!request) {
      report(errorInfo, error);
      return nullptr;
    }
    auto session = std::make_unique<Session>();
    tw::rfclib::Trouble trouble;
    session->link = tw::rfclib::log_on(*request, session->system, trouble);
    if (session->link == nullptr) {
      report(errorInfo, open_error(trouble));
      return nullptr;
    }
    const std::uintptr_t id = new_id();
    state().sessions.emplace(id, std::move(session));
    succeed(errorInfo);
    return handle_from_id<RFC_CONNECTION_HANDLE>(id);
  });
}
