// The NetWeaver stand-in against the simulated SAP side, served in-process on 127.0.0.1:
// logons, the lookup of interfaces, calls, their answers and every fault of a scenario.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fault_scenario.h"
#include "in_process_simulator.h"
#include "nw_test_support.h"
#include "rfclib/test_files.h"
#include "sapnwrfc.h"

namespace tw::nwrfclib {
namespace {

using testing::Logon;
using testing::utf8;

/// A system beside those of the fault scenario: a label in UTF-8.
const std::string kScenario = std::string(rfcsim::kFaultScenario) +
                              "[system UTF8]\nashost = sap-utf8\nsysnr = 00\n"
                              "row = Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC | 7\n";

class NwSimulated : public ::testing::Test {
 protected:
  RFC_CONNECTION_HANDLE open(const std::u16string& ashost,
                             const std::u16string& password = u"Secret1") {
    const Logon logon{{u"ASHOST", ashost},    {u"SYSNR", u"00"},  {u"GWHOST", u"127.0.0.1"},
                      {u"GWSERV", service()}, {u"CLIENT", u"100"}, {u"USER", u"MONITOR"},
                      {u"PASSWD", password},  {u"LANG", u"E"}};
    return logon.open(info_);
  }
  std::u16string service() const { return from_bytes(sim_.service()); }
  std::string partner() const { return "127.0.0.1:" + sim_.service(); }

  /// Looks up `name` and makes a container of it; NULL on failure.
  RFC_FUNCTION_HANDLE function(RFC_CONNECTION_HANDLE connection, const SAP_UC* name) {
    RFC_FUNCTION_DESC_HANDLE desc = RfcGetFunctionDesc(connection, name, &info_);
    return desc == nullptr ? nullptr : RfcCreateFunction(desc, &info_);
  }
  /// The first `length` characters of a field of a container, read whole.
  std::string chars(DATA_CONTAINER_HANDLE container, const SAP_UC* name, unsigned length) {
    SAP_UC buffer[64];
    EXPECT_EQ(RfcGetChars(container, name, buffer, 64, &info_), RFC_OK) << utf8(info_.message);
    return to_utf8(std::u16string_view(buffer, length));
  }
  bool valid(RFC_CONNECTION_HANDLE connection) {
    int is_valid = -1;
    RFC_ERROR_INFO ignored;
    RfcIsConnectionHandleValid(connection, &is_valid, &ignored);
    return is_valid == 1;
  }

  RFC_ERROR_INFO info_{};
  tw::testing::ScratchDirectory scratch_;
  tw::testing::EnvVar call_timeout_{"RFC_CALL_TIMEOUT", "0.3"};
  rfcsim::InProcessSimulator sim_{kScenario};
};

TEST_F(NwSimulated, SystemInfoFromLookupToFields) {
  const RFC_CONNECTION_HANDLE connection = open(u"SAPPRD  ");
  ASSERT_NE(connection, nullptr) << utf8(info_.message);
  EXPECT_EQ(info_.code, RFC_OK);
  RFC_FUNCTION_DESC_HANDLE desc = RfcGetFunctionDesc(connection, u"RFC_SYSTEM_INFO", &info_);
  ASSERT_NE(desc, nullptr) << utf8(info_.message);
  unsigned count = 0;
  ASSERT_EQ(RfcGetParameterCount(desc, &count, &info_), RFC_OK);
  EXPECT_EQ(count, 6u);
  RFC_PARAMETER_DESC parameter;
  ASSERT_EQ(RfcGetParameterDescByName(desc, u"rfcsi_export", &parameter, &info_), RFC_OK);
  EXPECT_EQ(utf8(parameter.name), "RFCSI_EXPORT");
  EXPECT_EQ(parameter.type, RFCTYPE_STRUCTURE);
  EXPECT_EQ(parameter.direction, RFC_EXPORT);
  EXPECT_EQ(parameter.nucLength, 245u);
  EXPECT_EQ(parameter.ucLength, 490u);
  RFC_ABAP_NAME name;
  ASSERT_EQ(RfcGetTypeName(parameter.typeDescHandle, name, &info_), RFC_OK);
  EXPECT_EQ(utf8(name), "RFCSI");
  ASSERT_EQ(RfcGetFieldCount(parameter.typeDescHandle, &count, &info_), RFC_OK);
  EXPECT_EQ(count, 20u);
  RFC_FIELD_DESC field;
  ASSERT_EQ(RfcGetFieldDescByIndex(parameter.typeDescHandle, 19, &field, &info_), RFC_OK);
  EXPECT_EQ(utf8(field.name), "RFCIPV6ADDR");
  EXPECT_EQ(field.nucOffset, 200u);
  EXPECT_EQ(field.ucOffset, 400u);
  EXPECT_EQ(field.ucLength, 90u);
  EXPECT_EQ(RfcGetFieldDescByIndex(parameter.typeDescHandle, 20, &field, &info_),
            RFC_INVALID_PARAMETER);
  ASSERT_EQ(RfcGetParameterDescByIndex(desc, 1, &parameter, &info_), RFC_OK);
  EXPECT_EQ(utf8(parameter.name), "CURRENT_RESOURCES");
  EXPECT_EQ(parameter.type, RFCTYPE_INT);
  EXPECT_EQ(parameter.typeDescHandle, nullptr);

  RFC_FUNCTION_HANDLE call = RfcCreateFunction(desc, &info_);
  ASSERT_NE(call, nullptr);
  ASSERT_EQ(RfcInvoke(connection, call, &info_), RFC_OK) << utf8(info_.message);
  RFC_STRUCTURE_HANDLE rfcsi = nullptr;
  ASSERT_EQ(RfcGetStructure(call, u"RFCSI_EXPORT", &rfcsi, &info_), RFC_OK);
  EXPECT_EQ(chars(rfcsi, u"RFCSYSID", 8), "PRD     ");
  EXPECT_EQ(chars(rfcsi, u"RFCHOST", 8), "sapprd  ");
  EXPECT_EQ(chars(rfcsi, u"RFCDBSYS", 10), "ADABAS D  ");
  EXPECT_EQ(chars(rfcsi, u"RFCIPV6ADDR", 16), "::ffff:127.0.0.1");
  SAP_UC flat[245];
  ASSERT_EQ(RfcGetStructureIntoCharBuffer(rfcsi, flat, 245, &info_), RFC_OK);
  EXPECT_EQ(to_utf8(std::u16string_view(flat + 45, 8)), "sapprd  ");
  EXPECT_EQ(RfcGetStructureIntoCharBuffer(rfcsi, flat, 244, &info_), RFC_BUFFER_TOO_SMALL);
  RFC_INT resources = 0;
  ASSERT_EQ(RfcGetInt(call, u"CURRENT_RESOURCES", &resources, &info_), RFC_OK);
  EXPECT_EQ(resources, 4);
  EXPECT_EQ(chars(call, u"MAXIMAL_RESOURCES", 4), "10  ");  // an integer as text
  EXPECT_EQ(chars(call, u"RFC_LOGIN_COMPLETE", 1), "X");
  EXPECT_EQ(RfcGetInt(call, u"RFC_LOGIN_COMPLETE", &resources, &info_), RFC_CONVERSION_FAILURE);
  EXPECT_EQ(RfcGetInt(call, u"RFCSI_EXPORT", &resources, &info_), RFC_CONVERSION_FAILURE);
  EXPECT_EQ(RfcGetChars(call, u"NO_SUCH", flat, 4, &info_), RFC_INVALID_PARAMETER);
  EXPECT_EQ(utf8(info_.message), "field 'NO_SUCH' not found");
  // Too small a buffer: what fits, and the length needed.
  SAP_UC host[5];
  EXPECT_EQ(RfcGetChars(rfcsi, u"RFCHOST", host, 4, &info_), RFC_BUFFER_TOO_SMALL);
  EXPECT_EQ(to_utf8(std::u16string_view(host, 4)), "sapp");
  unsigned length = 0;
  EXPECT_EQ(RfcGetString(rfcsi, u"RFCHOST", host, 5, &length, &info_), RFC_BUFFER_TOO_SMALL);
  EXPECT_EQ(length, 8u);
  EXPECT_EQ(utf8(host), "sapp");
  SAP_UC whole[9];
  EXPECT_EQ(RfcGetString(rfcsi, u"RFCHOST", whole, 9, &length, &info_), RFC_OK);
  EXPECT_EQ(utf8(whole), "sapprd  ");

  // Destroying the container ends every handle taken from it; the description stays.
  EXPECT_EQ(RfcDestroyFunction(call, &info_), RFC_OK);
  EXPECT_EQ(RfcGetChars(rfcsi, u"RFCHOST", host, 4, &info_), RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcDestroyFunction(call, &info_), RFC_INVALID_HANDLE);
  EXPECT_EQ(RfcGetParameterCount(desc, &count, &info_), RFC_OK);
  EXPECT_EQ(RfcCloseConnection(connection, &info_), RFC_OK);
  EXPECT_EQ(RfcCloseConnection(connection, &info_), RFC_INVALID_HANDLE);
}

TEST_F(NwSimulated, LogStatisticsRowsAndTheCursor) {
  const RFC_CONNECTION_HANDLE connection = open(u"sapprd");
  ASSERT_NE(connection, nullptr) << utf8(info_.message);
  RFC_FUNCTION_HANDLE call = function(connection, u"ADA_LOG_STATISTICS");
  ASSERT_NE(call, nullptr) << utf8(info_.message);
  RFC_TABLE_HANDLE monilog = nullptr, statlog = nullptr;
  ASSERT_EQ(RfcGetTable(call, u"SHOWMONILOG", &monilog, &info_), RFC_OK);
  unsigned rows = 99;
  ASSERT_EQ(RfcGetRowCount(monilog, &rows, &info_), RFC_OK);
  EXPECT_EQ(rows, 0u);
  EXPECT_EQ(RfcGetCurrentRow(monilog, &info_), nullptr);
  EXPECT_EQ(RfcMoveToNextRow(monilog, &info_), RFC_TABLE_MOVE_EOF);
  ASSERT_EQ(RfcInvoke(connection, call, &info_), RFC_OK) << utf8(info_.message);
  ASSERT_EQ(RfcGetTable(call, u"SHOWSTATLOG", &statlog, &info_), RFC_OK);
  ASSERT_EQ(RfcGetRowCount(monilog, &rows, &info_), RFC_OK);
  ASSERT_EQ(rows, 2u);
  EXPECT_EQ(chars(monilog, u"R1", 19), "Log queue overflows");  // the first row at first
  EXPECT_EQ(chars(monilog, u"R2", 26), "0" + std::string(25, ' '));
  ASSERT_EQ(RfcMoveToNextRow(monilog, &info_), RFC_OK);
  EXPECT_EQ(chars(monilog, u"R2", 3), "400");
  EXPECT_EQ(RfcMoveToNextRow(monilog, &info_), RFC_TABLE_MOVE_EOF);
  EXPECT_EQ(RfcMoveTo(monilog, 2, &info_), RFC_TABLE_MOVE_EOF);
  ASSERT_EQ(RfcMoveTo(monilog, 0, &info_), RFC_OK);
  EXPECT_EQ(RfcMoveToPreviousRow(monilog, &info_), RFC_TABLE_MOVE_BOF);
  RFC_STRUCTURE_HANDLE row = RfcGetCurrentRow(monilog, &info_);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(RfcGetCurrentRow(monilog, &info_), row);  // the same handle each time
  EXPECT_EQ(chars(row, u"r1", 3), "Log");
  SAP_UC flat[66];
  ASSERT_EQ(RfcMoveTo(monilog, 1, &info_), RFC_OK);
  ASSERT_EQ(RfcGetStructureIntoCharBuffer(monilog, flat, 66, &info_), RFC_OK);
  EXPECT_EQ(to_utf8(std::u16string_view(flat, 15)), "Log queue pages");
  EXPECT_EQ(to_utf8(std::u16string_view(flat + 40, 4)), "400 ");
  RFC_TYPE_DESC_HANDLE type = RfcGetRowType(statlog, &info_);
  ASSERT_NE(type, nullptr);
  EXPECT_EQ(RfcDescribeType(row, &info_), type);
  unsigned nuc = 0, uc = 0;
  ASSERT_EQ(RfcGetTypeLength(type, &nuc, &uc, &info_), RFC_OK);
  EXPECT_EQ(nuc, 66u);
  EXPECT_EQ(uc, 132u);
  ASSERT_EQ(RfcGetRowCount(statlog, &rows, &info_), RFC_OK);
  EXPECT_EQ(rows, 1u);
  EXPECT_EQ(chars(statlog, u"R1", 12), "Used log (%)");
  // A second call appends its rows, as the partner sends them.
  ASSERT_EQ(RfcInvoke(connection, call, &info_), RFC_OK);
  ASSERT_EQ(RfcGetRowCount(monilog, &rows, &info_), RFC_OK);
  EXPECT_EQ(rows, 4u);
  EXPECT_EQ(RfcDeleteAllRows(monilog, &info_), RFC_OK);
  EXPECT_EQ(RfcGetChars(row, u"R1", flat, 3, &info_), RFC_INVALID_HANDLE);
  RfcCloseConnection(connection, &info_);
  EXPECT_EQ(tw::testing::read_file("sim.log"),
            "LOGON client=[100] user=[MONITOR] lang=[E] ashost=[sapprd] sysnr=[00]\n"
            "CALL ADA_LOG_STATISTICS\nCALL ADA_LOG_STATISTICS\n");
}

TEST_F(NwSimulated, ALabelInUtf8ComesAsItsCharacters) {
  const RFC_CONNECTION_HANDLE connection = open(u"sap-utf8");
  ASSERT_NE(connection, nullptr) << utf8(info_.message);
  RFC_FUNCTION_HANDLE call = function(connection, u"ADA_LOG_STATISTICS");
  ASSERT_EQ(RfcInvoke(connection, call, &info_), RFC_OK) << utf8(info_.message);
  RFC_TABLE_HANDLE monilog = nullptr;
  ASSERT_EQ(RfcGetTable(call, u"SHOWMONILOG", &monilog, &info_), RFC_OK);
  // 11 bytes on the wire, 7 characters, then blanks to 40.
  EXPECT_EQ(chars(monilog, u"R1", 40),
            "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC" + std::string(33, ' '));
  RfcCloseConnection(connection, &info_);
}

TEST_F(NwSimulated, InterfacesAreKeptPerSystemAndUnknownFunctionsRaiseAnException) {
  const RFC_CONNECTION_HANDLE first = open(u"sapprd");
  const RFC_CONNECTION_HANDLE second = open(u"sapprd");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  RFC_FUNCTION_DESC_HANDLE desc = RfcGetFunctionDesc(first, u"ADA_LOG_STATISTICS", &info_);
  ASSERT_NE(desc, nullptr);
  EXPECT_EQ(RfcGetFunctionDesc(second, u"ADA_LOG_STATISTICS", &info_), desc);
  EXPECT_EQ(RfcGetFunctionDesc(first, u"Z_NOWHERE", &info_), nullptr);
  EXPECT_EQ(info_.code, RFC_ABAP_EXCEPTION);
  EXPECT_EQ(info_.group, ABAP_APPLICATION_FAILURE);
  EXPECT_EQ(utf8(info_.key), "FU_NOT_FOUND");
  EXPECT_EQ(utf8(info_.message), "ID:FL Type:E Number:046 Z_NOWHERE");
  EXPECT_EQ(utf8(info_.abapMsgClass), "FL");
  EXPECT_EQ(utf8(info_.abapMsgNumber), "046");
  EXPECT_EQ(utf8(info_.abapMsgV1), "Z_NOWHERE");
  EXPECT_TRUE(valid(first));
  EXPECT_EQ(RfcGetFunctionDesc(first, u"", &info_), nullptr);
  EXPECT_EQ(info_.code, RFC_INVALID_PARAMETER);
  RFC_ABAP_NAME name;
  ASSERT_EQ(RfcGetFunctionName(desc, name, &info_), RFC_OK);
  EXPECT_EQ(utf8(name), "ADA_LOG_STATISTICS");
  RFC_PARAMETER_DESC parameter;
  ASSERT_EQ(RfcGetParameterDescByIndex(desc, 1, &parameter, &info_), RFC_OK);
  EXPECT_EQ(utf8(parameter.name), "SHOWSTATLOG");
  EXPECT_EQ(parameter.type, RFCTYPE_TABLE);
  EXPECT_EQ(parameter.direction, RFC_TABLES);
  EXPECT_EQ(RfcGetParameterDescByName(desc, u"SHOWX", &parameter, &info_), RFC_INVALID_PARAMETER);
  RfcCloseConnection(first, &info_);
  RfcCloseConnection(second, &info_);
  // The lookups are no calls: the log holds the logons only.
  EXPECT_EQ(tw::testing::read_file("sim.log"),
            "LOGON client=[100] user=[MONITOR] lang=[E] ashost=[sapprd] sysnr=[00]\n"
            "LOGON client=[100] user=[MONITOR] lang=[E] ashost=[sapprd] sysnr=[00]\n");
}

TEST_F(NwSimulated, EveryFaultOfACall) {
  struct Expected {
    const char16_t* ashost;
    const char16_t* function;
    RFC_RC code;
    RFC_ERROR_GROUP group;
    std::string key, message;
    bool stays_open;
  };
  const std::vector<Expected> cases = {
      {u"f-failure", u"RFC_SYSTEM_INFO", RFC_UNKNOWN_ERROR, EXTERNAL_RUNTIME_FAILURE,
       "RFC_UNKNOWN_ERROR", "system info failed badly", true},
      {u"f-code", u"RFC_SYSTEM_INFO", RFC_UNKNOWN_ERROR, EXTERNAL_RUNTIME_FAILURE,
       "RFC_UNKNOWN_ERROR", "call of RFC_SYSTEM_INFO failed with return code 7", true},
      {u"f-exception", u"ADA_LOG_STATISTICS", RFC_ABAP_EXCEPTION, ABAP_APPLICATION_FAILURE,
       "NO_DATA", "no statistics today", true},
      {u"f-sysexc", u"RFC_SYSTEM_INFO", RFC_ABAP_RUNTIME_FAILURE, ABAP_RUNTIME_FAILURE,
       "SYSTEM_FAILURE", "system exception in call of RFC_SYSTEM_INFO", false},
      {u"f-drop", u"RFC_SYSTEM_INFO", RFC_COMMUNICATION_FAILURE, COMMUNICATION_FAILURE,
       "RFC_COMMUNICATION_FAILURE", "connection closed by partner", false},
      {u"f-hang", u"ADA_LOG_STATISTICS", RFC_TIMEOUT, COMMUNICATION_FAILURE, "RFC_TIMEOUT",
       "timeout during call of ADA_LOG_STATISTICS", false},
      {u"f-abort", u"RFC_SYSTEM_INFO", RFC_ABAP_RUNTIME_FAILURE, ABAP_RUNTIME_FAILURE,
       "RFC_ABAP_RUNTIME_FAILURE", "ABAP/4 processor: SYSTEM_CORE_DUMPED", false},
      {u"f-garbage", u"RFC_SYSTEM_INFO", RFC_INVALID_PROTOCOL, COMMUNICATION_FAILURE,
       "RFC_INVALID_PROTOCOL", "invalid frame from partner: bad magic", false},
  };
  for (const Expected& expected : cases) {
    SCOPED_TRACE(to_utf8(expected.ashost));
    const RFC_CONNECTION_HANDLE connection = open(expected.ashost);
    ASSERT_NE(connection, nullptr) << utf8(info_.message);
    RFC_FUNCTION_HANDLE call = function(connection, expected.function);
    ASSERT_NE(call, nullptr) << utf8(info_.message);
    std::memset(&info_, 0x55, sizeof info_);
    EXPECT_EQ(RfcInvoke(connection, call, &info_), expected.code);
    EXPECT_EQ(info_.code, expected.code);
    EXPECT_EQ(info_.group, expected.group);
    EXPECT_EQ(utf8(info_.key), expected.key);
    EXPECT_EQ(utf8(info_.message), expected.message);
    EXPECT_EQ(valid(connection), expected.stays_open);
    if (!expected.stays_open) {
      EXPECT_EQ(RfcInvoke(connection, call, &info_), RFC_INVALID_HANDLE);
      EXPECT_EQ(RfcCloseConnection(connection, &info_), RFC_INVALID_HANDLE);
    } else {
      EXPECT_EQ(RfcCloseConnection(connection, &info_), RFC_OK);
    }
    EXPECT_EQ(RfcDestroyFunction(call, &info_), RFC_OK);
  }
}

TEST_F(NwSimulated, FailedOpensTellWhy) {
  // Rejected credentials, by the system and by the scenario's fault.
  EXPECT_EQ(open(u"sapprd", u"wrong"), nullptr);
  EXPECT_EQ(info_.code, RFC_LOGON_FAILURE);
  EXPECT_EQ(info_.group, LOGON_FAILURE);
  EXPECT_EQ(utf8(info_.key), "RFC_LOGON_FAILURE");
  EXPECT_EQ(utf8(info_.message), "Name or password is incorrect (repeat logon)");
  EXPECT_EQ(open(u"l-reject"), nullptr);
  EXPECT_EQ(utf8(info_.message), "user account locked");
  EXPECT_EQ(open(u"l-failure"), nullptr);
  EXPECT_EQ(info_.code, RFC_ABAP_RUNTIME_FAILURE);
  EXPECT_EQ(utf8(info_.message), "logon failed");
  // A system the gateway does not know, and a logon left unanswered: network blocks.
  EXPECT_EQ(open(u"nowhere"), nullptr);
  EXPECT_EQ(info_.code, RFC_COMMUNICATION_FAILURE);
  EXPECT_EQ(info_.group, COMMUNICATION_FAILURE);
  EXPECT_EQ(utf8(info_.key), "RFC_COMMUNICATION_FAILURE");
  const std::string block = utf8(info_.message);
  EXPECT_EQ(block.rfind("\nLOCATION    CPIC (TCP/IP) on local host with Unicode\n", 0), 0u)
      << block;
  EXPECT_NE(block.find("\nERROR       partner '" + partner() + "' not reached\n"),
            std::string::npos)
      << block;
  EXPECT_NE(block.find("\nDETAIL      system unknown to the gateway\n"), std::string::npos);
  EXPECT_NE(block.find("\nCOUNTER     "), std::string::npos);
  EXPECT_EQ(open(u"l-hang"), nullptr);
  EXPECT_NE(utf8(info_.message).find("\nERROR       timeout during logon to partner '" +
                                     partner() + "'\n"),
            std::string::npos);
}

TEST(NwUnreachable, AGatewayThatIsNotThereIsNotReached) {
  tw::testing::ScratchDirectory scratch;
  std::string port;
  {
    // A port that was free a moment ago.
    rfcsim::InProcessSimulator sim("[system A]\nashost = a\nsysnr = 00\n");
    port = sim.service();
  }
  const Logon logon{{u"ASHOST", u"a"}, {u"SYSNR", u"00"}, {u"GWHOST", u"127.0.0.1"},
                    {u"GWSERV", from_bytes(port)}};
  RFC_ERROR_INFO info;
  EXPECT_EQ(logon.open(info), nullptr);
  EXPECT_EQ(info.code, RFC_COMMUNICATION_FAILURE);
  EXPECT_NE(utf8(info.message).find("\nERROR       partner '127.0.0.1:" + port + "' not reached\n"),
            std::string::npos);
  const Logon unknown_service{{u"ASHOST", u"a"}, {u"SYSNR", u"00"}, {u"GWSERV", u"no-such-gw"}};
  EXPECT_EQ(unknown_service.open(info), nullptr);
  EXPECT_EQ(info.code, RFC_COMMUNICATION_FAILURE);
  EXPECT_NE(utf8(info.message).find("\nERROR       service 'no-such-gw' unknown\n"),
            std::string::npos);
}

}  // namespace
}  // namespace tw::nwrfclib
