#include "gateway_address.h"
#include "rfc/nw/bridge.h"
#include "rfc/nw/bridge_failure.h"

namespace tw::nw {

namespace {

/// A number from 0 to 99 as two digits.
std::string two_digits(int number) {
  return std::string{static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

/// "HOST:PORT" of the gateway or message server a request leads to, for the trace file; a
/// service name other than "sapgwNN" stays a name (the library resolves it).
std::string partner_of(const rfclib::OpenRequest& request) {
  if (request.load_balancing) {
    return request.msserv.empty() ? request.mshost : request.mshost + ":" + request.msserv;
  }
  rfclib::GatewayAddress gateway;
  std::string error;
  if (rfclib::gateway_address(request.ashost, request.sysnr, request.gwhost, request.gwservice,
                              gateway, error, nullptr)) {
    return gateway.host + ":" + std::to_string(gateway.port);
  }
  return (request.gwhost.empty() ? request.ashost : request.gwhost) + ":" + request.gwservice;
}

/// The next handle that is neither 0 nor in use.
RFC_HANDLE new_handle() {
  BridgeState& state = bridge();
  while (state.next_handle == 0 || state.connections.count(state.next_handle) != 0) {
    ++state.next_handle;
  }
  return state.next_handle++;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> logon_parameters(
    const rfclib::OpenRequest& request) {
  std::vector<std::pair<std::string, std::string>> parameters;
  const auto add = [&](const char* name, std::string_view value) {
    if (!value.empty()) parameters.emplace_back(name, std::string(value));
  };
  if (request.load_balancing) {
    add("MSHOST", request.mshost);
    add("MSSERV", request.msserv);
    add("SYSID", request.r3name);
    add("GROUP", request.group);
  } else {
    add("ASHOST", request.ashost);
    add("SYSNR", two_digits(request.sysnr));
    add("GWHOST", request.gwhost);
    add("GWSERV", request.gwservice);
  }
  add("CLIENT", request.client);
  // The classic options pad user and password with blanks; the padding is no part of them.
  add("USER", rfclib::drop_trailing_blanks(request.user));
  add("PASSWD", rfclib::drop_trailing_blanks(request.password));
  add("LANG", request.language);
  return parameters;
}

RFC_HANDLE open_on_library(const rfclib::OpenRequest& request, rfclib::Failure& failure) {
  BridgeState& state = bridge();
  const std::string partner = partner_of(request);
  NwError error;
  const NwConnection connection = nw_open(*state.api, logon_parameters(request), error);
  if (connection == nullptr) {
    failure = open_failure(error, request.operation, partner);
    rfclib::report_error(failure, RFC_HERE, state);
    return 0;
  }
  const RFC_HANDLE handle = new_handle();
  state.connections[handle] = BridgeConnection{.connection = connection, .partner = partner};
  return handle;
}

}  // namespace tw::nw
