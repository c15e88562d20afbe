// The watchdog thread behind the platform seam: when it calls the handler and when not.
#include "os/deadline_timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "os/output_lock.h"

namespace tw {
namespace {

std::atomic<int> g_calls{0};
std::atomic<bool> g_on_watchdog{false};

void count_call(void*) noexcept {
  g_on_watchdog = on_deadline_thread();
  ++g_calls;
}

/// Waits until the handler has run; the limit only keeps a broken watchdog from hanging
/// the test.
bool handler_ran() {
  for (int i = 0; i < 3000 && g_calls == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return g_calls > 0;
}

class DeadlineTimer : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls = 0;
    g_on_watchdog = false;
  }
  void TearDown() override { stop_deadline_timer(); }
  static std::uint64_t seconds_ago(unsigned seconds) {
    return steady_milliseconds() - std::uint64_t{seconds} * 1000;
  }
};

TEST_F(DeadlineTimer, PassedDeadlineCallsTheHandlerOnTheWatchdogThread) {
  ASSERT_TRUE(start_deadline_timer(seconds_ago(5), 1, count_call, nullptr));
  EXPECT_TRUE(handler_ran());
  stop_deadline_timer();
  EXPECT_EQ(g_calls, 1);
  EXPECT_TRUE(g_on_watchdog);
  EXPECT_FALSE(on_deadline_thread());
}

TEST_F(DeadlineTimer, HandlerWaitsForTheOutputLock) {
  lock_output();
  ASSERT_TRUE(start_deadline_timer(seconds_ago(5), 1, count_call, nullptr));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(g_calls, 0);  // the lock is held here
  unlock_output();
  EXPECT_TRUE(handler_ran());
}

TEST_F(DeadlineTimer, MovedDeadlineStrikesWhenAlreadyPassed) {
  ASSERT_TRUE(start_deadline_timer(seconds_ago(5), 900, count_call, nullptr));
  move_deadline_timer(2);
  EXPECT_TRUE(handler_ran());
}

TEST_F(DeadlineTimer, StopBeforeTheDeadlineCallsNothing) {
  ASSERT_TRUE(start_deadline_timer(steady_milliseconds(), 900, count_call, nullptr));
  EXPECT_FALSE(start_deadline_timer(steady_milliseconds(), 1, count_call, nullptr));  // one only
  stop_deadline_timer();
  stop_deadline_timer();  // a second stop does nothing
  EXPECT_EQ(g_calls, 0);
  // A stopped watchdog may be started again.
  ASSERT_TRUE(start_deadline_timer(seconds_ago(5), 1, count_call, nullptr));
  EXPECT_TRUE(handler_ran());
}

}  // namespace
}  // namespace tw
