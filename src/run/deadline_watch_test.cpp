// The watchdog at work in a process of its own (a death test): its answer goes out while
// the main thread is blocked, and a run that ends first is not answered twice.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "os/deadline_timer.h"
#include "run/sensor.h"

namespace tw {
namespace {

/// A sensor whose output goes to standard error, where the death test reads it, with a
/// watchdog whose deadline of `seconds` counts from `seconds_ago` seconds before now.
void arm_in_child(Sensor& sensor, unsigned seconds, unsigned seconds_ago) {
  sensor.out.stream = stderr;
  sensor.settings.watchdog = true;
  sensor.settings.deadline = seconds;
  sensor.settings.start_ms = steady_milliseconds() - std::uint64_t{seconds_ago} * 1000;
  arm_deadline(sensor);
}

/// Blocks the main thread for good, as a hanging RFC call would.
[[noreturn]] void hang() {
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}

TEST(DeadlineWatchDeathTest, AnswersWhileTheMainThreadHangs) {
  EXPECT_EXIT(
      {
        Sensor sensor;
        sensor.profile.destination = "PRD";
        begin_single_progress(sensor);
        note_rfc_step(sensor, RfcStep::statistics);
        arm_in_child(sensor, 1, 10);  // passed long ago: strikes at once
        hang();
      },
      ::testing::ExitedWithCode(kExitFailed),
      "^<Prtg>\n<Error>1</Error>\n<Text>Error 1016: PRD: no answer to the statistics call "
      "within 1 s !</Text>\n</Prtg>\n$");
}

TEST(DeadlineWatchDeathTest, AnsweredRunEndsWithItsOwnStatusAndNothingMore) {
  EXPECT_EXIT(
      {
        Sensor sensor;
        sensor.out.stream = stderr;
        begin_single_progress(sensor);
        print_answer(sensor, "the answer\n", kExitRfcLibrary);
        arm_in_child(sensor, 1, 10);
        hang();  // as in RfcClose after the RFC error report
      },
      ::testing::ExitedWithCode(kExitRfcLibrary), "^the answer\n$");
}

TEST(DeadlineWatchDeathTest, RunThatEndsFirstIsNotAnsweredAgain) {
  EXPECT_EXIT(
      {
        Sensor sensor;
        arm_in_child(sensor, kLongestDeadline, 0);
        print_answer(sensor, "done\n", kExitDone);
        end_process(kExitDone);
      },
      ::testing::ExitedWithCode(kExitDone), "^done\n$");
}

}  // namespace
}  // namespace tw
