// The simulator's one seam around the operating system, beside the library's net.h: the
// listening socket, the threads that serve the sessions, the lock they share and the way
// the process is told to stop (signals on POSIX, Ctrl+C on Windows). sim_os_posix.cpp and
// sim_os_win32.cpp implement it; nothing else in the simulator includes a system header.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "net.h"

namespace tw::rfcsim::os {

using rfclib::net::kNoSocket;
using rfclib::net::SocketId;

/// A lock between the simulator's threads. Not recursive.
class Lock {
 public:
  Lock();
  ~Lock();
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
  void lock();
  void unlock();

 private:
  void* native_ = nullptr;
};

/// Holds a Lock for the life of the object.
class Hold {
 public:
  explicit Hold(Lock& lock) : lock_(lock) { lock_.lock(); }
  ~Hold() { lock_.unlock(); }
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

 private:
  Lock& lock_;
};

/// A thread started by start_thread.
using ThreadId = std::uintptr_t;

/// Starts a thread that runs `body(context)`; `body` must not throw. False when no thread
/// could be started.
bool start_thread(void (*body)(void* context), void* context, ThreadId& thread);

/// Waits for a thread started by start_thread to end.
void join_thread(ThreadId thread);

/// Shuts both directions of a connected socket down, so that a thread blocked on it wakes.
void shutdown_socket(SocketId socket);

/// The listening socket of the server.
class Listener {
 public:
  Listener();
  ~Listener();
  Listener(const Listener&) = delete;
  Listener& operator=(const Listener&) = delete;

  /// Binds to `host` (a name or an address, "0.0.0.0" for every IPv4 address) and `port`
  /// (0 picks a free one) and listens. False with `error` set when that fails.
  bool open(const std::string& host, std::uint16_t port, std::string& error);

  /// The port listened on.
  std::uint16_t port() const { return port_; }

  /// Waits for the next client and returns its connected socket; kNoSocket once stop()
  /// was called (also before this call) or when listening failed for good.
  SocketId accept_next();

  /// Makes accept_next() return kNoSocket. Safe to call from a signal handler, from a
  /// console control handler and from any thread.
  void stop();

 private:
  std::intptr_t listen_ = -1;
  int wake_read_ = -1;
  int wake_write_ = -1;
  std::atomic<bool> stopped_{false};
  std::uint16_t port_ = 0;
};

/// Calls `stop()` when the process is asked to stop: SIGTERM or SIGINT on POSIX (where
/// SIGPIPE is also ignored), Ctrl+C, Ctrl+Break or closing the console on Windows.
void on_stop_request(void (*stop)());

}  // namespace tw::rfcsim::os
