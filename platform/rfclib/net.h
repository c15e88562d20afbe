// The library's one seam around the operating system: TCP client sockets that honour a
// deadline, the service database and the process id. net_posix.cpp and net_win32.cpp
// implement it; nothing else in the library includes a system header for sockets.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tw::rfclib::net {

using Clock = std::chrono::steady_clock;
/// The moment by which an operation must be over.
using Deadline = Clock::time_point;

/// A connected socket: the platform's own descriptor.
using SocketId = std::uintptr_t;
inline constexpr SocketId kNoSocket = ~SocketId{0};

/// Outcome of a transfer.
enum class Io {
  kDone,      ///< everything was transferred
  kTimedOut,  ///< the deadline passed first
  kClosed,    ///< the partner closed or reset the connection
  kFailed,    ///< any other error of the socket
};

/*
 * Connects by TCP to `host` (a name or an address) and `port`, trying each address the
 * name has, until `deadline`. Returns the connected socket, or kNoSocket with `reason`
 * set to a short text such as "host unknown", "connection refused" or "timed out".
 */
SocketId connect_tcp(const std::string& host, std::uint16_t port, Deadline deadline,
                     std::string& reason);

/*
 * Makes the platform's sockets ready once per process (Winsock on Windows); false when they
 * cannot be used.
 */
bool sockets_ready();

/*
 * Looks up the addresses of `host` (a name or an address) for TCP as connect_tcp does,
 * as numeric texts in the order the system gives them, each once. False with `reason`
 * "host unknown" when there is none.
 */
bool resolve_host(const std::string& host, std::vector<std::string>& addresses,
                  std::string& reason);

/*
 * Sends all of `bytes` before `deadline`. Never raises a signal when the partner has gone.
 */
Io send_all(SocketId socket, std::string_view bytes, Deadline deadline);

/*
 * Receives exactly `size` bytes into `buffer` before `deadline`. `received` tells how many
 * arrived, also when the result is not kDone.
 */
Io receive_exact(SocketId socket, char* buffer, std::size_t size, Deadline deadline,
                 std::size_t& received);

/*
 * Closes a socket; kNoSocket is ignored.
 */
void close_socket(SocketId socket);

/*
 * Looks up a TCP service name in the system's service database. Returns false when the
 * name is unknown.
 */
bool lookup_service(const std::string& name, std::uint16_t& port);

/*
 * The id of the running process.
 */
unsigned long process_id();

}  // namespace tw::rfclib::net
