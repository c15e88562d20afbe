#include "sim_os_addresses.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

namespace tw::rfcsim::os {

addrinfo* listen_addresses(const std::string& host, std::uint16_t port, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
    error = "host '" + host + "' unknown";
    return nullptr;
  }
  return found;
}

std::uint16_t bound_port(SocketId socket) {
  sockaddr_storage bound{};
  socklen_t size = sizeof bound;
#ifdef _WIN32
  ::getsockname(static_cast<SOCKET>(socket), reinterpret_cast<sockaddr*>(&bound), &size);
#else
  ::getsockname(static_cast<int>(socket), reinterpret_cast<sockaddr*>(&bound), &size);
#endif
  return bound.ss_family == AF_INET6
             ? ntohs(reinterpret_cast<const sockaddr_in6*>(&bound)->sin6_port)
             : ntohs(reinterpret_cast<const sockaddr_in*>(&bound)->sin_port);
}

}  // namespace tw::rfcsim::os
