// The listening side of the simulator: accepts connections and serves each in a thread of
// its own, so that a hanging session holds up no other.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "scenario.h"
#include "sim_os.h"
#include "sim_log.h"

namespace tw::rfcsim {

/*
 * Splits "HOST:PORT" (an IPv6 address in brackets: "[::1]:0") into host and port.
 * Returns false with `error` set when the text has no port or the port is not a number
 * from 0 to 65535.
 */
bool split_endpoint(const std::string& text, std::string& host, std::uint16_t& port,
                    std::string& error);

class Server {
 public:
  /*
   * `scenario` and `log` (which may be NULL) must outlive the server.
   */
  Server(const Scenario& scenario, SimLog* log);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  /*
   * Binds to `endpoint` ("HOST:PORT"; port 0 picks a free port) and listens. Returns false
   * with `error` set when that fails.
   */
  bool listen(const std::string& endpoint, std::string& error);

  /*
   * The port listened on.
   */
  std::uint16_t port() const { return listener_.port(); }

  /*
   * Accepts and serves connections until stop() is called; then shuts every session
   * down, waits for their threads and returns.
   */
  void run();

  /*
   * Makes run() return. Safe to call from a signal handler and from any thread, also
   * before run() starts.
   */
  void stop();

 private:
  struct Worker {
    Server* server = nullptr;
    os::SocketId socket = os::kNoSocket;
    std::atomic<bool> done{false};
    os::ThreadId thread = 0;
  };

  /*
   * The body of a worker's thread: serve(), which catches what it may throw.
   */
  static void run_worker(void* worker);
  /*
   * Runs one session on the worker's connection until either side ends it; closes the
   * connection and marks the worker done.
   */
  void serve(Worker& worker);
  /*
   * Joins and forgets the workers whose sessions have ended.
   */
  void reap_finished();

  const Scenario& scenario_;
  SimLog* log_;
  os::Listener listener_;
  os::Lock lock_;  ///< guards the socket of every worker
  std::list<std::unique_ptr<Worker>> workers_;
};

}  // namespace tw::rfcsim
