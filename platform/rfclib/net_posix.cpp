// POSIX sockets behind net.h.
#include "net.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tw::rfclib::net {

namespace {

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL;
#else
constexpr int kSendFlags = 0;
#endif

/*
 * The file descriptor of a socket.
 */
int fd_of(SocketId socket) { return static_cast<int>(socket); }

/*
 * Milliseconds left until `deadline`, rounded up, 0 when it has passed.
 */
int milliseconds_left(Deadline deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
  if (left.count() <= 0) return 0;
  return left.count() > 1000000 ? 1000000 : static_cast<int>(left.count());
}

/*
 * Waits until `fd` is ready for `events` or the deadline passes. Returns 1 when ready,
 * 0 on timeout, -1 on error.
 */
int wait_for(int fd, short events, Deadline deadline) {
  for (;;) {
    pollfd entry{fd, events, 0};
    const int rc = ::poll(&entry, 1, milliseconds_left(deadline));
    if (rc > 0) return 1;
    if (rc == 0) {
      if (Clock::now() >= deadline) return 0;
      continue;
    }
    if (errno != EINTR) return -1;
  }
}

/*
 * True for the errors that mean the partner is gone.
 */
bool is_connection_loss(int error) {
  return error == ECONNRESET || error == EPIPE || error == ECONNABORTED || error == ENOTCONN;
}

/*
 * One connection attempt to one address; the socket, or -1 with `reason` set.
 */
int connect_one(const addrinfo& address, Deadline deadline, std::string& reason) {
  const int fd = ::socket(address.ai_family, address.ai_socktype, address.ai_protocol);
  if (fd < 0) {
    reason = std::strerror(errno);
    return -1;
  }
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  int error = 0;
  if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
    error = errno;
    if (error == EINPROGRESS || error == EINTR) {
      const int ready = wait_for(fd, POLLOUT, deadline);
      if (ready == 0) {
        reason = "timed out";
        ::close(fd);
        return -1;
      }
      socklen_t size = sizeof error;
      if (ready < 0 || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
    }
  }
  if (error != 0) {
    reason = error == ECONNREFUSED ? "connection refused" : std::strerror(error);
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

SocketId connect_tcp(const std::string& host, std::uint16_t port, Deadline deadline,
                     std::string& reason) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 ||
      found == nullptr) {
    reason = "host unknown";
    return kNoSocket;
  }
  int fd = -1;
  reason = "no address";
  for (addrinfo* address = found; address != nullptr && fd < 0; address = address->ai_next) {
    fd = connect_one(*address, deadline, reason);
    if (fd < 0 && Clock::now() >= deadline) break;
  }
  ::freeaddrinfo(found);
  return fd < 0 ? kNoSocket : static_cast<SocketId>(fd);
}

Io send_all(SocketId socket, std::string_view bytes, Deadline deadline) {
  const int fd = fd_of(socket);
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), kSendFlags);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      const int ready = wait_for(fd, POLLOUT, deadline);
      if (ready == 0) return Io::kTimedOut;
      if (ready < 0) return Io::kFailed;
      continue;
    }
    return sent < 0 && !is_connection_loss(errno) ? Io::kFailed : Io::kClosed;
  }
  return Io::kDone;
}

Io receive_exact(SocketId socket, char* buffer, std::size_t size, Deadline deadline,
                 std::size_t& received) {
  const int fd = fd_of(socket);
  received = 0;
  while (received < size) {
    const ssize_t got = ::recv(fd, buffer + received, size - received, 0);
    if (got > 0) {
      received += static_cast<std::size_t>(got);
      continue;
    }
    if (got == 0) return Io::kClosed;
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
      const int ready = wait_for(fd, POLLIN, deadline);
      if (ready == 0) return Io::kTimedOut;
      if (ready < 0) return Io::kFailed;
      continue;
    }
    return is_connection_loss(errno) ? Io::kClosed : Io::kFailed;
  }
  return Io::kDone;
}

bool sockets_ready() { return true; }

void close_socket(SocketId socket) {
  if (socket != kNoSocket) ::close(fd_of(socket));
}

bool lookup_service(const std::string& name, std::uint16_t& port) {
  const servent* entry = ::getservbyname(name.c_str(), "tcp");
  if (entry == nullptr) return false;
  port = ntohs(static_cast<std::uint16_t>(entry->s_port));
  return true;
}

}  // namespace tw::rfclib::net
