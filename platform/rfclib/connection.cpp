#include "connection.h"

#include <utility>

namespace tw::rfclib {

Connection::Connection(net::SocketId socket, std::string partner)
    : socket_(socket), partner_(std::move(partner)) {}

Connection::~Connection() { close(); }

void Connection::close() {
  net::close_socket(socket_);
  socket_ = net::kNoSocket;
  call_pending = false;
}

Transfer Connection::send(const std::string& frame, net::Deadline deadline) {
  if (!is_open()) return {Transfer::Kind::kClosed, "connection already closed"};
  switch (net::send_all(socket_, frame, deadline)) {
    case net::Io::kDone: return {};
    case net::Io::kTimedOut: return {Transfer::Kind::kTimedOut, {}};
    case net::Io::kClosed: return {Transfer::Kind::kClosed, {}};
    case net::Io::kFailed: break;
  }
  return {Transfer::Kind::kClosed, "socket error while sending"};
}

/*
 * Receives `size` bytes of the part `part` ("header", "payload") of a frame.
 */
Transfer Connection::receive_bytes(char* buffer, std::size_t size, net::Deadline deadline,
                                   bool first_of_frame, const char* part) {
  std::size_t received = 0;
  switch (net::receive_exact(socket_, buffer, size, deadline, received)) {
    case net::Io::kDone: return {};
    case net::Io::kTimedOut: return {Transfer::Kind::kTimedOut, {}};
    case net::Io::kClosed:
    case net::Io::kFailed:
      if (first_of_frame && received == 0) return {Transfer::Kind::kClosed, {}};
      return {Transfer::Kind::kMalformed, "frame cut off after " + std::to_string(received) +
                                              " of " + std::to_string(size) + " " + part +
                                              " bytes"};
  }
  return {Transfer::Kind::kClosed, {}};
}

Transfer Connection::receive(wire::Message& message, net::Deadline deadline) {
  if (!is_open()) return {Transfer::Kind::kClosed, "connection already closed"};
  char header_bytes[wire::kHeaderSize];
  Transfer transfer = receive_bytes(header_bytes, sizeof header_bytes, deadline, true, "header");
  if (transfer.kind != Transfer::Kind::kOk) return transfer;
  wire::Header header;
  std::string error;
  if (!wire::decode_header(std::string_view(header_bytes, sizeof header_bytes), header, error))
    return {Transfer::Kind::kMalformed, error};
  std::string payload(header.length, '\0');
  transfer = receive_bytes(payload.data(), payload.size(), deadline, false, "payload");
  if (transfer.kind != Transfer::Kind::kOk) return transfer;
  if (!wire::decode_payload(header.type, payload, message, error))
    return {Transfer::Kind::kMalformed, error};
  return {};
}

}  // namespace tw::rfclib
