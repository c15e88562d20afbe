// Name resolution behind net.h: the same calls on POSIX and on Windows sockets.
#include <algorithm>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <sys/socket.h>
#endif

#include "net.h"

namespace tw::rfclib::net {

bool resolve_host(const std::string& host, std::vector<std::string>& addresses,
                  std::string& reason) {
  addresses.clear();
  if (!sockets_ready()) {
    reason = "sockets unavailable";
    return false;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
    reason = "host unknown";
    return false;
  }
  for (addrinfo* address = found; address != nullptr; address = address->ai_next) {
    char text[NI_MAXHOST] = {};
    if (::getnameinfo(address->ai_addr, static_cast<socklen_t>(address->ai_addrlen), text,
                      sizeof text, nullptr, 0, NI_NUMERICHOST) != 0) {
      continue;
    }
    if (std::find(addresses.begin(), addresses.end(), text) == addresses.end()) {
      addresses.emplace_back(text);
    }
  }
  ::freeaddrinfo(found);
  if (addresses.empty()) reason = "host unknown";
  return !addresses.empty();
}

}  // namespace tw::rfclib::net
