// Whole global-list runs against the simulated SAP side, with the files on a temporary drive.
#include <gtest/gtest.h>

#include <regex>
#include <vector>

#include "profile/decode_password.h"
#include "tarnwheel_passwd.h"
#include "run/sensor.h"
#include "support/simulated_sap.h"
#include "support/temp_dir.h"

namespace tw {
namespace {

using testing::TempDrive;
using testing::WorkingDirectory;

constexpr const char* kSensorDirectory =
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";

constexpr const char* kScenario = R"(
[system PRD]
ashost = sapprd
sysnr = 00
client = 100
user = MONITOR
password = pw
row = Log queue pages | 400
row = Log queue overflows | 3

[system QAS]
ashost = sapqas
sysnr = 00
client = 200
user = MONITOR
password = pw
row = Log queue pages | 50

[system NOROWS]
ashost = sapnorows
sysnr = 00
client = 100
user = MONITOR
password = pw

[system ERP]
ashost = saperp
sysnr = 00
client = 100
user = MONITOR
password = pw
dbsys = ORACLE
)";

/// "pw" as a profile stores it.
std::string stored_pw() { return encode_password("pw", 0).value(); }

class GlobalRun : public ::testing::Test {
 protected:
  /// Writes a profile into the sensor directory; `gwservice` empty means "no such line".
  void profile(const std::string& name, const std::string& destination, const std::string& host,
               const std::string& client, bool with_gateway = true,
               const std::string& directory = kSensorDirectory) {
    std::string text = "Extcompany.: Example\nDestination: " + destination +
                       "\nClient.....: " + client + "\nUser.......: monitor\nPassword...: " +
                       stored_pw() + "\nLanguage...: E\nMode.......: R/3\nHostname...: " + host +
                       "\nSysnr......: 00\n";
    if (with_gateway) text += "Gwhost.....: 127.0.0.1\nGwservice..: " + sap.port() + "\n";
    drive.write(directory + name, text);
  }
  void suite(const std::string& listing) {
    drive.write(std::string(kSensorDirectory) + "Keswarin.Prf",
                "# Gsng: systems     " + listing + "\n");
  }
  int run(std::vector<std::string> args) {
    std::vector<const char*> argv = {"tarnwheel"};
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    sensor.out.capture = &printed;
    return sensor_main(sensor, static_cast<int>(argv.size()), argv.data(), "08:15:02");
  }
  /// The output with every time of day as hh:mm:ss.
  std::string masked() const {
    return std::regex_replace(printed, std::regex("[0-9]{2}:[0-9]{2}:[0-9]{2}"), "hh:mm:ss");
  }

  TempDrive drive;
  WorkingDirectory work{drive.root() / "work"};
  testing::SimulatedSap sap{kScenario, drive.root() / "sim.log"};
  Sensor sensor;
  std::string printed;
};

TEST_F(GlobalRun, ConsoleExampleByteForByte) {
  profile("PRD.P00", "PRD", "sapprd", "100");
  drive.write(std::string(kSensorDirectory) + "QAS.P00",
              "Extcompany.: Example\nDestination: QAS\nClient.....: 200\nUser.......: monitor\n"
              "Password...: " + stored_pw() + "\nLanguage...: E\nMode.......: R/3\n"
              "Hostname...: sapqas\nSysnr......: 00\nGwhost.....: 127.0.0.1\nGwservice..: 1\n");
  suite("PRD.P00#QAS.P00#");
  EXPECT_EQ(run({"ignored", "ITEM=QuePages", "%"}), kExitDone);
  EXPECT_EQ(masked(),
            "* hh:mm:ss SAP Tarnwheel Vers 4.3 / 29.08.22\n"
            "* hh:mm:ss ITEM=QuePages % State=Executing\n"
            "\n<Prtg>\n\n"
            "\n<Result><Channel>PRD.P00</Channel>\n<Unit>Custom</Unit>\n"
            "<CustomUnit>Pages</CustomUnit>\n<Value>400</Value></Result>\n"
            "\n* hh:mm:ss PRD.P00, sapprd, PRD, 00, 100 State=Processed\n"
            "\n* hh:mm:ss QAS.P00, sapqas, QAS, 00, 200 State=Rfc Failure\n"
            "\n<Text>(***) QuePages: NoSystems=2, Processed=1, Failed=1</Text>\n"
            "\n</Prtg>\n\n"
            "\n* hh:mm:ss SAP Tarnwheel now processed...\n");
}

TEST_F(GlobalRun, MissingEmptyIncompleteAndNotFoundSystems) {
  profile("PRD.P00", "PRD", "sapprd", "100");
  profile("NOROWS.P00", "NRW", "sapnorows", "100");
  profile("NOGW.P00", "NGW", "sapprd", "100", false);  // must not borrow PRD's gateway
  suite("PRD.P00#MISSING.P00##NOGW.P00#NOROWS.P00");     // the last name lacks its "#"
  EXPECT_EQ(run({"x", "ITEM=OverFlows"}), kExitDone);
  EXPECT_EQ(printed,
            "\n<Prtg>\n\n"
            "\n<Result><Channel>PRD.P00</Channel>\n<Value>3</Value></Result>\n"
            "\n<Text>(***) OverFlows: NoSystems=5, Processed=1, Failed=2</Text>\n"
            "\n</Prtg>\n\n");
}

TEST_F(GlobalRun, DatabaseMismatchEndsTheRunInOneDocument) {
  profile("PRD.P00", "PRD", "sapprd", "100");
  profile("ERP.P00", "ERP", "saperp", "100");
  suite("PRD.P00#ERP.P00#QAS.P00#");
  EXPECT_EQ(run({"x", "ITEM=QuePages"}), kExitFailed);
  EXPECT_EQ(printed,
            "\n<Prtg>\n\n"
            "\n<Result><Channel>PRD.P00</Channel>\n<Unit>Custom</Unit>\n"
            "<CustomUnit>Pages</CustomUnit>\n<Value>400</Value></Result>\n"
            "\n<Error>1</Error>\n<Text>Error 1018: DataBase mismatch !</Text>\n</Prtg>\n");
  EXPECT_EQ(sensor.progress.phase, RunPhase::answered);
  EXPECT_EQ(sensor.progress.exit_status, kExitFailed);
}

TEST_F(GlobalRun, LabelStylesFromTheGlobalProfile) {
  profile("PRD.P00", "PRD", "sapprd", "100");
  profile("QAS.P00", "QAS", "sapqas", "200");
  const std::string listing = "# GSNG: LOGQ        PRD.P00#QAS.P00#\n";
  const std::pair<const char*, std::pair<const char*, const char*>> styles[] = {
      {"", {"PRD.P00", "QAS.P00"}},
      {",Alias", {"PRD", "QAS"}},
      {",Host", {"sapprd", "sapqas"}},
      {",Sid,Alias", {"PRD", "QAS"}},
  };
  for (const auto& [keys, labels] : styles) {
    drive.write(std::string(kSensorDirectory) + "SAP Keswarin.Gbl",
                listing + "# GSNX: LOGQ       Sensor=\"SAP Tarnwheel\",Item=QuePages" + keys +
                    "\n");
    Sensor fresh;
    sensor = std::move(fresh);
    printed.clear();
    EXPECT_EQ(run({"global", "logq"}), kExitDone) << keys;
    EXPECT_NE(printed.find(std::string("<Channel>") + labels.first + "</Channel>"),
              std::string::npos)
        << keys << printed;
    EXPECT_NE(printed.find(std::string("<Channel>") + labels.second + "</Channel>"),
              std::string::npos)
        << keys;
  }
}

TEST_F(GlobalRun, AllocationTextCarryingTimeoutSetsTheDeadline) {
  profile("PRD.P00", "PRD", "sapprd", "100");
  const std::pair<const char*, unsigned> allocations[] = {
      {"Sensor=\"SAP Tarnwheel\",Item=QuePages", 30},  // the command line's stays
      {"Sensor=\"SAP Tarnwheel\",Item=QuePages,Timeout=7", 7},
      {"Item=QuePages,Sensor=\"SAP Tarnwheel\",TIMEOUT=9", 9},  // behind ",Sensor=" as well
      // An invalid value leaves the command line's in force, as an absent one does.
      {"Sensor=\"SAP Tarnwheel\",Item=QuePages,timeout=0", 30},
      {"Sensor=\"SAP Tarnwheel\",Item=QuePages,Timeout=3s", 30},
  };
  for (const auto& [allocation, deadline] : allocations) {
    drive.write(std::string(kSensorDirectory) + "SAP Keswarin.Gbl",
                std::string("# GSNG: LOGQ        PRD.P00#\n# GSNX: LOGQ       ") + allocation +
                    "\n");
    Sensor fresh;
    sensor = std::move(fresh);
    printed.clear();
    EXPECT_EQ(run({"global", "logq timeout=30"}), kExitDone) << allocation;
    EXPECT_EQ(sensor.settings.deadline, deadline) << allocation;
    EXPECT_EQ(sensor.progress.deadline, deadline) << allocation;
    EXPECT_EQ(sensor.progress.phase, RunPhase::answered);
    EXPECT_EQ(sensor.progress.exit_status, kExitDone);
  }
}

TEST_F(GlobalRun, BrassikPrintsTheSelectedChannelOfTheWholeRun) {
  // Plain-text hosts take the profiles from the given directory (here the working one).
  profile("PRD.P00", "PRD", "sapprd", "100", true, "\\work\\");
  profile("QAS.P00", "QAS", "sapqas", "200", true, "\\work\\");
  drive.write("\\work\\Keswarin.Prf", "# Gsng: systems     PRD.P00#QAS.P00#\n");
  EXPECT_EQ(run({"x", "ITEM=QuePages OUTPUT=Brassik", "CH=2"}), kExitDone);
  EXPECT_EQ(printed, "\n50\n\n");
}

}  // namespace
}  // namespace tw
