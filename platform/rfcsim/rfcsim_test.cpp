// The library against the simulated SAP side, served in-process on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include "fault_scenario.h"
#include "in_process_simulator.h"
#include "os/rfc_file_names.h"
#include "rfclib/test_support.h"
#include "saprfc.h"
#include "scenario.h"
#include "server.h"
#include "sim_log.h"

namespace tw::rfcsim {
namespace {

using testing::HandlerLog;
using testing::LibraryReset;
using testing::OpenOptions;
using testing::ScratchDirectory;

/// What one call brought back.
struct Result {
  RFC_RC rc = RFC_OK;
  std::string exception;
  std::string rfcsi;
  int current_resources = -1;
  std::string login_complete;
  std::vector<std::string> monilog, statlog;
};

class Simulated : public ::testing::Test {
 protected:
  RFC_HANDLE open(const std::string& ashost, const std::string& user = "MONITOR     ",
                  const std::string& password = "Secret1   ") {
    OpenOptions options(ashost, 0, "127.0.0.1", sim_.service(), "100", user, password);
    return RfcOpen(options.get());
  }

  static Result call_system_info(RFC_HANDLE handle) {
    Result result;
    char rfcsi[200];
    char complete[1];
    int resources = -1;
    char function[] = "RFC_SYSTEM_INFO";
    RFC_PARAMETER importing[] = {
        {const_cast<char*>("RFCSI_EXPORT"), 12, TYPC, sizeof rfcsi, rfcsi},
        {const_cast<char*>("CURRENT_RESOURCES"), 17, TYPINT, sizeof resources, &resources},
        {const_cast<char*>("RFC_LOGIN_COMPLETE"), 18, TYPC, 1, complete},
        {nullptr, 0, 0, 0, nullptr}};
    result.rc = RfcCall(handle, function, nullptr, nullptr);
    if (result.rc != RFC_OK) return result;
    char* exception = nullptr;
    result.rc = RfcReceive(handle, importing, nullptr, &exception);
    if (exception != nullptr) result.exception = exception;
    if (result.rc == RFC_OK) {
      result.rfcsi.assign(rfcsi, sizeof rfcsi);
      result.current_resources = resources;
      result.login_complete.assign(complete, 1);
    }
    return result;
  }

  static Result call_log_statistics(RFC_HANDLE handle, const char* name = "ADA_LOG_STATISTICS") {
    Result result;
    char monilog_name[] = "SHOWMONILOG";
    char statlog_name[] = "SHOWSTATLOG";
    ITAB_H monilog = ItCreate(monilog_name, 66, 0, 0);
    ITAB_H statlog = ItCreate(statlog_name, 66, 0, 0);
    RFC_TABLE tables[] = {{monilog_name, 11, TYPC, 66, monilog, RFC_ITMODE_BYREFERENCE, 0},
                          {statlog_name, 11, TYPC, 66, statlog, RFC_ITMODE_BYREFERENCE, 0},
                          {nullptr, 0, 0, 0, nullptr, RFC_ITMODE_BYREFERENCE, 0}};
    std::string function = name;
    result.rc = RfcCall(handle, function.data(), nullptr, tables);
    if (result.rc == RFC_OK) {
      char* exception = nullptr;
      result.rc = RfcReceive(handle, nullptr, tables, &exception);
      if (exception != nullptr) result.exception = exception;
    }
    for (unsigned i = 1; i <= ItFill(monilog); ++i)
      result.monilog.emplace_back(static_cast<char*>(ItGetLine(monilog, i)), 66);
    for (unsigned i = 1; i <= ItFill(statlog); ++i)
      result.statlog.emplace_back(static_cast<char*>(ItGetLine(statlog, i)), 66);
    ItDelete(monilog);
    ItDelete(statlog);
    return result;
  }

  static std::string trace() { return testing::read_file(kRfcTraceFile); }
  static std::string sim_log() { return testing::read_file("sim.log"); }

  void write_ini(const std::string& ashost) {
    testing::write_file(kRfcParameterFile, "DEST=PRD\nTYPE=A\nASHOST=" + ashost +
                                               "\nSYSNR=00\nGWHOST=127.0.0.1\nGWSERV=" +
                                               sim_.service() + "\n");
  }

  ScratchDirectory scratch_;
  LibraryReset reset_;
  HandlerLog handler_;
  testing::EnvVar no_ini_{"RFC_INI", std::nullopt};
  InProcessSimulator sim_{kFaultScenario};
};

TEST_F(Simulated, HealthyRunWithPaddedLogonWritesNoTrace) {
  const RFC_HANDLE handle = open("sapprd");
  ASSERT_NE(handle, 0u);
  const Result info = call_system_info(handle);
  ASSERT_EQ(info.rc, RFC_OK) << trace();
  EXPECT_EQ(info.rfcsi.substr(101, 10), "ADABAS D  ");
  EXPECT_EQ(info.rfcsi.substr(45, 8), "sapprd  ");
  EXPECT_EQ(info.rfcsi.substr(53, 8), "PRD     ");
  EXPECT_EQ(info.current_resources, 4);
  EXPECT_EQ(info.login_complete, "X");
  const Result stats = call_log_statistics(handle);
  ASSERT_EQ(stats.rc, RFC_OK);
  ASSERT_EQ(stats.monilog.size(), 2u);
  EXPECT_EQ(stats.monilog[0], "Log queue overflows" + std::string(21, ' ') + "0" +
                                  std::string(25, ' '));
  ASSERT_EQ(stats.statlog.size(), 1u);
  RfcClose(handle);
  EXPECT_FALSE(std::filesystem::exists(kRfcTraceFile));
  EXPECT_EQ(handler_.calls, "");
  EXPECT_EQ(sim_log(),
            "LOGON client=[100] user=[MONITOR     ] lang=[E] ashost=[sapprd] sysnr=[00]\n"
            "CALL RFC_SYSTEM_INFO\n"
            "CALL ADA_LOG_STATISTICS\n");
}

TEST_F(Simulated, RejectedLogonIsToldAtTheFirstCallOnRfcOpen) {
  const RFC_HANDLE handle = open("sapprd", "MONITOR", "Wrong-pw");
  ASSERT_NE(handle, 0u);
  const Result info = call_system_info(handle);
  EXPECT_EQ(info.rc, RFC_SYS_EXCEPTION);
  // The exception is named; the text is the trace file's and the last error's.
  EXPECT_EQ(info.exception, "SYSTEM_FAILURE");
  EXPECT_NE(trace().find("ERROR       Name or password is incorrect (repeat logon)\n"),
            std::string::npos);
  EXPECT_EQ(sim_log().find("Wrong-pw"), std::string::npos);
  EXPECT_EQ(trace().find("Wrong-pw"), std::string::npos);
}

TEST_F(Simulated, RejectedLogonFailsRfcOpenExAtOnce) {
  write_ini("sapprd");
  RFC_ERROR_INFO_EX info;
  EXPECT_EQ(tw::testing::open_ex("CLIENT=100 USER=monitor PASSWD=Wrong-pw LANG=E DEST=PRD", &info), 0u);
  EXPECT_EQ(info.group, RFC_ERROR_LOGON_FAILURE);
  EXPECT_STREQ(info.key, "RFC_ERROR_LOGON_FAILURE");
  EXPECT_STREQ(info.message, "Name or password is incorrect (repeat logon)");
  EXPECT_EQ(sim_log().find("CALL"), std::string::npos);

  const RFC_HANDLE handle = tw::testing::open_ex("client=100 user=monitor passwd=Secret1 lang=E dest=PRD",
                                      &info);
  ASSERT_NE(handle, 0u) << info.message;
  EXPECT_EQ(call_system_info(handle).rc, RFC_OK);
  EXPECT_EQ(sim_log().find("Secret1"), std::string::npos);
  EXPECT_EQ(trace().find("Wrong-pw"), std::string::npos);
}

TEST_F(Simulated, UnknownSystemFailsTheOpenBothWays) {
  EXPECT_EQ(open("sapxyz"), 0u);
  const std::string text = "partner '127.0.0.1:" + sim_.service() + "' not reached";
  EXPECT_NE(trace().find("ERROR       " + text + "\n"), std::string::npos) << trace();
  write_ini("sapxyz");
  RFC_ERROR_INFO_EX info;
  EXPECT_EQ(tw::testing::open_ex("CLIENT=100 USER=MONITOR PASSWD=Secret1 DEST=PRD", &info), 0u);
  EXPECT_EQ(info.group, RFC_ERROR_COMMUNICATION);
  EXPECT_EQ(info.message, text);
}

TEST_F(Simulated, EveryFaultOfACall) {
  testing::EnvVar timeout("RFC_CALL_TIMEOUT", "0.3");
  struct Case {
    const char* ashost;
    bool statistics;  // else RFC_SYSTEM_INFO
    int rc;
    const char* exception;  // the name RfcReceive hands out; "" for none
    const char* trace_text;
  };
  const Case cases[] = {
      {"f-failure", false, 1, "", "system info failed badly"},
      {"f-exception", true, 2, "NO_DATA", "no statistics today"},
      {"f-sysexc", false, 3, "SYSTEM_FAILURE", "system exception in call of RFC_SYSTEM_INFO"},
      {"f-code", false, 7, "", "call of RFC_SYSTEM_INFO failed with return code 7"},
      {"f-drop", false, 3, "COMMUNICATION_FAILURE", "connection closed by partner"},
      {"f-hang", true, 1, "", "timeout during call of ADA_LOG_STATISTICS"},
      {"f-abort", false, 1, "", "ABAP/4 processor: SYSTEM_CORE_DUMPED"},
      {"f-garbage", false, 1, "", "invalid frame from partner: bad magic"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ashost);
    handler_.calls.clear();
    const RFC_HANDLE handle = open(c.ashost);
    ASSERT_NE(handle, 0u);
    const Result result = c.statistics ? call_log_statistics(handle) : call_system_info(handle);
    EXPECT_EQ(static_cast<int>(result.rc), c.rc);
    EXPECT_EQ(result.exception, c.exception);
    EXPECT_NE(trace().find(std::string("ERROR       ") + c.trace_text + "\n"), std::string::npos);
    EXPECT_EQ(handler_.calls, std::string(c.ashost) == "f-abort" ? "RfcReceive;" : "");
    RfcClose(handle);
  }
}

TEST_F(Simulated, UnknownFunctionRaisesAnException) {
  const RFC_HANDLE handle = open("sapprd");
  const Result result = call_log_statistics(handle, "Z_NO_SUCH_FUNCTION");
  EXPECT_EQ(result.rc, RFC_EXCEPTION);
  EXPECT_EQ(result.exception, "FUNCTION_NOT_FOUND");
  EXPECT_EQ(call_system_info(handle).rc, RFC_OK);  // the connection goes on
}

TEST_F(Simulated, FaultsOfTheLogon) {
  testing::EnvVar timeout("RFC_CALL_TIMEOUT", "0.3");
  EXPECT_EQ(open("l-hang"), 0u);
  EXPECT_NE(trace().find("ERROR       timeout during logon to partner '127.0.0.1:"),
            std::string::npos);
  EXPECT_EQ(open("l-drop"), 0u);
  EXPECT_NE(trace().find("ERROR       connection closed by partner\n"), std::string::npos);
  EXPECT_EQ(open("l-failure"), 0u);
  EXPECT_NE(trace().find("ERROR       logon failed\n"), std::string::npos);
  const RFC_HANDLE deferred = open("l-reject");
  ASSERT_NE(deferred, 0u);
  const Result result = call_system_info(deferred);
  EXPECT_EQ(result.rc, RFC_SYS_EXCEPTION);
  EXPECT_EQ(result.exception, "SYSTEM_FAILURE");
  EXPECT_NE(trace().find("ERROR       user account locked\n"), std::string::npos);
}

TEST_F(Simulated, AHangingSessionHoldsUpNoOtherAndNotTheShutdown) {
  const RFC_HANDLE hanging = open("f-hang");
  ASSERT_NE(hanging, 0u);
  char function[] = "ADA_LOG_STATISTICS";
  ASSERT_EQ(RfcCall(hanging, function, nullptr, nullptr), RFC_OK);
  const RFC_HANDLE healthy = open("sapprd");
  ASSERT_NE(healthy, 0u);
  EXPECT_EQ(call_system_info(healthy).rc, RFC_OK);
  EXPECT_TRUE(sim_.stop());  // while the hanging session still waits
}

}  // namespace
}  // namespace tw::rfcsim
