// The RFC steps against the simulated SAP side, served in-process on a free port.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "rfc/rfc.h"
#include "run/sensor.h"
#include "support/simulated_sap.h"
#include "support/temp_dir.h"

namespace tw {
namespace {

using testing::TempDrive;
using testing::WorkingDirectory;

constexpr const char* kScenario = R"(
[system PRD]
ashost = sapprd
sysnr = 00
client = 100
user = MONITOR
password = Secret
rfchost = prdhost
dbsys = ADABAS D
row = log queue pages    | 1234567
row = Log queue overflows | 12,5
row = Log queue inserts | 99
row = Something else | 5
row = Log queue group commits | 1234567890
row = Log queue group commits | 7
statrow = Log mode | SINGLE

[system EMPTY]
ashost = sapempty
sysnr = 01
client = 100
user = MONITOR
password = Secret
)";

class RfcSteps : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(load_rfc_library(RfcLibraryChoice::classic, error)) << error;
    sensor_.out.capture = &printed_;
    ProfileRecord& profile = sensor_.profile;
    profile.destination = "PRD";
    profile.client = "100";
    profile.user = "monitor";
    profile.password = "Secret";
    profile.language = "E";
    profile.mode = "R/3";
    profile.hostname = "sapprd";
    profile.display_host = "sapprd";
    profile.sysnr = "00";
    profile.gwhost = "127.0.0.1";
    profile.gwservice = sap_.port();
  }
  std::string sim_log() const { return sap_.log(); }
  void open() {
    sensor_.rfc.handle = open_connection(sensor_);
    ASSERT_NE(sensor_.rfc.handle, 0u);
  }

  TempDrive drive_;
  WorkingDirectory work_{drive_.root() / "work"};
  testing::SimulatedSap sap_{kScenario, drive_.root() / "sim.log"};
  Sensor sensor_;
  std::string printed_;
};

TEST_F(RfcSteps, OpenPadsUserAndPasswordOnTheDirectWay) {
  open();
  EXPECT_EQ(read_system_info(sensor_), RFC_OK);  // the padded logon is accepted
  EXPECT_EQ(sensor_.rfc.user, "monitor     ");
  EXPECT_EQ(sensor_.rfc.password, "Secret    ");
  EXPECT_NE(sim_log().find("LOGON client=[100] user=[monitor     ] lang=[E] ashost=[sapprd] "
                           "sysnr=[00]"),
            std::string::npos);
  EXPECT_EQ(sim_log().find("Secret"), std::string::npos);
  EXPECT_EQ(printed_, "");
}

TEST_F(RfcSteps, SelectorsOverrideHostAndSystemNumber) {
  const char* argv[] = {"p", "PRD", ",HOST=sapempty,NO=01"};
  take_command_line(sensor_.settings, 3, argv);
  open();
  EXPECT_EQ(read_system_info(sensor_), RFC_OK);
  EXPECT_NE(sim_log().find("ashost=[sapempty] sysnr=[01]"), std::string::npos);
}

TEST_F(RfcSteps, DestinationFileIsCopiedAndOpenedByText) {
  const std::string destination =
      "DEST=PRD\r\nTYPE=A\r\nASHOST=sapprd\r\nSYSNR=00\r\nGWHOST=127.0.0.1\r\nGWSERV=" +
      sap_.port() + "\r\n";
  drive_.write("\\work\\SapRfc.PRD", destination);
  sensor_.settings.console_mode = true;
  open();
  std::ifstream ini(drive_.root() / "work" / kRfcParameterFile, std::ios::binary);
  std::stringstream copied;
  copied << ini.rdbuf();
  EXPECT_EQ(copied.str(), destination);
  EXPECT_EQ(printed_, "* SapRfc.Ini.......: PRD<\n");
  EXPECT_NE(sim_log().find("user=[monitor] lang=[D]"), std::string::npos);
}

TEST_F(RfcSteps, SystemInformationKeepsHostAndDatabase) {
  open();
  sensor_.rfc.run_status = "ERR";
  ASSERT_EQ(read_system_info(sensor_), RFC_OK);
  EXPECT_EQ(sensor_.rfc.run_status, "OK");
  EXPECT_EQ(sensor_.profile.display_host, "prdhost ");  // 8 characters as received
  EXPECT_EQ(sensor_.rfc.database_system, "ADABAS D  ");
  EXPECT_TRUE(is_maxdb(sensor_.rfc.database_system));
  EXPECT_FALSE(is_maxdb("ada"));
  EXPECT_FALSE(is_maxdb("AD"));
  EXPECT_FALSE(is_maxdb("ORACLE    "));
}

TEST_F(RfcSteps, StatisticsMessageAndChannels) {
  open();
  ASSERT_EQ(read_system_info(sensor_), RFC_OK);
  sensor_.rfc.run_status = "ERR";
  ASSERT_EQ(read_log_statistics(sensor_), RFC_OK);
  EXPECT_EQ(sensor_.rfc.run_status, "OK");
  // The head is printed at once; the channels wait in the buffer.
  EXPECT_EQ(printed_,
            "\n<Prtg>\n\n<Text>(PRD) LogQueues: Sizing=1.234.567 Pages, Overflows=12, "
            "Commits=7</Text>\n");
  EXPECT_EQ(sensor_.report.buffer,
            "\n<Result><Channel>QuePages</Channel>\n<Unit>Custom</Unit>\n"
            "<CustomUnit>Pages</CustomUnit>\n<Value>1234567</Value></Result>\n"
            "\n<Result><Channel>OverFlows</Channel>\n<Value>12,5</Value></Result>\n"
            "\n<Result><Channel>QueInserts</Channel>\n<Value>99</Value></Result>\n"
            "\n<Result><Channel>GrpCommits</Channel>\n<Value>1234567890</Value></Result>\n"
            "\n<Result><Channel>GrpCommits</Channel>\n<Value>7</Value></Result>\n"
            "\n</Prtg>\n");
  // The head and its rest are recorded together, for an answer at the deadline.
  EXPECT_TRUE(sensor_.progress.head_printed);
  EXPECT_EQ(sensor_.progress.rest, sensor_.report.buffer);
}

TEST_F(RfcSteps, EmptyStatisticsGiveZeroFigures) {
  sensor_.profile.hostname = "sapempty";
  sensor_.profile.sysnr = "01";
  open();
  ASSERT_EQ(read_log_statistics(sensor_), RFC_OK);
  EXPECT_EQ(printed_,
            "\n<Prtg>\n\n<Text>(PRD) LogQueues: Sizing=0 Pages, Overflows=0, Commits=0</Text>\n");
  EXPECT_EQ(sensor_.report.buffer, "\n</Prtg>\n");
}

TEST_F(RfcSteps, ItemSelectionPrintsOnlyTheItemsChannel) {
  sensor_.settings.item_selection = true;
  sensor_.settings.item = "GrpCommits";
  sensor_.list.system_label = "PRD.P00";
  open();
  ASSERT_EQ(read_log_statistics(sensor_), RFC_OK);
  // The first matching row counts.
  EXPECT_EQ(printed_, "\n<Result><Channel>PRD.P00</Channel>\n<Value>1234567890</Value></Result>\n");
  EXPECT_EQ(sensor_.list.found_mark, 'X');
  EXPECT_EQ(sensor_.report.buffer, "");

  // Letter case counts in the item; the found mark is set by any row.
  printed_.clear();
  sensor_.list.found_mark = '.';
  sensor_.settings.item = "grpcommits";
  ASSERT_EQ(read_log_statistics(sensor_), RFC_OK);
  EXPECT_EQ(printed_, "");
  EXPECT_EQ(sensor_.list.found_mark, 'X');
}

TEST_F(RfcSteps, AnswersAreKeptForALookAtThem) {
  open();
  ASSERT_EQ(read_system_info(sensor_), RFC_OK);
  const std::string& record = sensor_.rfc.system_info;
  EXPECT_EQ(rfcsi_field(record, "RFCSYSID"), "PRD");
  EXPECT_EQ(rfcsi_field(record, "RFCHOST"), "prdhost");
  EXPECT_EQ(rfcsi_field(record, "RFCDBSYS"), "ADABAS D");
  EXPECT_EQ(rfcsi_field(record, "NOSUCH"), "");
  EXPECT_EQ(rfcsi_field("short", "RFCSYSID"), "");

  ASSERT_EQ(read_log_statistics(sensor_), RFC_OK);
  EXPECT_EQ(sensor_.rfc.statistics_rows, 6u);
  const std::vector<std::pair<std::string, std::string>> known = {
      {"QuePages", "1234567"}, {"OverFlows", "12,5"}, {"QueInserts", "99"},
      {"GrpCommits", "1234567890"}, {"GrpCommits", "7"}};
  EXPECT_EQ(sensor_.rfc.statistics, known);

  // With item selection only the rows up to the item's are looked at.
  sensor_.settings.item_selection = true;
  sensor_.settings.item = "OverFlows";
  ASSERT_EQ(read_log_statistics(sensor_), RFC_OK);
  EXPECT_EQ(sensor_.rfc.statistics.size(), 2u);
  EXPECT_EQ(statistic_channels().size(), 10u);
  EXPECT_EQ(statistic_channels().front(), "PhysReads");
}

TEST(RfcFailureText, ByReturnCode) {
  EXPECT_EQ(rfc_failure_text(RFC_FAILURE, nullptr), "Error 1014: RFC-Failure raised !");
  EXPECT_EQ(rfc_failure_text(RFC_EXCEPTION, "NOT_FOUND"), "Error 1012: Exception.: NOT_FOUND");
  EXPECT_EQ(rfc_failure_text(RFC_SYS_EXCEPTION, "x"), "Error 1013: Sys-Exception raised !");
  EXPECT_EQ(rfc_failure_text(7, nullptr), "Error 1015: Other Failure raised !");
}

}  // namespace
}  // namespace tw
