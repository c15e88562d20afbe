// The bridge against a NetWeaver library of the tests' own: what it opens with, how answers
// land in the classic records and tables, and what each failure means to a classic caller.
#include "rfc/nw/bridge.h"

#include <gtest/gtest.h>

#include <cstring>

#include "itab.h"
#include "output/trace.h"
#include "rfc/nw/bridge_failure.h"
#include "support/fake_nw_library.h"
#include "test_support.h"

namespace tw::nw {
namespace {

using testing::FakeField;
using testing::FakeNwLibrary;
using Kind = FakeField::Kind;

constexpr int kAbapApplication = 1, kAbapRuntime = 2, kLogon = 3, kCommunication = 4;

struct HandlerCalls {
  static inline std::string calls;
  static void SAP_API handler(char* operation) { calls += std::string(operation) + ";"; }
};

class Bridge : public ::testing::Test {
 protected:
  void SetUp() override {
    library_.reset();
    bridge() = BridgeState{};
    use_api(library_.api());
    HandlerCalls::calls.clear();
    RFC_ENV environment{&HandlerCalls::handler, nullptr};
    bridge_environment(&environment);
    library_.add_function(
        "RFC_SYSTEM_INFO",
        {{"RFCSI_EXPORT", Kind::kStructure, 0,
          {{"RFCPROTO", Kind::kChars, 3},
           {"RFCDEST", Kind::kChars, 32},
           {"RFCHOST", Kind::kChars, 8},
           {"RFCDBSYS", Kind::kChars, 10},
           {"RFCIPV6ADDR", Kind::kChars, 45},
           {"COUNT", Kind::kInteger}}},
         {"CURRENT_RESOURCES", Kind::kInteger},
         {"KERNEL", Kind::kString}});
    library_.add_function("ADA_LOG_STATISTICS",
                          {{"SHOWMONILOG", Kind::kTable, 0,
                            {{"R1", Kind::kChars, 40}, {"R2", Kind::kChars, 26}}},
                           {"MODE", Kind::kChars, 4},
                           {"LIMIT", Kind::kInteger}});
  }
  void TearDown() override { library_.reset(); }

  RFC_HANDLE open() {
    testing::OpenOptions options("sapprd", 0, "", "", "100", "MONITOR     ", "Mon1tor   ");
    return bridge_open(options.get());
  }
  /// RfcCall and RfcReceive of RFC_SYSTEM_INFO without anything to fill.
  RFC_RC call(RFC_HANDLE handle, char** exception) {
    char function[] = "RFC_SYSTEM_INFO";
    RFC_RC rc = bridge_call(handle, function, nullptr, nullptr);
    if (rc != RFC_OK) return rc;
    RFC_PARAMETER none[1] = {};
    return bridge_receive(handle, none, nullptr, exception);
  }
  RFC_ERROR_INFO last_error() {
    RFC_ERROR_INFO info{};
    bridge_last_error(&info);
    return info;
  }
  /// The notice the sensor appends from Dev_Rfc.Trc.
  static std::string trace_notice() {
    Report report;
    append_trace_notice(report);
    return report.buffer;
  }

  testing::ScratchDirectory scratch_;
  FakeNwLibrary& library_ = FakeNwLibrary::instance();
};

using Parameters = std::vector<std::pair<std::u16string, std::u16string>>;

/// RfcOpenEx of the bridge on a modifiable copy of `text`, as the interface wants it.
RFC_HANDLE open_ex(std::string text, RFC_ERROR_INFO_EX* info) {
  return bridge_open_ex(text.data(), info);
}

TEST_F(Bridge, OpenPassesTheClassicOptionsWithoutTheirPadding) {
  testing::OpenOptions options("sapprd", 7, "gwprd", "sapgw07", "100", "monitor     ",
                               "Se cret   ");
  EXPECT_EQ(bridge_open(options.get()), 1u);
  EXPECT_EQ(library_.open_parameters,
            (Parameters{{u"ASHOST", u"sapprd"}, {u"SYSNR", u"07"}, {u"GWHOST", u"gwprd"},
                        {u"GWSERV", u"sapgw07"}, {u"CLIENT", u"100"}, {u"USER", u"monitor"},
                        {u"PASSWD", u"Se cret"}, {u"LANG", u"E"}}));
  EXPECT_EQ(open(), 2u);  // small handles, one after the other
  testing::OpenOptions bad_number("sapprd", 100, "", "", "100", "U", "P");
  EXPECT_EQ(bridge_open(bad_number.get()), 0u);  // refused as the classic library refuses it
  EXPECT_EQ(library_.opens, 2);
  EXPECT_STREQ(last_error().key, "RFC_ERROR_PARAMETER");
}

TEST_F(Bridge, OpenExTakesTheDestinationFromTheClassicParameterFile) {
  std::ofstream("my.ini") << "DEST=PRD\nTYPE=A\nASHOST=sapprd\nSYSNR=01\n\n"
                             "DEST=LB\nTYPE=B\nMSHOST=sapms\nMSSERV=3601\nR3NAME=QAS\n"
                             "GROUP=SPACE\n";
  std::ofstream("sapnwrfc.ini") << "DEST=PRD\nASHOST=elsewhere\nSYSNR=99\n";
  testing::EnvVar ini("RFC_INI", "my.ini");
  RFC_ERROR_INFO_EX info{};
  EXPECT_EQ(open_ex("CLIENT=100 USER=monitor PASSWD=\"pw x\" LANG=D DEST=PRD", &info),
            1u);
  EXPECT_EQ(library_.open_parameters,
            (Parameters{{u"ASHOST", u"sapprd"}, {u"SYSNR", u"01"}, {u"CLIENT", u"100"},
                        {u"USER", u"monitor"}, {u"PASSWD", u"pw x"}, {u"LANG", u"D"}}));
  EXPECT_EQ(open_ex("CLIENT=100 USER=u PASSWD=p DEST=lb", &info),
            2u);
  EXPECT_EQ(library_.open_parameters,
            (Parameters{{u"MSHOST", u"sapms"}, {u"MSSERV", u"3601"}, {u"SYSID", u"QAS"},
                        {u"GROUP", u"SPACE"}, {u"CLIENT", u"100"}, {u"USER", u"u"},
                        {u"PASSWD", u"p"}}));
  EXPECT_EQ(open_ex("USER=u PASSWD=p DEST=XYZ", &info), 0u);
  EXPECT_STREQ(info.key, "RFC_ERROR_PARAMETER");
  EXPECT_STREQ(info.message, "destination 'XYZ' not found in 'my.ini'");
  EXPECT_EQ(library_.opens, 2);
}

TEST_F(Bridge, RefusedOpensLeaveTheClassicLastErrorAndTraceEntry) {
  library_.fail_next_open({2, kLogon, u"RFC_LOGON_FAILURE",
                           u"Name or password is incorrect (repeat logon)"});
  EXPECT_EQ(open(), 0u);
  EXPECT_STREQ(last_error().key, "RFC_ERROR_LOGON_FAILURE");
  EXPECT_STREQ(last_error().message, "Name or password is incorrect (repeat logon)");
  EXPECT_EQ(trace_notice(), " - Name or password is incorrect (repeat logon)");
  const std::string trace = testing::read_file(kRfcTraceFile);
  EXPECT_EQ(trace.rfind("**** ERROR file opened at ", 0), 0u);
  EXPECT_NE(trace.find(" ======> Name or password is incorrect (repeat logon)\n"),
            std::string::npos);

  library_.fail_next_open({1, kCommunication, u"RFC_COMMUNICATION_FAILURE",
                           u"\nLOCATION    CPIC (TCP/IP) on local host with Unicode\n"
                           u"ERROR       partner 'sapprd:3300' not reached\n"
                           u"TIME        Thu Jan 01 00:00:00 2026\n"
                           u"DETAIL      NiPConnect2: 127.0.0.1:3300\n"});
  EXPECT_EQ(open(), 0u);
  EXPECT_STREQ(last_error().key, "RFC_ERROR_COMMUNICATION");
  EXPECT_STREQ(last_error().message, "partner 'sapprd:3300' not reached");
  EXPECT_EQ(trace_notice(), " - partner 'sapprd:3300' not reached");
  EXPECT_EQ(HandlerCalls::calls, "");  // a refused open is no case for the error handler
}

TEST_F(Bridge, AnswersFillTheInstalledLayoutFieldByName) {
  RFC_TYPE_ELEMENT elements[] = {{const_cast<char*>("RFCPROTO"), TYPC, 3, 0, 0},
                                 {const_cast<char*>("RFCHOST"), TYPC, 8, 0, 0},
                                 {const_cast<char*>("RFCDBSYS"), TYPC, 10, 0, 0},
                                 {const_cast<char*>("NOT_SENT"), TYPC, 4, 0, 0},
                                 {const_cast<char*>("COUNT"), TYPINT, 4, 0, 0}};
  RFC_TYPEHANDLE rfcsi = 0;
  char name[] = "RFCSI";
  ASSERT_EQ(bridge_install_structure(name, elements, 5, &rfcsi), RFC_OK);
  library_.answer("RFCSI_EXPORT.RFCPROTO", u"011");
  library_.answer("RFCSI_EXPORT.RFCHOST", u"prdh\u00f6st\u20ac");  // ö and € are in 1252
  library_.answer("RFCSI_EXPORT.RFCDBSYS", u"ADA \u03a9 \U0001F600");  // Ω and 😀 are not
  library_.answer("RFCSI_EXPORT.RFCIPV6ADDR", u"::1");
  library_.answer("RFCSI_EXPORT.COUNT", u"-7");
  library_.answer("CURRENT_RESOURCES", u"42");
  library_.answer("KERNEL", u"753 patch 1100, a text longer than the field");

  const RFC_HANDLE handle = open();
  char function[] = "RFC_SYSTEM_INFO";
  ASSERT_EQ(bridge_call(handle, function, nullptr, nullptr), RFC_OK);
  char record[29];
  std::memset(record, 'x', sizeof record);
  int resources = 0;
  char kernel[6] = "?????";
  char untouched[3] = "uu";
  RFC_PARAMETER importing[] = {
      {const_cast<char*>("RFCSI_EXPORT"), 12, rfcsi, 29, record},
      {const_cast<char*>("CURRENT_RESOURCES"), 17, TYPINT, 4, &resources},
      {const_cast<char*>("KERNEL"), 6, TYPC, 5, kernel},
      {const_cast<char*>("NOT_A_PARAMETER"), 15, TYPC, 2, untouched},
      {nullptr, 0, 0, 0, nullptr}};
  char* exception = reinterpret_cast<char*>(1);
  ASSERT_EQ(bridge_receive(handle, importing, nullptr, &exception), RFC_OK);
  EXPECT_EQ(exception, nullptr);
  int count = 0;
  std::memcpy(&count, record + 25, sizeof count);
  EXPECT_EQ(std::string(record, 25), "011prdh\xF6st\x80" "ADA ? ?   " "    ");
  EXPECT_EQ(count, -7);
  EXPECT_EQ(resources, 42);
  EXPECT_EQ(std::string(kernel, 5), "753 p");
  EXPECT_EQ(std::string(untouched), "uu");  // a parameter the function lacks stays as it was
}

TEST_F(Bridge, RowsComeIntoTheBridgesOwnTablesAndGoOutInTheirLayout) {
  RFC_TYPE_ELEMENT elements[] = {{const_cast<char*>("R1"), TYPC, 40, 0, 0},
                                 {const_cast<char*>("R2"), TYPC, 26, 0, 0}};
  RFC_TYPEHANDLE ada_show = 0;
  char name[] = "ADA_SHOW";
  ASSERT_EQ(bridge_install_structure(name, elements, 2, &ada_show), RFC_OK);
  library_.answer_row("SHOWMONILOG", {{"R1", u"LOG QUEUE PAGES"}, {"R2", u"400"}});
  library_.answer_row("SHOWMONILOG", {{"R1", u"LOG QUEUE OVERFLOWS"}, {"R2", u"1.234"}});

  char table_name[] = "SHOWMONILOG";
  ITAB_H rows = bridge_it_create(table_name, 66, 0, 0);
  ASSERT_NE(rows, nullptr);
  // One row of its own goes out with the call, as the classic library sends it.
  auto* itab = static_cast<rfclib::Itab*>(rows);
  char* line = static_cast<char*>(rfclib::append_line(*itab));
  std::memset(line, ' ', 66);
  std::memcpy(line, "G\xF6\xDF" "e", 4);
  char mode[] = "FULL";
  int limit = 9;
  RFC_PARAMETER exporting[] = {{const_cast<char*>("MODE"), 4, TYPC, 4, mode},
                               {const_cast<char*>("LIMIT"), 5, TYPINT, 4, &limit},
                               {nullptr, 0, 0, 0, nullptr}};
  RFC_TABLE tables[] = {{table_name, 11, ada_show, 66, rows, RFC_ITMODE_BYREFERENCE, 0},
                        {nullptr, 0, 0, 0, nullptr, RFC_ITMODE_BYREFERENCE, 0}};
  const RFC_HANDLE handle = open();
  char function[] = "ADA_LOG_STATISTICS";
  ASSERT_EQ(bridge_call(handle, function, exporting, tables), RFC_OK);
  RFC_PARAMETER none[1] = {};
  char* exception = nullptr;
  ASSERT_EQ(bridge_receive(handle, none, tables, &exception), RFC_OK);

  EXPECT_EQ(library_.inputs["MODE"], u"FULL");
  EXPECT_EQ(library_.inputs["LIMIT"], u"9");
  ASSERT_EQ(library_.input_rows["SHOWMONILOG"].size(), 1u);
  EXPECT_EQ(library_.input_rows["SHOWMONILOG"][0]["R1"], u"G\u00f6\u00dfe");
  // The table comes back whole, as the system left it (here: its row, then two more); the
  // rows that went out are not kept twice.
  ASSERT_EQ(bridge_it_fill(rows), 3u);
  EXPECT_EQ(std::string(static_cast<char*>(bridge_it_get_line(rows, 1)), 5), "G\xF6\xDF" "e ");
  EXPECT_EQ(std::string(static_cast<char*>(bridge_it_get_line(rows, 2)), 66),
            std::string("LOG QUEUE PAGES") + std::string(25, ' ') + "400" + std::string(23, ' '));
  EXPECT_EQ(std::string(static_cast<char*>(bridge_it_get_line(rows, 3)) + 40, 5), "1.234");
  EXPECT_EQ(bridge_it_get_line(rows, 0), nullptr);
  EXPECT_EQ(bridge_it_get_line(rows, 4), nullptr);
  EXPECT_EQ(bridge_it_delete(rows), 0);
  EXPECT_EQ(bridge_it_delete(nullptr), 1);
}

TEST_F(Bridge, RowsWithoutAnInstalledStructureAreRefusedNotGuessed) {
  char table_name[] = "SHOWMONILOG";
  ITAB_H rows = bridge_it_create(table_name, 66, 0, 0);
  RFC_TABLE tables[] = {{table_name, 11, TYPC, 66, rows, RFC_ITMODE_BYREFERENCE, 0},
                        {nullptr, 0, 0, 0, nullptr, RFC_ITMODE_BYREFERENCE, 0}};
  const RFC_HANDLE handle = open();
  char function[] = "ADA_LOG_STATISTICS";
  ASSERT_EQ(bridge_call(handle, function, nullptr, tables), RFC_OK);
  RFC_PARAMETER none[1] = {};
  EXPECT_EQ(bridge_receive(handle, none, tables, nullptr), RFC_FAILURE);
  EXPECT_EQ(library_.calls, 0);
  EXPECT_NE(std::string(last_error().message).find("no installed structure"), std::string::npos);
  bridge_it_delete(rows);
}

/// A failure of the library's call and what the classic caller must see of it.
struct CallCase {
  testing::FakeFailure failure;
  RFC_RC rc;
  const char* exception;  ///< NULL: none
  bool still_open;
  const char* notice;     ///< the sensor's trace notice
  const char* key;        ///< RfcLastError's key
};

TEST_F(Bridge, EachFailureOfACallMeansWhatTheClassicLibraryAnswers) {
  const std::u16string ni_block =
      u"\nLOCATION    CPIC (TCP/IP) on local host with Unicode\n"
      u"ERROR       connection to partner 'sapprd:3300' broken\n"
      u"TIME        Thu Jan 01 00:00:00 2026\nDETAIL      NiIRead: P=127.0.0.1:3300\n";
  const CallCase cases[] = {
      {{5, kAbapApplication, u"NO_STATISTICS", u""}, RFC_EXCEPTION, "NO_STATISTICS", true,
       " - exception NO_STATISTICS raised in call of RFC_SYSTEM_INFO",
       "RFC_ERROR_APPLICATION_EXCEPTION"},
      {{5, kAbapApplication, u"NO_STATISTICS", u"no statistics today"}, RFC_EXCEPTION,
       "NO_STATISTICS", true, " - no statistics today", "RFC_ERROR_APPLICATION_EXCEPTION"},
      {{3, kAbapRuntime, u"SYSTEM_FAILURE", u""}, RFC_SYS_EXCEPTION, "SYSTEM_FAILURE", false,
       " - system exception in call of RFC_SYSTEM_INFO", "RFC_ERROR_SYSTEM_FAILURE"},
      {{4, kAbapRuntime, u"", u"kernel said: no"}, RFC_SYS_EXCEPTION, "SYSTEM_FAILURE", false,
       " - kernel said: no", "RFC_ERROR_SYSTEM_FAILURE"},
      {{1, kCommunication, u"RFC_COMMUNICATION_FAILURE", ni_block}, RFC_SYS_EXCEPTION,
       "COMMUNICATION_FAILURE", false, " - connection to partner 'sapprd:3300' broken",
       "RFC_ERROR_COMMUNICATION"},
      {{8, kCommunication, u"RFC_TIMEOUT", u""}, RFC_FAILURE, nullptr, false,
       " - timeout during call of RFC_SYSTEM_INFO", "RFC_ERROR_COMMUNICATION"},
      {{28, 5, u"RFC_UNKNOWN_ERROR", u""}, RFC_FAILURE, nullptr, true,
       " - call of RFC_SYSTEM_INFO failed with return code 1", "RFC_ERROR_CALL_FAILURE"},
      {{28, 5, u"RFC_UNKNOWN_ERROR", u"Queue <full> & stuck"}, RFC_FAILURE, nullptr, true,
       " - Queue <full> & stuck", "RFC_ERROR_CALL_FAILURE"},
  };
  for (const CallCase& c : cases) {
    SCOPED_TRACE(c.notice);
    const int closes = library_.closes;
    const RFC_HANDLE handle = open();
    library_.fail_next_call(c.failure);
    char* exception = reinterpret_cast<char*>(1);
    EXPECT_EQ(call(handle, &exception), c.rc);
    if (c.exception == nullptr) {
      EXPECT_EQ(exception, nullptr);
    } else {
      ASSERT_NE(exception, nullptr);
      EXPECT_STREQ(exception, c.exception);
    }
    EXPECT_EQ(trace_notice(), c.notice);
    EXPECT_STREQ(last_error().key, c.key);
    char* next = nullptr;
    EXPECT_EQ(call(handle, &next), c.still_open ? RFC_OK : RFC_CLOSED);
    // Only a connection the library keeps open is closed by the bridge.
    EXPECT_EQ(library_.closes - closes, c.failure.code == 8 ? 1 : 0);
  }
  EXPECT_EQ(HandlerCalls::calls, "");
}

TEST_F(Bridge, TheErrorHandlerHearsOfUnknownHandlesAndMemoryOnly) {
  char* exception = nullptr;
  EXPECT_EQ(call(5, &exception), RFC_INVALID_HANDLE);
  EXPECT_EQ(HandlerCalls::calls, "RfcCall;");
  const RFC_HANDLE handle = open();
  RFC_PARAMETER none[1] = {};
  EXPECT_EQ(bridge_receive(handle, none, nullptr, &exception), RFC_FAILURE);  // nothing sent
  EXPECT_EQ(bridge_receive(77, none, nullptr, &exception), RFC_INVALID_HANDLE);
  library_.fail_next_call({9, 5, u"RFC_MEMORY_INSUFFICIENT", u""});
  EXPECT_EQ(call(handle, &exception), RFC_MEMORY_INSUFFICIENT);
  EXPECT_EQ(HandlerCalls::calls, "RfcCall;RfcReceive;RfcReceive;");
  char function[] = "RFC_SYSTEM_INFO";
  ASSERT_EQ(bridge_call(handle, function, nullptr, nullptr), RFC_OK);
  EXPECT_EQ(bridge_call(handle, function, nullptr, nullptr), RFC_FAILURE);  // one at a time
}

TEST_F(Bridge, CloseOfHandleZeroClosesEveryConnection) {
  open();
  const RFC_HANDLE second = open();
  bridge_close(second);
  EXPECT_EQ(library_.closes, 1);
  bridge_close(second);  // closing twice does no harm
  open();
  bridge_close(0);
  EXPECT_EQ(library_.closes, 3);
  EXPECT_TRUE(bridge().connections.empty());
  char* exception = nullptr;
  EXPECT_EQ(call(1, &exception), RFC_INVALID_HANDLE);
}

TEST(BridgeText, TheErrorLineOfABlockIsTheClassicText) {
  std::string detail;
  EXPECT_EQ(classic_text("\nLOCATION    here\nERROR       partner 'h:3300' not reached\n"
                         "DETAIL      NiPConnect2: h:3300\nERRNO       111\n",
                         detail),
            "partner 'h:3300' not reached");
  EXPECT_EQ(detail, "NiPConnect2: h:3300");
  EXPECT_EQ(classic_text("  two\nlines  \n", detail), "two lines");
  EXPECT_EQ(detail, "");
  EXPECT_EQ(classic_text("ERRORS are words too", detail), "ERRORS are words too");
  EXPECT_EQ(classic_text("", detail), "");
}

}  // namespace
}  // namespace tw::nw
