#include <chrono>

#include "check/check_destination.h"
#include "check/check_run.h"
#include "gateway_address.h"
#include "net.h"
#include "os/deadline_timer.h"

namespace tw::check {

namespace {

/// How long the TCP connect may take, as long as the library waits by default.
constexpr std::chrono::seconds kConnectLimit{5};

/// The values of the profile's way (RfcOpen), as the sensor hands them to the library.
GatewayTarget profile_target(const RfcState& rfc) {
  const auto text = [](const char* value) { return value == nullptr ? std::string() : value; };
  GatewayTarget target;
  if (rfc.options.mode == RFC_MODE_CPIC) {
    target.gwhost = text(rfc.cpic.gateway_host);
    target.gwservice = text(rfc.cpic.gateway_service);
  } else {
    target.ashost = text(rfc.r3.hostname);
    target.sysnr = rfc.r3.sysnr;
    target.gwhost = text(rfc.r3.gateway_host);
    target.gwservice = text(rfc.r3.gateway_service);
  }
  target.source = "the profile";
  return target;
}

/// A system number as SAP writes it: two digits from 0 to 99, any other number as it is.
std::string two_digits(int number) {
  const std::string text = std::to_string(number);
  return number >= 0 && number < 10 ? "0" + text : text;
}

/// How the port was had from the service, for the lines.
std::string port_origin(const GatewayTarget& target) {
  const std::string_view service = rfclib::drop_trailing_blanks(target.gwservice);
  if (service.empty()) return "no gateway service, so 3300 + system number";
  return "gateway service " + quoted(service);
}

}  // namespace

std::string check_gateway(CheckRun& run, std::string_view prefix) {
  Sensor& sensor = run.sensor;
  fill_connection_options(sensor);
  const std::string file_name = destination_file_name(sensor.profile.destination);
  const std::string what = std::string(prefix) + "gateway";

  GatewayTarget target;
  if (open_for_reading(file_name, true)) {
    if (!check_destination_file(run, file_name, target, prefix)) {
      return "the destination file does not serve";
    }
  } else {
    target = profile_target(sensor.rfc);
    const bool host_selector = find_selector(sensor.settings, ",HOST=") != std::string::npos;
    const bool number_selector = find_selector(sensor.settings, ",NO=") != std::string::npos;
    run.log.ok(std::string(prefix) + "connection values: no destination file " + file_name +
               ", so the sensor opens with the profile's values (RfcOpen): application "
               "server " + quoted(target.ashost) +
               (host_selector ? " (,HOST=)" : "") + ", system number " +
               two_digits(target.sysnr) + (number_selector ? " (,NO=)" : "") +
               ", gateway host " + quoted(target.gwhost) + ", gateway service " +
               quoted(target.gwservice));
    if (sensor.rfc.options.mode == RFC_MODE_R3ONLY && (target.sysnr < 0 || target.sysnr > 99)) {
      run.log.fail(what, "the system number " + std::to_string(target.sysnr) +
                             " is not 0 to 99, so the library refuses the open",
                   "write the system's two-digit number as Sysnr (or ,NO=)");
      return "the system number is not 0 to 99";
    }
  }
  if (target.ashost.empty() && target.gwhost.empty()) {
    run.log.skip(what, "the entry names no host; its server is found by the SAP side");
    return {};
  }

  rfclib::GatewayAddress address;
  std::string error;
  if (!rfclib::gateway_address(target.ashost, target.sysnr, target.gwhost, target.gwservice,
                               address, error)) {
    run.log.fail(what, error + " (" + target.source + ")",
                 "Gwservice (GWSERV=) must be the gateway's port number, sapgwNN (port 33NN) or "
                 "a name of the probe's services file");
    return "the gateway's port cannot be had";
  }
  const std::string where = address.host + ":" + std::to_string(address.port);
  run.log.ok(what + " " + where + ": " +
             (rfclib::drop_trailing_blanks(target.gwhost).empty()
                  ? "no gateway host, so the application server's"
                  : std::string("the gateway host")) +
             ", port from " + port_origin(target));

  std::vector<std::string> addresses;
  std::uint64_t began = steady_milliseconds();
  if (!rfclib::net::resolve_host(address.host, addresses, error)) {
    run.log.fail(what + " name " + quoted(address.host),
                 "it resolves to no address (" + error + ", took " +
                     duration_text(steady_milliseconds() - began) + ")",
                 "correct the gateway host (Gwhost, or Hostname without Gwhost), or make the "
                 "name known to the probe (DNS, hosts file)");
    return "the gateway's name resolves to no address";
  }
  std::string list;
  for (const std::string& one : addresses) list += (list.empty() ? "" : ", ") + one;
  run.log.ok(what + " name " + quoted(address.host) + " resolves to " + list + " (took " +
             duration_text(steady_milliseconds() - began) + ")");

  began = steady_milliseconds();
  const rfclib::net::SocketId socket = rfclib::net::connect_tcp(
      address.host, address.port, rfclib::net::Clock::now() + kConnectLimit, error);
  const std::string took = "took " + duration_text(steady_milliseconds() - began);
  if (socket == rfclib::net::kNoSocket) {
    run.log.fail(what + " TCP connect to " + where, error + " (" + took + ")",
                 error == "timed out"
                     ? "no answer within 5 s: a firewall between probe and gateway may drop "
                       "the connection, or the host is down"
                     : "nothing accepts connections there: check the port (Gwservice: sapgwNN "
                       "or 33NN for system number NN) and that the SAP gateway runs");
    return "the gateway cannot be reached";
  }
  rfclib::net::close_socket(socket);
  run.log.ok(what + " TCP connect to " + where + " (" + took + ")");
  return {};
}

}  // namespace tw::check
