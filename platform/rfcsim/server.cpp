#include "server.h"

#include <cstdio>
#include <exception>

#include "net.h"
#include "session.h"

namespace tw::rfcsim {

namespace {

namespace net = rfclib::net;

const net::Deadline kNever = net::Deadline::max();

/*
 * Reads one frame from a blocking socket. False when the client closed, or sent a frame
 * that does not decode (the reason then in `error`).
 */
bool read_frame(net::SocketId socket, wire::Message& message, std::string& error) {
  char header_bytes[wire::kHeaderSize];
  std::size_t received = 0;
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
void drain_until_closed(net::SocketId socket) {
  char byte;
  std::size_t received = 0;
  while (net::receive_exact(socket, &byte, 1, kNever, received) == net::Io::kDone) {
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

Server::Server(const Scenario& scenario, SimLog* log) : scenario_(scenario), log_(log) {}

Server::~Server() = default;

bool Server::listen(const std::string& endpoint, std::string& error) {
  std::string host;
  std::uint16_t port = 0;
  if (!split_endpoint(endpoint, host, port, error)) return false;
  return listener_.open(host, port, error);
}

void Server::stop() { listener_.stop(); }

void Server::reap_finished() {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if ((*it)->done) {
      os::join_thread((*it)->thread);
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
}

void Server::run() {
  for (;;) {
    const os::SocketId socket = listener_.accept_next();
    if (socket == os::kNoSocket) break;
    reap_finished();
    auto worker = std::make_unique<Worker>();
    worker->server = this;
    worker->socket = socket;
    Worker& started = *worker;
    {
      const os::Hold hold(lock_);
      workers_.push_back(std::move(worker));
    }
    if (!os::start_thread(run_worker, &started, started.thread)) {
      // No thread to be had: this connection goes unserved.
      const os::Hold hold(lock_);
      net::close_socket(socket);
      workers_.pop_back();
    }
  }
  {
    const os::Hold hold(lock_);
    for (const auto& worker : workers_)
      if (worker->socket != os::kNoSocket) os::shutdown_socket(worker->socket);
  }
  for (const auto& worker : workers_) os::join_thread(worker->thread);
  workers_.clear();
}

void Server::run_worker(void* context) {
  auto& worker = *static_cast<Worker*>(context);
  try {
    worker.server->serve(worker);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "rfcsim: a session ended: %s\n", error.what());
    const os::Hold hold(worker.server->lock_);
    if (worker.socket != os::kNoSocket) net::close_socket(worker.socket);
    worker.socket = os::kNoSocket;
    worker.done = true;
  }
}

void Server::serve(Worker& worker) {
  const net::SocketId socket = worker.socket;
  Session session(scenario_, log_);
  bool open = true;
  while (open) {
    wire::Message message;
    std::string error;
    if (!read_frame(socket, message, error)) {
      if (!error.empty()) std::fprintf(stderr, "rfcsim: invalid frame from a client: %s\n",
                                       error.c_str());
      break;
    }
    for (const Action& action : session.on_message(message)) {
      if (action.kind == Action::Kind::kSend) {
        if (net::send_all(socket, action.bytes, kNever) !=
            net::Io::kDone) {
          open = false;
          break;
        }
      } else {
        if (action.kind == Action::Kind::kWaitForClose) drain_until_closed(socket);
        open = false;
        break;
      }
    }
  }
  {
    const os::Hold hold(lock_);
    net::close_socket(socket);
    worker.socket = os::kNoSocket;
  }
  worker.done = true;
}

}  // namespace tw::rfcsim
