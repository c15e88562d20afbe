#include "server.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net.h"
#include "session.h"

namespace tw::rfcsim {

namespace {

namespace net = rfclib::net;

const net::Deadline kNever = net::Deadline::max();

/*
 * Keeps a descriptor from programs started later.
 */
void set_cloexec(int fd) { ::fcntl(fd, F_SETFD, FD_CLOEXEC); }

/*
 * Reads one frame from a blocking socket. False when the client closed, or sent a frame
 * that does not decode (the reason then in `error`).
 */
bool read_frame(int fd, wire::Message& message, std::string& error) {
  char header_bytes[wire::kHeaderSize];
  std::size_t received = 0;
  const auto socket = static_cast<net::SocketId>(fd);
  if (net::receive_exact(socket, header_bytes, sizeof header_bytes, kNever, received) !=
      net::Io::kDone) {
    if (received != 0) error = "frame cut off in its header";
    return false;
  }
  wire::Header header;
  if (!wire::decode_header(std::string_view(header_bytes, sizeof header_bytes), header, error))
    return false;
  std::string payload(header.length, '\0');
  if (net::receive_exact(socket, payload.data(), payload.size(), kNever, received) !=
      net::Io::kDone) {
    error = "frame cut off in its payload";
    return false;
  }
  return wire::decode_payload(header.type, payload, message, error);
}

/*
 * Reads and drops whatever comes until the client closes (or the server shuts down).
 */
void drain_until_closed(int fd) {
  char buffer[4096];
  while (::recv(fd, buffer, sizeof buffer, 0) > 0) {
  }
}

}  // namespace

bool split_endpoint(const std::string& text, std::string& host, std::uint16_t& port,
                    std::string& error) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) {
    error = "'" + text + "' is not HOST:PORT";
    return false;
  }
  host = text.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
    host = host.substr(1, host.size() - 2);
  const std::string digits = text.substr(colon + 1);
  unsigned long value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9' || value > 65535) {
      value = 65536;
      break;
    }
    value = value * 10 + static_cast<unsigned long>(c - '0');
  }
  if (digits.empty() || value > 65535) {
    error = "port '" + digits + "' is not a number from 0 to 65535";
    return false;
  }
  port = static_cast<std::uint16_t>(value);
  return true;
}

Server::Server(const Scenario& scenario, SimLog* log) : scenario_(scenario), log_(log) {
  int fds[2];
  if (::pipe(fds) == 0) {
    wake_read_ = fds[0];
    wake_write_ = fds[1];
    set_cloexec(wake_read_);
    set_cloexec(wake_write_);
  }
}

Server::~Server() {
  if (listen_fd_ >= 0) ::close(listen_fd_);
  if (wake_read_ >= 0) ::close(wake_read_);
  if (wake_write_ >= 0) ::close(wake_write_);
}

bool Server::listen(const std::string& endpoint, std::string& error) {
  std::string host;
  std::uint16_t port = 0;
  if (!split_endpoint(endpoint, host, port, error)) return false;
  if (wake_read_ < 0) {
    error = "no pipe for the shutdown";
    return false;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
    error = "host '" + host + "' unknown";
    return false;
  }
  error = "no address for '" + host + "'";
  for (addrinfo* address = found; address != nullptr; address = address->ai_next) {
    const int fd = ::socket(address->ai_family, address->ai_socktype, address->ai_protocol);
    if (fd < 0) continue;
    set_cloexec(fd);
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(fd, address->ai_addr, address->ai_addrlen) == 0 && ::listen(fd, 64) == 0) {
      listen_fd_ = fd;
      break;
    }
    error = std::strerror(errno);
    ::close(fd);
  }
  ::freeaddrinfo(found);
  if (listen_fd_ < 0) return false;
  sockaddr_storage bound{};
  socklen_t size = sizeof bound;
  ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&bound), &size);
  port_ = bound.ss_family == AF_INET6
              ? ntohs(reinterpret_cast<const sockaddr_in6*>(&bound)->sin6_port)
              : ntohs(reinterpret_cast<const sockaddr_in*>(&bound)->sin_port);
  return true;
}

void Server::stop() {
  const char wake = 'x';
  if (wake_write_ >= 0 && ::write(wake_write_, &wake, 1) < 0) {
    // Nothing more can be done from a signal handler.
  }
}

void Server::reap_finished() {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if ((*it)->done) {
      (*it)->thread.join();
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
}

void Server::run() {
  for (;;) {
    pollfd entries[2] = {{wake_read_, POLLIN, 0}, {listen_fd_, POLLIN, 0}};
    if (::poll(entries, listen_fd_ >= 0 ? 2 : 1, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (entries[0].revents != 0) break;
    if (entries[1].revents == 0) continue;
    const int fd = ::accept(listen_fd_, nullptr, nullptr);
    if (fd < 0) continue;
    set_cloexec(fd);
    reap_finished();
    auto worker = std::make_unique<Worker>();
    worker->fd = fd;
    Worker& started = *worker;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      workers_.push_back(std::move(worker));
    }
    try {
      started.thread = std::thread([this, &started] { serve(started); });
    } catch (const std::system_error&) {
      // No thread to be had: this connection goes unserved.
      const std::lock_guard<std::mutex> lock(mutex_);
      ::close(fd);
      workers_.pop_back();
    }
  }
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& worker : workers_)
      if (worker->fd >= 0) ::shutdown(worker->fd, SHUT_RDWR);
  }
  for (const auto& worker : workers_) worker->thread.join();
  workers_.clear();
}

void Server::serve(Worker& worker) {
  const int fd = worker.fd;
  Session session(scenario_, log_);
  bool open = true;
  while (open) {
    wire::Message message;
    std::string error;
    if (!read_frame(fd, message, error)) {
      if (!error.empty()) std::fprintf(stderr, "rfcsim: invalid frame from a client: %s\n",
                                       error.c_str());
      break;
    }
    for (const Action& action : session.on_message(message)) {
      if (action.kind == Action::Kind::kSend) {
        if (net::send_all(static_cast<net::SocketId>(fd), action.bytes, kNever) !=
            net::Io::kDone) {
          open = false;
          break;
        }
      } else {
        if (action.kind == Action::Kind::kWaitForClose) drain_until_closed(fd);
        open = false;
        break;
      }
    }
  }
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    ::close(fd);
    worker.fd = -1;
  }
  worker.done = true;
}

}  // namespace tw::rfcsim
