// One open connection to a gateway: its socket, frames in and out, the call in progress.
#pragma once

#include <string>

#include "net.h"
#include "wire.h"

namespace tw::rfclib {

/// How the transfer of one frame ended.
struct Transfer {
  enum class Kind {
    kOk,
    kTimedOut,   ///< the deadline passed
    kClosed,     ///< the partner closed the connection before the frame began
    kMalformed,  ///< a frame broke the protocol, or was cut off
  };
  Kind kind = Kind::kOk;
  std::string detail;  ///< why the frame is malformed, or the system's reason
};

class Connection {
 public:
  /*
   * Takes over a connected socket to the gateway at `partner` ("HOST:PORT").
   */
  Connection(net::SocketId socket, std::string partner);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  /*
   * "HOST:PORT" of the gateway.
   */
  const std::string& partner() const { return partner_; }
  /*
   * False once the connection was closed, by either side or after a failure.
   */
  bool is_open() const { return socket_ != net::kNoSocket; }

  /*
   * Sends one whole frame before `deadline`. kClosed also stands for any other socket
   * error; kMalformed never comes back.
   */
  Transfer send(const std::string& frame, net::Deadline deadline);

  /*
   * Receives and decodes one frame before `deadline`. A header or payload cut off by the
   * partner is kMalformed; a close before the first byte is kClosed.
   */
  Transfer receive(wire::Message& message, net::Deadline deadline);

  /*
   * Closes the socket; the connection stays known to its handle until RfcClose.
   */
  void close();

  /// The call sent with RfcCall and not yet received.
  bool call_pending = false;
  std::string function;
  net::Deadline deadline{};
  /// The text `*exception` of RfcReceive points to; valid until the next call.
  std::string exception_text;

 private:
  Transfer receive_bytes(char* buffer, std::size_t size, net::Deadline deadline,
                         bool first_of_frame, const char* part);

  net::SocketId socket_;
  std::string partner_;
};

}  // namespace tw::rfclib
