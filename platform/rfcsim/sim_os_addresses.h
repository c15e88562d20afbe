// What both implementations of the listening socket share: the addresses to listen on and
// the port a bound socket got. sim_os_addresses.cpp builds on POSIX and Windows sockets.
#pragma once

#include <cstdint>
#include <string>

#include "sim_os.h"

struct addrinfo;

namespace tw::rfcsim::os {

/// The addresses of `host` to listen on at `port` (passive, TCP); free them with
/// freeaddrinfo. NULL with `error` set when the host is unknown.
addrinfo* listen_addresses(const std::string& host, std::uint16_t port, std::string& error);

/// The port the bound socket `socket` listens on.
std::uint16_t bound_port(SocketId socket);

}  // namespace tw::rfcsim::os
