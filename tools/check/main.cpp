// Process entry of the set-up check: goes the way the sensor would go for the same command
// line and tells, check by check, what is wrong and what to do.
#include <cstdlib>

#include "check/check_run.h"
#include "os/deadline_timer.h"

int main(int argc, char** argv) {
  const std::uint64_t start_ms = tw::steady_milliseconds();
  // Never destroyed: the RFC library's error handler may end the process from inside it.
  auto* run = new tw::check::CheckRun;
  tw::check::begin_check(*run, start_ms);
  const int status = tw::check::run_check(*run, argc, argv);
  std::fflush(stdout);
  std::exit(status);
}
