// The watchdog on POSIX: a standard thread waiting on a condition variable.
#ifndef _WIN32

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "os/deadline_timer.h"
#include "os/output_lock.h"

namespace tw {

namespace {

/// The watchdog's own record; `mutex` guards the fields the two threads share.
struct Watchdog {
  std::mutex mutex;
  std::condition_variable wake;
  std::uint64_t start_ms = 0;
  unsigned seconds = 0;
  bool stop = false;
  DeadlineHandler handler = nullptr;
  void* context = nullptr;
  std::thread thread;  ///< touched by the starting thread only
};

// Never destroyed: the process may end while the watchdog still waits on it.
Watchdog& watchdog() {
  static Watchdog* const record = new Watchdog;
  return *record;
}

thread_local bool t_on_deadline_thread = false;

std::chrono::steady_clock::time_point due_time(const Watchdog& w) {
  return std::chrono::steady_clock::time_point(
      std::chrono::milliseconds(w.start_ms + std::uint64_t{w.seconds} * 1000));
}

void watch() {
  t_on_deadline_thread = true;
  Watchdog& w = watchdog();
  {
    std::unique_lock<std::mutex> hold(w.mutex);
    // Woken early by a moved deadline or a stop; a spurious wake-up just waits again.
    while (!w.stop && std::chrono::steady_clock::now() < due_time(w)) {
      w.wake.wait_until(hold, due_time(w));
    }
    if (w.stop) return;
  }
  lock_output();
  bool stopped;
  {
    std::lock_guard<std::mutex> hold(w.mutex);
    stopped = w.stop;
  }
  // The run may have ended while this thread waited for the lock: then nothing is said.
  if (!stopped) w.handler(w.context);
  unlock_output();
}

}  // namespace

std::uint64_t steady_milliseconds() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

bool start_deadline_timer(std::uint64_t start_ms, unsigned seconds, DeadlineHandler handler,
                          void* context) {
  Watchdog& w = watchdog();
  if (w.thread.joinable()) return false;
  {
    std::lock_guard<std::mutex> hold(w.mutex);
    w.start_ms = start_ms;
    w.seconds = seconds;
    w.stop = false;
    w.handler = handler;
    w.context = context;
  }
  try {
    w.thread = std::thread(watch);
  } catch (...) {
    return false;  // no thread to be had: the run goes on without a deadline
  }
  return true;
}

void move_deadline_timer(unsigned seconds) {
  Watchdog& w = watchdog();
  {
    std::lock_guard<std::mutex> hold(w.mutex);
    w.seconds = seconds;
  }
  w.wake.notify_all();
}

void stop_deadline_timer() {
  Watchdog& w = watchdog();
  if (!w.thread.joinable()) return;
  {
    std::lock_guard<std::mutex> hold(w.mutex);
    w.stop = true;
  }
  w.wake.notify_all();
  w.thread.join();
}

bool on_deadline_thread() { return t_on_deadline_thread; }

}  // namespace tw

#endif  // !_WIN32
