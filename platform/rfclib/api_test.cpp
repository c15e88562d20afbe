// The C API where no partner answers: arguments, handles, structures, unreachable gateways.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "itab.h"
#include "library_state.h"
#include "os/rfc_file_names.h"
#include "saprfc.h"
#include "test_support.h"

namespace {

using tw::testing::HandlerLog;
using tw::testing::LibraryReset;
using tw::testing::OpenOptions;
using tw::testing::ScratchDirectory;

class Api : public ::testing::Test {
 protected:
  std::string trace() const { return tw::testing::read_file(tw::kRfcTraceFile); }
  RFC_ERROR_INFO last_error() const {
    RFC_ERROR_INFO info;
    EXPECT_EQ(RfcLastError(&info), 0);
    return info;
  }

  ScratchDirectory scratch_;
  LibraryReset reset_;
  HandlerLog handler_;
};

/* A listening socket on 127.0.0.1 that never accepts; its backlog holds one connection. */
struct Listener {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  std::uint16_t port = 0;
  Listener() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    ::listen(fd, 0);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    port = ntohs(address.sin_port);
  }
  ~Listener() { ::close(fd); }
};

TEST_F(Api, CleanRunWritesNoTraceFile) {
  char name[] = "T";
  ITAB_H table = ItCreate(name, 10, 0, 0);
  ItAppLine(table);
  ItDelete(table);
  RfcClose(0);
  RfcClose(12345);  // unknown handles are passed over
  EXPECT_FALSE(std::filesystem::exists(tw::kRfcTraceFile));
  EXPECT_EQ(HandlerLog::calls, "");
}

TEST_F(Api, UnknownHandlesCallTheErrorHandler) {
  char function[] = "RFC_SYSTEM_INFO";
  EXPECT_EQ(RfcCall(77, function, nullptr, nullptr), RFC_INVALID_HANDLE);
  char* exception = nullptr;
  EXPECT_EQ(RfcReceive(78, nullptr, nullptr, &exception), RFC_INVALID_HANDLE);
  EXPECT_EQ(HandlerLog::calls, "RfcCall;RfcReceive;");
  EXPECT_STREQ(last_error().key, "RFC_ERROR_INVALID_HANDLE");
  EXPECT_NE(trace().find("ERROR       invalid handle 77\n"), std::string::npos);
}

TEST_F(Api, ConnectionRefusedFailsTheOpen) {
  std::uint16_t port;
  {
    Listener closed_soon;
    port = closed_soon.port;
  }
  OpenOptions options("sapprd", 0, "127.0.0.1", std::to_string(port), "100", "U", "secret");
  EXPECT_EQ(RfcOpen(options.get()), 0u);
  const std::string partner = "127.0.0.1:" + std::to_string(port);
  EXPECT_STREQ(last_error().message, ("partner '" + partner + "' not reached").c_str());
  EXPECT_NE(trace().find("ERROR       partner '" + partner + "' not reached\n"
                         "DETAIL      connection refused\n"),
            std::string::npos)
      << trace();
  EXPECT_EQ(trace().find("secret"), std::string::npos);
  EXPECT_EQ(HandlerLog::calls, "");
}

TEST_F(Api, UnknownHostFailsTheOpen) {
  OpenOptions options("sapprd", 0, "no-such-host.invalid", "3300", "100", "U", "P");
  EXPECT_EQ(RfcOpen(options.get()), 0u);
  EXPECT_NE(trace().find("partner 'no-such-host.invalid:3300' not reached\n"
                         "DETAIL      host unknown\n"),
            std::string::npos)
      << trace();
}

TEST_F(Api, ConnectTimeoutFailsTheOpen) {
  tw::testing::EnvVar timeout("RFC_CONNECT_TIMEOUT", "0.3");
  Listener full;
  // Fill the backlog, so that the next connection attempt waits unanswered.
  const int first = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(full.port);
  ASSERT_EQ(::connect(first, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  OpenOptions options("sapprd", 0, "127.0.0.1", std::to_string(full.port), "100", "U", "P");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RfcOpen(options.get()), 0u);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ::close(first);
  EXPECT_NE(trace().find("not reached\nDETAIL      timed out\n"), std::string::npos) << trace();
  EXPECT_GE(seconds, 0.25);
  EXPECT_LT(seconds, 10.0);
}

TEST_F(Api, UnknownServiceFailsTheOpen) {
  OpenOptions options("sapprd", 0, "", "no-such-gateway-service", "100", "U", "P");
  EXPECT_EQ(RfcOpen(options.get()), 0u);
  EXPECT_STREQ(last_error().message, "service 'no-such-gateway-service' unknown");
}

TEST_F(Api, BadOptionsFailTheOpen) {
  EXPECT_EQ(RfcOpen(nullptr), 0u);
  OpenOptions bad_sysnr("sapprd", 100, "", "", "100", "U", "P");
  EXPECT_EQ(RfcOpen(bad_sysnr.get()), 0u);
  EXPECT_NE(std::string(last_error().message).find("system number 100"), std::string::npos);
  OpenOptions cpic("sapprd", 0, "", "", "100", "U", "P");
  cpic.get()->mode = RFC_MODE_CPIC;
  EXPECT_EQ(RfcOpen(cpic.get()), 0u);
  EXPECT_STREQ(last_error().key, "RFC_ERROR_PARAMETER");
}

TEST_F(Api, OpenExNeedsAReadableParameterFileAndTheDestination) {
  RFC_ERROR_INFO_EX info;
  {
    tw::testing::EnvVar ini("RFC_INI", std::nullopt);
    EXPECT_EQ(tw::testing::open_ex("CLIENT=100 USER=U PASSWD=topsecret DEST=PRD", &info), 0u);
    EXPECT_EQ(info.group, RFC_ERROR_PROGRAM);
    EXPECT_EQ(std::string(info.message),
              "parameter file '" + std::string(tw::kRfcParameterFile) + "' cannot be read");
  }
  tw::testing::write_file("other.ini", "DEST=PRD\nTYPE=B\nDEST=DEV\nSYSNR=0\n");
  tw::testing::EnvVar ini("RFC_INI", "other.ini");
  EXPECT_EQ(tw::testing::open_ex("DEST=QAS", &info), 0u);
  EXPECT_STREQ(info.message, "destination 'QAS' not found in 'other.ini'");
  EXPECT_EQ(tw::testing::open_ex("DEST=PRD", &info), 0u);
  EXPECT_NE(std::string(info.message).find("TYPE=B"), std::string::npos);
  EXPECT_EQ(tw::testing::open_ex("DEST=DEV", &info), 0u);
  EXPECT_STREQ(info.message, "destination 'DEV' has no ASHOST");
  EXPECT_EQ(tw::testing::open_ex("PASSWD=topsecret", &info), 0u);
  EXPECT_STREQ(info.key, "RFC_ERROR_PARAMETER");
  EXPECT_EQ(RfcOpenEx(nullptr, nullptr), 0u);
  EXPECT_EQ(trace().find("topsecret"), std::string::npos);
}

TEST_F(Api, InstalledStructuresGetHandlesAwayFromTheTypeCodes) {
  char first[] = "RFCSI";
  char second[] = "SHOWLOG";
  char field[] = "F";
  RFC_TYPE_ELEMENT elements[] = {{field, TYPC, 3, 0, 0}, {field, TYPINT, 4, 0, 0}};
  RFC_TYPEHANDLE a = 0, b = 0, again = 0;
  ASSERT_EQ(RfcInstallStructure(first, elements, 2, &a), RFC_OK);
  ASSERT_EQ(RfcInstallStructure(second, elements, 1, &b), RFC_OK);
  ASSERT_EQ(RfcInstallStructure(first, elements, 1, &again), RFC_OK);
  EXPECT_GE(a, 1000u);
  EXPECT_NE(a, b);
  EXPECT_EQ(a, again);
  // The structure installed first stays as it was.
  ASSERT_EQ(tw::rfclib::state().structures.size(), 2u);
  EXPECT_EQ(tw::rfclib::state().structures[0].elements.size(), 2u);
  EXPECT_EQ(RfcInstallStructure(nullptr, elements, 1, &a), RFC_INVALID_PARAMETER);
  EXPECT_EQ(RfcInstallStructure(first, nullptr, 1, &a), RFC_INVALID_PARAMETER);
}

TEST_F(Api, LastErrorTellsWhetherThereIsOne) {
  RFC_ERROR_INFO info;
  std::memset(&info, 'x', sizeof info);
  EXPECT_EQ(RfcLastError(&info), 1);  // nothing failed yet
  EXPECT_STREQ(info.key, "");
  RfcClose(0);
  EXPECT_EQ(RfcLastError(&info), 1);
  EXPECT_EQ(RfcOpen(nullptr), 0u);
  EXPECT_EQ(RfcLastError(&info), 0);
  EXPECT_STRNE(info.key, "");
}

TEST_F(Api, LastErrorFieldsStayTerminatedWithinTheirSize) {
  OpenOptions options("sapprd", 0, "", std::string(300, 's'), "100", "U", "P");
  EXPECT_EQ(RfcOpen(options.get()), 0u);
  RFC_ERROR_INFO info;
  std::memset(&info, 'x', sizeof info);
  ASSERT_EQ(RfcLastError(&info), 0);
  EXPECT_EQ(std::strlen(info.message), sizeof info.message - 1);
  EXPECT_LT(std::strlen(info.key), sizeof info.key);
  EXPECT_EQ(RfcLastError(nullptr), 1);
}

}  // namespace
