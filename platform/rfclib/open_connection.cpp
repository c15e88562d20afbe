#include "open_connection.h"

#include <memory>
#include <optional>
#include <variant>

#include "connection.h"
#include "gateway_address.h"
#include "library_state.h"
#include "partner_failures.h"
#include "timeouts.h"

namespace tw::rfclib {

namespace {

/*
 * The moment `timeout` from now.
 */
net::Deadline deadline_after(Seconds timeout) {
  return net::Clock::now() + std::chrono::duration_cast<net::Clock::duration>(timeout);
}

/*
 * A number from 0 to 99 as two digits.
 */
std::string two_digits(int number) {
  return std::string{static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

/*
 * Logs on over a connected connection; an empty optional when the logon was accepted,
 * else the failure.
 */
std::optional<Failure> log_on(Connection& connection, const OpenRequest& request) {
  const net::Deadline deadline = deadline_after(call_timeout());
  wire::Logon logon{request.ashost, two_digits(request.sysnr), request.client, request.user,
                    request.password, request.language, request.check_now};
  std::string frame;
  std::string error;
  if (!wire::encode(logon, frame, error))
    return Failure{.operation = request.operation, .rc = RFC_INVALID_PARAMETER,
                   .key = kKeyParameter, .text = "cannot send the logon: " + error};
  const std::string what = "logon to partner '" + connection.partner() + "'";
  Transfer transfer = connection.send(frame, deadline);
  if (transfer.kind != Transfer::Kind::kOk)
    return transfer_failure(request.operation, transfer, what, connection.partner());
  wire::Message answer;
  transfer = connection.receive(answer, deadline);
  if (transfer.kind != Transfer::Kind::kOk)
    return transfer_failure(request.operation, transfer, what, connection.partner());
  if (std::holds_alternative<wire::LogonAccepted>(answer)) return std::nullopt;
  if (const auto* refusal = std::get_if<wire::LogonRefused>(&answer))
    return refusal_failure(request.operation, RFC_FAILURE, *refusal, connection.partner());
  if (const auto* fault = std::get_if<wire::Fault>(&answer))
    return fault_failure(request.operation, *fault, "logon", connection.partner());
  if (const auto* abort = std::get_if<wire::Abort>(&answer))
    return abort_failure(request.operation, *abort, connection.partner());
  return unexpected_message(request.operation, wire::type_of(answer), connection.partner());
}

/*
 * The next handle that is neither 0 nor in use.
 */
RFC_HANDLE new_handle() {
  LibraryState& s = state();
  while (s.next_handle == 0 || s.connections.count(s.next_handle) != 0) ++s.next_handle;
  return s.next_handle++;
}

}  // namespace

RFC_HANDLE open_connection(const OpenRequest& request, Failure& failure) {
  GatewayAddress gateway;
  std::string error;
  if (!gateway_address(request.ashost, request.sysnr, request.gwhost, request.gwservice,
                       gateway, error)) {
    failure = {.operation = request.operation, .rc = RFC_INVALID_PARAMETER,
               .key = kKeyParameter, .text = error};
    report_error(failure, RFC_HERE);
    return 0;
  }
  const std::string partner = gateway.host + ":" + std::to_string(gateway.port);
  std::string reason;
  const net::SocketId socket =
      net::connect_tcp(gateway.host, gateway.port, deadline_after(connect_timeout()), reason);
  if (socket == net::kNoSocket) {
    failure = not_reached(request.operation, partner, reason);
    report_error(failure, RFC_HERE);
    return 0;
  }
  auto connection = std::make_unique<Connection>(socket, partner);
  if (std::optional<Failure> refused = log_on(*connection, request)) {
    connection.reset();
    failure = std::move(*refused);
    report_error(failure, RFC_HERE);
    return 0;
  }
  const RFC_HANDLE handle = new_handle();
  state().connections.emplace(handle, std::move(connection));
  return handle;
}

}  // namespace tw::rfclib
