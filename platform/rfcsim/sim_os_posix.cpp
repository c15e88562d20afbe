// POSIX behind sim_os.h: sockets, pthreads, a self-pipe that wakes the accepting thread,
// and signal handlers.
#include "sim_os.h"

#include "sim_os_addresses.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tw::rfcsim::os {

namespace {

/// Keeps a descriptor from programs started later.
void set_cloexec(int fd) { ::fcntl(fd, F_SETFD, FD_CLOEXEC); }

/// What a started thread runs.
struct ThreadStart {
  void (*body)(void*);
  void* context;
};

extern "C" void* run_thread(void* start) {
  const ThreadStart what = *static_cast<ThreadStart*>(start);
  delete static_cast<ThreadStart*>(start);
  what.body(what.context);
  return nullptr;
}

void (*stop_requested)() = nullptr;

extern "C" void on_stop_signal(int) {
  if (stop_requested != nullptr) stop_requested();
}

}  // namespace

Lock::Lock() : native_(new std::mutex) {}
Lock::~Lock() { delete static_cast<std::mutex*>(native_); }
void Lock::lock() { static_cast<std::mutex*>(native_)->lock(); }
void Lock::unlock() { static_cast<std::mutex*>(native_)->unlock(); }

bool start_thread(void (*body)(void*), void* context, ThreadId& thread) {
  auto* start = new ThreadStart{body, context};
  pthread_t id;
  if (::pthread_create(&id, nullptr, run_thread, start) != 0) {
    delete start;
    return false;
  }
  thread = static_cast<ThreadId>(id);
  return true;
}

void join_thread(ThreadId thread) { ::pthread_join(static_cast<pthread_t>(thread), nullptr); }

void shutdown_socket(SocketId socket) { ::shutdown(static_cast<int>(socket), SHUT_RDWR); }

Listener::Listener() {
  int fds[2];
  if (::pipe(fds) == 0) {
    wake_read_ = fds[0];
    wake_write_ = fds[1];
    set_cloexec(wake_read_);
    set_cloexec(wake_write_);
  }
}

Listener::~Listener() {
  if (listen_ >= 0) ::close(static_cast<int>(listen_));
  if (wake_read_ >= 0) ::close(wake_read_);
  if (wake_write_ >= 0) ::close(wake_write_);
}

bool Listener::open(const std::string& host, std::uint16_t port, std::string& error) {
  if (wake_read_ < 0) {
    error = "no pipe for the shutdown";
    return false;
  }
  addrinfo* found = listen_addresses(host, port, error);
  if (found == nullptr) return false;
  error = "no address for '" + host + "'";
  for (addrinfo* address = found; address != nullptr; address = address->ai_next) {
    const int fd = ::socket(address->ai_family, address->ai_socktype, address->ai_protocol);
    if (fd < 0) continue;
    set_cloexec(fd);
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(fd, address->ai_addr, address->ai_addrlen) == 0 && ::listen(fd, 64) == 0) {
      listen_ = fd;
      break;
    }
    error = std::strerror(errno);
    ::close(fd);
  }
  ::freeaddrinfo(found);
  if (listen_ < 0) return false;
  port_ = bound_port(static_cast<SocketId>(listen_));
  return true;
}

SocketId Listener::accept_next() {
  for (;;) {
    if (stopped_) return kNoSocket;
    pollfd entries[2] = {{wake_read_, POLLIN, 0}, {static_cast<int>(listen_), POLLIN, 0}};
    if (::poll(entries, listen_ >= 0 ? 2 : 1, -1) < 0) {
      if (errno == EINTR) continue;
      return kNoSocket;
    }
    if (entries[0].revents != 0) return kNoSocket;
    if (entries[1].revents == 0) continue;
    const int fd = ::accept(static_cast<int>(listen_), nullptr, nullptr);
    if (fd < 0) continue;
    set_cloexec(fd);
    return static_cast<SocketId>(fd);
  }
}

void Listener::stop() {
  stopped_ = true;
  const char wake = 'x';
  if (wake_write_ >= 0 && ::write(wake_write_, &wake, 1) < 0) {
    // Nothing more can be done from a signal handler.
  }
}

void on_stop_request(void (*stop)()) {
  stop_requested = stop;
  struct sigaction action {};
  action.sa_handler = on_stop_signal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);
}

}  // namespace tw::rfcsim::os
