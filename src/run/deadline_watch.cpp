// The run's deadline: the watchdog's handler, arming and moving the deadline, and the one
// way the process ends.
#include <cstdio>
#include <cstdlib>

#include "os/deadline_timer.h"
#include "os/local_time.h"
#include "os/output_lock.h"
#include "run/sensor.h"

namespace tw {

namespace {

/// On the watchdog thread, with the output lock held: the answer for what the progress
/// record says, then the end of the process. Nothing may leave this thread but that end.
void answer_deadline(void* context) noexcept {
  int status = kExitFailed;
  try {
    Sensor& sensor = *static_cast<Sensor*>(context);
    const DeadlineAnswer answer = compose_deadline_answer(sensor.progress, local_time_of_day());
    if (!answer.text.empty()) print_holding_lock(sensor.out, answer.text);
    status = answer.status;
  } catch (...) {
    // Without its text the deadline still ends the run.
  }
  end_process(status);
}

}  // namespace

void end_process(int status, bool inside_library) {
  if (on_deadline_thread()) {
    std::fflush(stdout);
    end_process_at_once(status);
  }
  // The run's own end. Held to the last, the output lock lets no deadline answer follow
  // (one being written is finished first, and its handler ends the process); the watchdog,
  // asleep or waiting for the lock, ends with the process. Nothing waits for its thread.
  lock_output();
  std::fflush(stdout);
  if (inside_library) {
    std::fflush(nullptr);
    end_process_at_once(status);
  }
  std::exit(status);
}

void arm_deadline(Sensor& sensor) {
  const RunSettings& settings = sensor.settings;
  {
    const OutputLock hold;
    sensor.progress.deadline = settings.deadline;
    sensor.progress.console_mode = settings.console_mode;
    sensor.progress.profile_name = settings.profile_name;
  }
  if (settings.watchdog) {
    start_deadline_timer(settings.start_ms, settings.deadline, answer_deadline, &sensor);
  }
}

void move_deadline(Sensor& sensor, unsigned seconds) {
  sensor.settings.deadline = seconds;
  // Both under the output lock: a watchdog that takes it next sees the new deadline in its
  // timer and in the text it would write alike.
  const OutputLock hold;
  sensor.progress.deadline = seconds;
  if (sensor.settings.watchdog) move_deadline_timer(seconds);
}

}  // namespace tw
