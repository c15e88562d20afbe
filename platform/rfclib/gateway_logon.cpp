#include "gateway_logon.h"

#include <variant>

#include "gateway_address.h"
#include "timeouts.h"

namespace tw::rfclib {

namespace {

/*
 * A number from 0 to 99 as two digits.
 */
std::string two_digits(int number) {
  return std::string{static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

/*
 * Sends the logon over a connected connection and reads the answer. True when it was
 * accepted, with `system` set; else false with `trouble` set.
 */
bool exchange_logon(Connection& connection, const LogonRequest& request, std::string& system,
                    Trouble& trouble) {
  const net::Deadline deadline = deadline_after(call_timeout());
  const wire::Logon logon{request.ashost, two_digits(request.sysnr), request.client,
                          request.user,   request.password,          request.language,
                          request.check_now};
  std::string frame;
  std::string error;
  if (!wire::encode(logon, frame, error)) {
    trouble = {.kind = Trouble::Kind::kBadRequest, .text = "cannot send the logon: " + error};
    return false;
  }
  const std::string what = "logon to partner '" + connection.partner() + "'";
  Transfer transfer = connection.send(frame, deadline);
  wire::Message answer;
  if (transfer.kind == Transfer::Kind::kOk) transfer = connection.receive(answer, deadline);
  if (transfer.kind != Transfer::Kind::kOk) {
    trouble = transfer_trouble(transfer, what, connection.partner());
    return false;
  }
  if (const auto* accepted = std::get_if<wire::LogonAccepted>(&answer)) {
    system = accepted->system;
    return true;
  }
  trouble = answer_trouble(answer, "logon", connection.partner());
  return false;
}

}  // namespace

std::unique_ptr<Connection> log_on(const LogonRequest& request, std::string& system,
                                   Trouble& trouble) {
  GatewayAddress gateway;
  std::string error;
  if (!gateway_address(request.ashost, request.sysnr, request.gwhost, request.gwservice,
                       gateway, error)) {
    trouble = {.kind = Trouble::Kind::kBadAddress, .text = error};
    return nullptr;
  }
  const std::string partner = gateway.host + ":" + std::to_string(gateway.port);
  std::string reason;
  const net::SocketId socket =
      net::connect_tcp(gateway.host, gateway.port, deadline_after(connect_timeout()), reason);
  if (socket == net::kNoSocket) {
    trouble = not_reached(partner, reason);
    return nullptr;
  }
  auto connection = std::make_unique<Connection>(socket, partner);
  if (!exchange_logon(*connection, request, system, trouble)) return nullptr;
  return connection;
}

}  // namespace tw::rfclib
