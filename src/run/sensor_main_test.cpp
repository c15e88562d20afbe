#include "run/sensor.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/temp_dir.h"

namespace tw {
namespace {

using testing::TempDrive;
using testing::WorkingDirectory;

std::string error_document(std::string_view message) {
  return "<Prtg>\n<Error>1</Error>\n<Text>" + std::string(message) + "</Text>\n</Prtg>\n";
}

struct RunResult {
  int status;
  std::string out;
  Sensor sensor;
};

RunResult run(std::vector<std::string> args) {
  std::vector<const char*> argv = {"tarnwheel"};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  RunResult result{0, "", {}};
  result.sensor.out.capture = &result.out;
  result.status = sensor_main(result.sensor, static_cast<int>(argv.size()), argv.data(),
                              "08:15:02");
  return result;
}

TEST(TakeCommandLine, OptionTextAndSelectors) {
  RunSettings settings;
  const char* argv[] = {"p", "PRD", "item=Max:Used,x #", "client=300", "ignored"};
  take_command_line(settings, 5, argv);
  EXPECT_EQ(settings.option_kept, "item=Max:Used,x # client=300");
  EXPECT_EQ(settings.option_upper, "ITEM=MAX:USED,X # CLIENT=300");
  EXPECT_TRUE(settings.item_selection);
  EXPECT_EQ(settings.item, "Max Used");
  EXPECT_EQ(settings.profile_name, "Keswarin.Prf");
  EXPECT_TRUE(settings.console_mode);
  EXPECT_TRUE(settings.client_override);
  EXPECT_EQ(settings.client, "300");
}

TEST(TakeCommandLine, LimitsAndFirstOccurrence) {
  RunSettings settings;
  const std::string long_option = "ITEM=" + std::string(200, 'q') + " ITEM=second";
  const char* argv[] = {"p", "PRD", long_option.c_str()};
  take_command_line(settings, 3, argv);
  EXPECT_EQ(settings.option_kept.size(), 127u);
  EXPECT_EQ(settings.item, std::string(90, 'q'));

  RunSettings twice;
  const char* argv2[] = {"p", "PRD", "ITEM=first", "ITEM=second"};
  take_command_line(twice, 4, argv2);
  EXPECT_EQ(twice.item, "first");

  RunSettings plain;
  const char* argv3[] = {"p", "PRD", "ümlaut,100%"};
  take_command_line(plain, 3, argv3);
  EXPECT_EQ(plain.option_upper, "üMLAUT,100%");  // only a to z change
  EXPECT_TRUE(plain.console_mode);
  EXPECT_FALSE(plain.item_selection);
  EXPECT_FALSE(plain.client_override);
}

TEST(TakeStartTime, Banner) {
  RunSettings settings;
  take_start_time(settings, "08:15:02");
  EXPECT_EQ(settings.banner, "* 08:15:02 SAP Tarnwheel Vers 4.3 / 29.08.22");
}

TEST(SensorMain, MissingProfileNameIsError1001) {
  const RunResult result = run({});
  EXPECT_EQ(result.status, kExitFailed);
  EXPECT_EQ(result.out, error_document("Error 1001: Parameter for Profile-Name is missing !"));
}

TEST(SensorMain, LocationErrorsPrintOnlyTheDocument) {
  TempDrive drive;
  WorkingDirectory work(drive.root() / "work");
  for (const char* console : {"", "#", "$", "100%"}) {
    RunResult result = run({"PRD", console});
    EXPECT_EQ(result.status, kExitFailed);
    EXPECT_EQ(result.out, error_document("Error 1002: Profile PRD.P00 is missing..."));
    // Answered: a deadline passing now would add nothing.
    EXPECT_EQ(result.sensor.progress.phase, RunPhase::answered);
    EXPECT_EQ(result.sensor.progress.exit_status, kExitFailed);
  }
  RunResult given = run({"sub\\PRD", "@"});
  EXPECT_EQ(given.out, error_document("Error 1002: Profile sub\\PRD.P00 is missing..."));
  drive.write("\\work\\PRD.P00", "");
  RunResult usage = run({"PRD"});
  EXPECT_EQ(usage.status, kExitFailed);
  EXPECT_EQ(usage.out, error_document("Sorry, invalid Path-Usage..."));
}

TEST(SensorMain, ProfileErrorsPrintOnlyTheDocument) {
  TempDrive drive;
  WorkingDirectory work(drive.root() / "work");
  drive.write("\\work\\PRD.P00", "User.......: u\n");
  for (const char* console : {"@", "#@$%"}) {
    RunResult result = run({"PRD", console});
    EXPECT_EQ(result.status, kExitFailed);
    EXPECT_EQ(result.out, error_document("Error 1007: Password in Profile PRD.P00 is missing..."));
  }
}

TEST(SensorMain, HugeArgumentsAreHandled) {
  TempDrive drive;
  WorkingDirectory work(drive.root() / "work");
  const std::string huge(100000, 'A');
  RunResult result = run({huge, huge});
  EXPECT_EQ(result.status, kExitFailed);
  EXPECT_EQ(result.out, error_document("Error 1002: Profile " + huge + ".P00 is missing..."));
  EXPECT_EQ(result.sensor.settings.option_kept.size(), 127u);
}

}  // namespace
}  // namespace tw
