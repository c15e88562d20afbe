// The whole check against the simulated SAP side, served in-process.
#include "check/check_run.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "check/library_choice.h"
#include "os/deadline_timer.h"
#include "support/simulated_sap.h"
#include "support/temp_dir.h"
#include "tarnwheel_passwd.h"

namespace tw::check {
namespace {

using tw::testing::TempDrive;
using tw::testing::WorkingDirectory;

constexpr const char* kScenario = R"(
[system PRD]
ashost = sapprd
sysnr = 00
client = 100
user = MONITOR
password = S3cret
dbsys = ADABAS D
row = Log queue pages | 400
row = Log queue overflows | 0
)";

constexpr const char* kSensorFolder =
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";

class RunCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(drive_.root() / "work" / "SapRfc.ini") << "kept as it is\n";
    write_profile("S3cret");
  }
  void TearDown() override { set_error_report_target(nullptr); }

  void write_profile(const std::string& password, const std::string& extra = "") {
    drive_.write(std::string(kSensorFolder) + "PRD.P00",
                 "Extcompany.: Example\nDestination: PRD\nClient.....: 100\nUser.......: monitor\n"
                 "Password...: " + encode_password(password, 1).value() +
                     "\nLanguage...: E\nMode.......: R/3\nHostname...: sapprd\n"
                     "Sysnr......: 00\nGwhost.....: 127.0.0.1\nGwservice..: " + sap_.port() +
                     "\n" + extra);
  }

  /// Runs the check for `args` (after the program name); returns the exit status.
  int check(std::vector<const char*> args) {
    args.insert(args.begin(), "tarnwheel-check");
    CheckRun run;
    begin_check(run, steady_milliseconds());
    run.log.out = Output{nullptr, &printed_};
    return run_check(run, static_cast<int>(args.size()), args.data());
  }

  std::string lines_beginning(std::string_view start) const {
    std::istringstream in(printed_);
    std::string line, found;
    while (std::getline(in, line)) {
      if (line.starts_with(start)) found += line + "\n";
    }
    return found;
  }

  TempDrive drive_;
  WorkingDirectory work_{drive_.root() / "work"};
  tw::testing::SimulatedSap sap_{kScenario, drive_.root() / "sim.log"};
  std::string printed_;
};

TEST_F(RunCheck, ASoundSetUpPassesEveryCheck) {
  ASSERT_EQ(check({"PRD"}), 0) << printed_;
  EXPECT_EQ(lines_beginning("FAIL"), "");
  EXPECT_EQ(lines_beginning("--"), "");
  EXPECT_NE(printed_.find("ok   ADA_LOG_STATISTICS: 2 rows, QuePages=400, OverFlows=0; no row "
                          "for PhysReads"),
            std::string::npos)
      << printed_;
  EXPECT_TRUE(printed_.ends_with(" failed, 0 skipped\n"));
  // Neither the password nor its stored value shows; no file but its own is touched.
  EXPECT_EQ(printed_.find("S3cret"), std::string::npos);
  EXPECT_EQ(printed_.find(encode_password("S3cret", 1).value()), std::string::npos);
  std::ifstream ini(drive_.root() / "work" / "SapRfc.ini");
  std::string kept;
  std::getline(ini, kept);
  EXPECT_EQ(kept, "kept as it is");
}

TEST_F(RunCheck, FailuresAreCountedAndEndInStatusOne) {
  write_profile("Wrong");
  EXPECT_EQ(check({"PRD", "TIMEOUT=soon"}), 1);
  EXPECT_NE(lines_beginning("FAIL deadline: TIMEOUT=soon is no number of seconds from 1 to 900, "
                            "so the sensor keeps 55 s"),
            "");
  EXPECT_NE(lines_beginning("FAIL RFC_SYSTEM_INFO: the library says 'Name or password is "
                            "incorrect (repeat logon)'"),
            "");
  EXPECT_NE(lines_beginning("--   ADA_LOG_STATISTICS: skipped, RFC_SYSTEM_INFO failed"), "");
  EXPECT_EQ(printed_.find("Wrong"), std::string::npos);
}

TEST_F(RunCheck, AMissingProfileNameIsTheOnlyCheck) {
  EXPECT_EQ(check({}), 1);
  EXPECT_EQ(printed_,
            "FAIL command line: no profile name; the sensor answers \"Error 1001: Parameter for "
            "Profile-Name is missing !\" -- to do: name the profile as the first parameter, as "
            "PRTG passes it: tarnwheel-check PRD [SELECTORS]\n"
            "1 check: 0 ok, 1 failed, 0 skipped\n");
}

TEST(LibraryChoice, TheSensorsPickDecides) {
  // The tests' folder holds the classic stand-in; the NetWeaver one lies in a folder below.
  RunSettings settings;
  LibraryChoice choice = choose_library(settings);
  EXPECT_EQ(choice.kind, "classic");
  EXPECT_EQ(choice.file, kRfcLibraryFile);
  EXPECT_TRUE(choice.companions.empty());
  EXPECT_EQ(choice.error, "");
  EXPECT_EQ(library_version(choice.directory + choice.file), "");  // no RfcGetVersion

  settings.option_upper = "RFCLIB=NW";
  choice = choose_library(settings);
  EXPECT_EQ(choice.kind, "");
  EXPECT_EQ(choice.file, kNwRfcLibraryFile);
  EXPECT_NE(choice.error.find(std::string(kNwRfcLibraryFile) + " not found in "),
            std::string::npos)
      << choice.error;
}

TEST_F(RunCheck, DurationsAsTheLinesShowThem) {
  EXPECT_EQ(duration_text(0), "0 ms");
  EXPECT_EQ(duration_text(9999), "9999 ms");
  EXPECT_EQ(duration_text(62345), "62.3 s");
}

}  // namespace
}  // namespace tw::check
