// Where the gateway of a system listens: host and TCP port.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net.h"

namespace tw::rfclib {

/// A gateway to connect to.
struct GatewayAddress {
  std::string host;
  std::uint16_t port = 0;
};

/// Looks up the port of a service name; false when the name is unknown.
using ServiceLookup = bool (*)(const std::string& name, std::uint16_t& port);

/*
 * The port of a gateway service: a number as it is; "sapgwNN" (any letter case) as
 * 3300 + NN; another name through `lookup` (NULL knows none); an empty service as
 * 3300 + the system number. Returns false with `error` "service 'NAME' unknown" when the
 * name is unknown or the number is not a port.
 */
bool gateway_port(std::string_view service, int sysnr, std::uint16_t& port, std::string& error,
                  ServiceLookup lookup = net::lookup_service);

/*
 * The gateway of a system: `gwhost`, or `ashost` when `gwhost` is empty, and the port of
 * `gwservice` (see gateway_port). Trailing blanks of the texts are dropped. Returns false
 * with `error` set when no host is given or the port cannot be had.
 */
bool gateway_address(std::string_view ashost, int sysnr, std::string_view gwhost,
                     std::string_view gwservice, GatewayAddress& address, std::string& error,
                     ServiceLookup lookup = net::lookup_service);

/*
 * `text` without the blanks at its end.
 */
std::string_view drop_trailing_blanks(std::string_view text);

}  // namespace tw::rfclib
