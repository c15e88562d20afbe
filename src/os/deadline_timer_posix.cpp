// The watchdog on POSIX: a thread of its own waiting on a condition variable.
#ifndef _WIN32

#include <pthread.h>

#include <chrono>
#include <cstdlib>
#include <condition_variable>
#include <mutex>

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
  pthread_t thread{};    ///< these two are touched by the starting thread only
  bool running = false;
};

// The watchdog only builds and writes one answer. A small stack also keeps the start of
// the thread cheap: a default stack of several MiB may be backed by a huge page that
// the system clears first.
constexpr std::size_t kWatchdogStack = 256 * 1024;

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

void* watch(void*) {
  t_on_deadline_thread = true;
  Watchdog& w = watchdog();
  for (;;) {
    {
      std::unique_lock<std::mutex> hold(w.mutex);
      // Woken early by a moved deadline or a stop; a spurious wake-up just waits again.
      while (!w.stop && std::chrono::steady_clock::now() < due_time(w)) {
        w.wake.wait_until(hold, due_time(w));
      }
      if (w.stop) return nullptr;
    }
    lock_output();
    bool stopped, due;
    {
      std::lock_guard<std::mutex> hold(w.mutex);
      stopped = w.stop;
      due = std::chrono::steady_clock::now() >= due_time(w);
    }
    // The run may have ended, or moved its deadline on, while this thread waited for the
    // lock: then nothing is said, or the watch goes on.
    if (!stopped && due) w.handler(w.context);
    unlock_output();
    if (stopped || due) return nullptr;
  }
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
  if (w.running) return false;
  {
    std::lock_guard<std::mutex> hold(w.mutex);
    w.start_ms = start_ms;
    w.seconds = seconds;
    w.stop = false;
    w.handler = handler;
    w.context = context;
  }
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return false;
  pthread_attr_setstacksize(&attributes, kWatchdogStack);
  // Without a thread to be had the run goes on without a deadline.
  w.running = pthread_create(&w.thread, &attributes, watch, nullptr) == 0;
  pthread_attr_destroy(&attributes);
  return w.running;
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
  if (!w.running) return;
  {
    std::lock_guard<std::mutex> hold(w.mutex);
    w.stop = true;
  }
  w.wake.notify_all();
  pthread_join(w.thread, nullptr);
  w.running = false;
}

bool on_deadline_thread() { return t_on_deadline_thread; }

void end_process_at_once(int status) { std::_Exit(status); }

}  // namespace tw

#endif  // !_WIN32
