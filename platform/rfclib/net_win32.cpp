// Winsock behind net.h.
#include "net.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace tw::rfclib::net {

namespace {

/*
 * The Winsock handle of a socket.
 */
SOCKET socket_of(SocketId socket) { return static_cast<SOCKET>(socket); }

/*
 * Starts Winsock once per process; false when it cannot be started.
 */
bool winsock_ready() {
  static const bool ready = [] {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return ready;
}

/*
 * Waits until `socket` is readable (or, with `write`, writable; a failed connect counts as
 * ready) or the deadline passes. Returns 1 when ready, 0 on timeout, -1 on error.
 */
int wait_for(SOCKET socket, bool write, Deadline deadline) {
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::microseconds>(deadline - Clock::now());
    const long long micros = left.count() < 0 ? 0 : left.count();
    timeval timeout{static_cast<long>(micros / 1000000), static_cast<long>(micros % 1000000)};
    fd_set wanted;
    fd_set failed;
    FD_ZERO(&wanted);
    FD_ZERO(&failed);
    FD_SET(socket, &wanted);
    FD_SET(socket, &failed);
    const int rc = ::select(0, write ? nullptr : &wanted, write ? &wanted : nullptr,
                            write ? &failed : nullptr, &timeout);
    if (rc > 0) return 1;
    if (rc == 0) {
      if (Clock::now() >= deadline) return 0;
      continue;
    }
    return -1;
  }
}

/*
 * True for the errors that mean the partner is gone.
 */
bool is_connection_loss(int error) {
  return error == WSAECONNRESET || error == WSAECONNABORTED || error == WSAENOTCONN ||
         error == WSAESHUTDOWN;
}

/*
 * One connection attempt to one address; the socket, or INVALID_SOCKET with `reason` set.
 */
SOCKET connect_one(const addrinfo& address, Deadline deadline, std::string& reason) {
  const SOCKET socket = ::socket(address.ai_family, address.ai_socktype, address.ai_protocol);
  if (socket == INVALID_SOCKET) {
    reason = "no socket (error " + std::to_string(::WSAGetLastError()) + ")";
    return INVALID_SOCKET;
  }
  u_long non_blocking = 1;
  ::ioctlsocket(socket, FIONBIO, &non_blocking);
  int error = 0;
  if (::connect(socket, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
    error = ::WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
      const int ready = wait_for(socket, true, deadline);
      if (ready == 0) {
        reason = "timed out";
        ::closesocket(socket);
        return INVALID_SOCKET;
      }
      int size = sizeof error;
      if (ready < 0 ||
          ::getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0)
        error = ::WSAGetLastError();
    }
  }
  if (error != 0) {
    reason = error == WSAECONNREFUSED ? "connection refused"
                                      : "error " + std::to_string(error);
    ::closesocket(socket);
    return INVALID_SOCKET;
  }
  return socket;
}

}  // namespace

SocketId connect_tcp(const std::string& host, std::uint16_t port, Deadline deadline,
                     std::string& reason) {
  if (!winsock_ready()) {
    reason = "Winsock unavailable";
    return kNoSocket;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 ||
      found == nullptr) {
    reason = "host unknown";
    return kNoSocket;
  }
  SOCKET socket = INVALID_SOCKET;
  reason = "no address";
  for (addrinfo* address = found; address != nullptr && socket == INVALID_SOCKET;
       address = address->ai_next) {
    socket = connect_one(*address, deadline, reason);
    if (socket == INVALID_SOCKET && Clock::now() >= deadline) break;
  }
  ::freeaddrinfo(found);
  return socket == INVALID_SOCKET ? kNoSocket : static_cast<SocketId>(socket);
}

Io send_all(SocketId id, std::string_view bytes, Deadline deadline) {
  const SOCKET socket = socket_of(id);
  while (!bytes.empty()) {
    const int chunk = bytes.size() > 65536 ? 65536 : static_cast<int>(bytes.size());
    const int sent = ::send(socket, bytes.data(), chunk, 0);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    const int error = ::WSAGetLastError();
    if (sent == SOCKET_ERROR && error == WSAEWOULDBLOCK) {
      const int ready = wait_for(socket, true, deadline);
      if (ready == 0) return Io::kTimedOut;
      if (ready < 0) return Io::kFailed;
      continue;
    }
    return sent == SOCKET_ERROR && !is_connection_loss(error) ? Io::kFailed : Io::kClosed;
  }
  return Io::kDone;
}

Io receive_exact(SocketId id, char* buffer, std::size_t size, Deadline deadline,
                 std::size_t& received) {
  const SOCKET socket = socket_of(id);
  received = 0;
  while (received < size) {
    const std::size_t left = size - received;
    const int chunk = left > 65536 ? 65536 : static_cast<int>(left);
    const int got = ::recv(socket, buffer + received, chunk, 0);
    if (got > 0) {
      received += static_cast<std::size_t>(got);
      continue;
    }
    if (got == 0) return Io::kClosed;
    const int error = ::WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
      const int ready = wait_for(socket, false, deadline);
      if (ready == 0) return Io::kTimedOut;
      if (ready < 0) return Io::kFailed;
      continue;
    }
    return is_connection_loss(error) ? Io::kClosed : Io::kFailed;
  }
  return Io::kDone;
}

bool sockets_ready() { return winsock_ready(); }

void close_socket(SocketId id) {
  if (id != kNoSocket) ::closesocket(socket_of(id));
}

bool lookup_service(const std::string& name, std::uint16_t& port) {
  if (!winsock_ready()) return false;
  const servent* entry = ::getservbyname(name.c_str(), "tcp");
  if (entry == nullptr) return false;
  port = ntohs(static_cast<u_short>(entry->s_port));
  return true;
}

}  // namespace tw::rfclib::net
