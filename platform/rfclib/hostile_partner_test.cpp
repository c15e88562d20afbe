// The library against a hostile gateway: a small server in the test that takes the logon
// and then answers the call with whatever bytes a case gives it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "os/rfc_file_names.h"
#include "saprfc.h"
#include "test_support.h"
#include "wire.h"

namespace tw::rfclib {
namespace {

using testing::HandlerLog;
using testing::LibraryReset;
using testing::OpenOptions;
using testing::ScratchDirectory;

std::string frame(const wire::Message& message) {
  std::string bytes;
  std::string error;
  EXPECT_TRUE(wire::encode(message, bytes, error)) << error;
  return bytes;
}

/// A header as the wire carries it, with free choice of every field.
std::string raw_header(std::uint8_t version, std::uint8_t type, std::uint32_t length) {
  std::string h = {'T', 'W', 'R', 'F', static_cast<char>(version), static_cast<char>(type), 0, 0};
  for (int shift = 24; shift >= 0; shift -= 8) h.push_back(static_cast<char>(length >> shift));
  return h;
}

std::string u32(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

/*
 * Accepts one connection on 127.0.0.1, reads the logon and answers it with `logon_answer`
 * (or, when that is empty, accepts it), reads the call and answers it with `call_answer`.
 * Then closes at once when `close_after`, else waits until the client goes.
 */
class FakeGateway {
 public:
  FakeGateway(std::string call_answer, bool close_after, std::string logon_answer = {})
      : call_answer_(std::move(call_answer)), logon_answer_(std::move(logon_answer)),
        close_after_(close_after) {
    listen_fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(listen_fd_, 4) != 0 ||
        ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
      ADD_FAILURE() << "fake gateway cannot listen";
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
  }
  ~FakeGateway() {
    stop_ = true;
    thread_.join();
    ::close(listen_fd_);
  }

  std::string service() const { return std::to_string(port_); }
  std::string partner() const { return "127.0.0.1:" + service(); }
  /// The function name of the call received.
  std::string function() const { return function_; }

 private:
  /* Waits for `fd` to be readable; false once stopped. */
  bool readable(int fd) {
    while (!stop_) {
      pollfd entry{fd, POLLIN, 0};
      if (::poll(&entry, 1, 20) > 0) return true;
    }
    return false;
  }
  bool read_exact(int fd, char* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
      if (!readable(fd)) return false;
      const ssize_t got = ::recv(fd, buffer + done, size - done, 0);
      if (got <= 0) return false;
      done += static_cast<std::size_t>(got);
    }
    return true;
  }
  bool read_message(int fd, wire::Message& message) {
    char header_bytes[wire::kHeaderSize];
    wire::Header header;
    std::string error;
    if (!read_exact(fd, header_bytes, sizeof header_bytes) ||
        !wire::decode_header(std::string_view(header_bytes, sizeof header_bytes), header, error))
      return false;
    std::string payload(header.length, '\0');
    return read_exact(fd, payload.data(), payload.size()) &&
           wire::decode_payload(header.type, payload, message, error);
  }
  void send_all(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t sent = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
      if (sent <= 0) return;
      done += static_cast<std::size_t>(sent);
    }
  }
  void serve() {
    if (!readable(listen_fd_)) return;
    const int fd = ::accept(listen_fd_, nullptr, nullptr);
    if (fd < 0) return;
    wire::Message message;
    if (read_message(fd, message)) {
      if (!logon_answer_.empty()) {
        send_all(fd, logon_answer_);
      } else {
        send_all(fd, frame(wire::LogonAccepted{"FAK"}));
        if (read_message(fd, message)) {
          if (const auto* call = std::get_if<wire::Call>(&message)) function_ = call->function;
          send_all(fd, call_answer_);
        }
      }
      if (!close_after_) {
        char buffer[256];
        while (readable(fd) && ::recv(fd, buffer, sizeof buffer, 0) > 0) {
        }
      }
    }
    ::close(fd);
  }

  std::string call_answer_;
  std::string logon_answer_;
  bool close_after_;
  int listen_fd_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::string function_;
  std::thread thread_;
};

/// The outcome of one call against a fake gateway.
struct Outcome {
  RFC_RC rc = RFC_OK;
  std::string exception;
  std::string trace;
  RFC_RC rc_of_next_call = RFC_OK;
  std::string rows;
  RFC_ERROR_INFO last_error{};  ///< right after RfcReceive
};

class HostilePartner : public ::testing::Test {
 protected:
  /* Opens, calls F with a table T of 66-character lines, receives. */
  Outcome call(FakeGateway& gateway) {
    OpenOptions options("fakehost", 0, "127.0.0.1", gateway.service(), "100", "USER", "PW");
    const RFC_HANDLE handle = RfcOpen(options.get());
    EXPECT_NE(handle, 0u);
    Outcome outcome;
    char function[] = "F";
    char table_name[] = "SHOWMONILOG";
    ITAB_H itab = ItCreate(table_name, 66, 0, 0);
    RFC_TABLE tables[] = {{table_name, 11, TYPC, 66, itab, RFC_ITMODE_BYREFERENCE, 0},
                          {nullptr, 0, 0, 0, nullptr, RFC_ITMODE_BYREFERENCE, 0}};
    EXPECT_EQ(RfcCall(handle, function, nullptr, tables), RFC_OK);
    char* exception = nullptr;
    outcome.rc = RfcReceive(handle, nullptr, tables, &exception);
    if (exception != nullptr) outcome.exception = exception;
    RfcLastError(&outcome.last_error);
    for (unsigned line = 1; line <= ItFill(itab); ++line)
      outcome.rows += std::string(static_cast<char*>(ItGetLine(itab, line)), 66) + "\n";
    ItDelete(itab);
    outcome.rc_of_next_call = RfcCall(handle, function, nullptr, nullptr);
    RfcClose(handle);
    outcome.trace = testing::read_file(kRfcTraceFile);
    return outcome;
  }

  ScratchDirectory scratch_;
  LibraryReset reset_;
  HandlerLog handler_;
};

void expect_protocol_error(const Outcome& outcome, const std::string& reason) {
  EXPECT_EQ(outcome.rc, RFC_FAILURE);
  EXPECT_NE(outcome.trace.find("ERROR       invalid frame from partner: "), std::string::npos)
      << outcome.trace;
  EXPECT_NE(outcome.trace.find(reason), std::string::npos) << outcome.trace;
  EXPECT_EQ(outcome.rows, "");  // a bad reply changes nothing
  EXPECT_EQ(outcome.rc_of_next_call, RFC_CLOSED);  // the connection was closed
}

TEST_F(HostilePartner, OversizedFrame) {
  FakeGateway gateway(raw_header(1, 5, wire::kMaxPayload + 1) + std::string(64, 'x'), false);
  expect_protocol_error(call(gateway), "frame of 1048577 bytes exceeds the limit");
}

TEST_F(HostilePartner, TruncatedFrameThenClose) {
  const std::string reply = frame(wire::Reply{{}, {{"SHOWMONILOG", 66, {"row"}}}});
  FakeGateway gateway(reply.substr(0, reply.size() - 5), true);
  expect_protocol_error(call(gateway), "cut off");
}

TEST_F(HostilePartner, TextLengthRunningPastTheFrame) {
  const std::string payload = u32(0) + u32(1) + u32(11) + "SHOWMONILOG" + u32(66) + u32(1) +
                              u32(500) + "short";
  FakeGateway gateway(raw_header(1, 5, static_cast<std::uint32_t>(payload.size())) + payload,
                      false);
  expect_protocol_error(call(gateway), "runs past the end");
}

TEST_F(HostilePartner, HeaderLengthShorterThanTheFields) {
  const std::string reply = frame(wire::Reply{{}, {{"SHOWMONILOG", 66, {"row"}}}});
  // The same fields, announced as 4 bytes shorter: the rest is missing from the payload.
  const std::string payload = reply.substr(wire::kHeaderSize);
  FakeGateway gateway(raw_header(1, 5, static_cast<std::uint32_t>(payload.size() - 4)) + payload,
                      false);
  expect_protocol_error(call(gateway), "invalid frame");
}

TEST_F(HostilePartner, MoreRowsThanAnnounced) {
  const std::string payload = u32(0) + u32(1) + u32(11) + "SHOWMONILOG" + u32(66) + u32(1) +
                              u32(3) + "one" + u32(3) + "two";
  FakeGateway gateway(raw_header(1, 5, static_cast<std::uint32_t>(payload.size())) + payload,
                      false);
  expect_protocol_error(call(gateway), "left over");
}

TEST_F(HostilePartner, RowLongerThanTheTableLine) {
  FakeGateway gateway(frame(wire::Reply{{}, {{"SHOWMONILOG", 80, {std::string(70, 'r')}}}}),
                      false);
  expect_protocol_error(call(gateway), "row 1 of table SHOWMONILOG has 70 bytes, the line 66");
}

TEST_F(HostilePartner, WrongVersion) {
  std::string reply = frame(wire::Reply{});
  reply[4] = 2;
  FakeGateway gateway(reply, false);
  expect_protocol_error(call(gateway), "unsupported protocol version 2");
}

TEST_F(HostilePartner, UnexpectedMessageType) {
  FakeGateway gateway(frame(wire::LogonAccepted{"again"}), false);
  expect_protocol_error(call(gateway), "unexpected message type 2");
}

TEST_F(HostilePartner, NoAnswerTimesOut) {
  testing::EnvVar timeout("RFC_CALL_TIMEOUT", "0.3");
  FakeGateway gateway("", false);
  const auto start = std::chrono::steady_clock::now();
  const Outcome outcome = call(gateway);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(outcome.rc, RFC_FAILURE);
  EXPECT_NE(outcome.trace.find("ERROR       timeout during call of F\n"), std::string::npos)
      << outcome.trace;
  EXPECT_GE(seconds, 0.25);
  EXPECT_LT(seconds, 10.0);
  EXPECT_EQ(outcome.rc_of_next_call, RFC_CLOSED);
}

TEST_F(HostilePartner, CloseWithoutAnswerIsASystemException) {
  FakeGateway gateway("", true);
  const Outcome outcome = call(gateway);
  EXPECT_EQ(outcome.rc, RFC_SYS_EXCEPTION);
  EXPECT_EQ(outcome.exception, "COMMUNICATION_FAILURE");
  EXPECT_NE(outcome.trace.find("ERROR       connection closed by partner\n"), std::string::npos);
}

TEST_F(HostilePartner, AbortCallsTheErrorHandler) {
  FakeGateway gateway(frame(wire::Abort{"ABAP runtime error DBIF_RSQL_SQL_ERROR"}), false);
  const Outcome outcome = call(gateway);
  EXPECT_EQ(outcome.rc, RFC_FAILURE);
  EXPECT_EQ(HandlerLog::calls, "RfcReceive;");
  EXPECT_STREQ(outcome.last_error.key, "RFC_ERROR_SYSTEM_FAILURE");
  EXPECT_STREQ(outcome.last_error.message, "ABAP runtime error DBIF_RSQL_SQL_ERROR");
  EXPECT_EQ(outcome.rc_of_next_call, RFC_CLOSED);
  EXPECT_NE(outcome.trace.find("ERROR       ABAP runtime error DBIF_RSQL_SQL_ERROR\n"),
            std::string::npos);
  EXPECT_NE(outcome.trace.find("LOCATION    partner 127.0.0.1:"), std::string::npos);
}

TEST_F(HostilePartner, OtherReturnCodesPassThrough) {
  FakeGateway gateway(frame(wire::Fault{7, "", "odd answer"}), false);
  const Outcome outcome = call(gateway);
  EXPECT_EQ(static_cast<int>(outcome.rc), 7);
  EXPECT_NE(outcome.trace.find("ERROR       odd answer\nTIME"), std::string::npos);
  EXPECT_EQ(outcome.rc_of_next_call, RFC_OK);  // the connection goes on
}

TEST_F(HostilePartner, ShortRowsArePaddedWithBlanks) {
  FakeGateway gateway(frame(wire::Reply{{}, {{"SHOWMONILOG", 66, {"abc", ""}}}}), false);
  const Outcome outcome = call(gateway);
  EXPECT_EQ(outcome.rc, RFC_OK);
  EXPECT_EQ(outcome.rows, "abc" + std::string(63, ' ') + "\n" + std::string(66, ' ') + "\n");
  EXPECT_EQ(outcome.trace, "");
}

TEST_F(HostilePartner, GarbageAnswerToTheLogonFailsTheOpen) {
  FakeGateway gateway("", false, "certainly no frame at all");
  OpenOptions options("fakehost", 0, "127.0.0.1", gateway.service(), "100", "USER", "PW");
  EXPECT_EQ(RfcOpen(options.get()), 0u);
  const std::string trace = testing::read_file(kRfcTraceFile);
  EXPECT_NE(trace.find("ERROR       invalid frame from partner: bad magic"), std::string::npos)
      << trace;
}

TEST_F(HostilePartner, AbortOfTheLogonCallsTheHandlerWithTheOpen) {
  FakeGateway gateway("", false, frame(wire::Abort{"gateway shutting down"}));
  OpenOptions options("fakehost", 0, "127.0.0.1", gateway.service(), "100", "USER", "PW");
  EXPECT_EQ(RfcOpen(options.get()), 0u);
  EXPECT_EQ(HandlerLog::calls, "RfcOpen;");
  RFC_ERROR_INFO info;
  ASSERT_EQ(RfcLastError(&info), 0);
  EXPECT_STREQ(info.key, "RFC_ERROR_SYSTEM_FAILURE");
  EXPECT_STREQ(info.message, "gateway shutting down");
}

}  // namespace
}  // namespace tw::rfclib
