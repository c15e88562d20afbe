// The watchdog on Windows: a thread of its own (CreateThread) waiting on a condition
// variable; the C++ thread library is not there in every MinGW build.
#ifdef _WIN32

#include <windows.h>

#include "os/deadline_timer.h"
#include "os/output_lock.h"

namespace tw {

namespace {

/// The watchdog's record; `lock` guards every field but `thread`, which only the
/// starting thread touches.
struct Watchdog {
  SRWLOCK lock = SRWLOCK_INIT;
  CONDITION_VARIABLE wake = CONDITION_VARIABLE_INIT;
  ULONGLONG start_ms = 0;
  unsigned seconds = 0;
  bool stop = false;
  DWORD thread_id = 0;  ///< set by the watchdog thread itself
  DeadlineHandler handler = nullptr;
  void* context = nullptr;
  HANDLE thread = nullptr;
};

// Statically initialised and never destroyed: the process may end while the watchdog
// still waits on it.
Watchdog g_watchdog;

DWORD WINAPI watch(LPVOID) {
  Watchdog& w = g_watchdog;
  AcquireSRWLockExclusive(&w.lock);
  w.thread_id = GetCurrentThreadId();
  ReleaseSRWLockExclusive(&w.lock);
  for (;;) {
    AcquireSRWLockExclusive(&w.lock);
    // Woken early by a moved deadline or a stop; a spurious wake-up just waits again.
    for (;;) {
      if (w.stop) {
        ReleaseSRWLockExclusive(&w.lock);
        return 0;
      }
      const ULONGLONG due = w.start_ms + ULONGLONG{w.seconds} * 1000;
      const ULONGLONG now = GetTickCount64();
      if (now >= due) break;
      const ULONGLONG wait = due - now;
      SleepConditionVariableSRW(&w.wake, &w.lock, wait < INFINITE ? static_cast<DWORD>(wait)
                                                                  : INFINITE - 1,
                                0);
    }
    ReleaseSRWLockExclusive(&w.lock);

    lock_output();
    AcquireSRWLockExclusive(&w.lock);
    const bool stopped = w.stop;
    const bool due = GetTickCount64() >= w.start_ms + ULONGLONG{w.seconds} * 1000;
    ReleaseSRWLockExclusive(&w.lock);
    // The run may have ended, or moved its deadline on, while this thread waited for the
    // lock: then nothing is said, or the watch goes on.
    if (!stopped && due) w.handler(w.context);
    unlock_output();
    if (stopped || due) return 0;
  }
}

}  // namespace

std::uint64_t steady_milliseconds() { return GetTickCount64(); }

bool start_deadline_timer(std::uint64_t start_ms, unsigned seconds, DeadlineHandler handler,
                          void* context) {
  Watchdog& w = g_watchdog;
  if (w.thread != nullptr) return false;
  AcquireSRWLockExclusive(&w.lock);
  w.start_ms = start_ms;
  w.seconds = seconds;
  w.stop = false;
  w.thread_id = 0;
  w.handler = handler;
  w.context = context;
  ReleaseSRWLockExclusive(&w.lock);
  // A small stack: the watchdog only builds and writes one answer.
  w.thread = CreateThread(nullptr, 256 * 1024, watch, nullptr,
                          STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  return w.thread != nullptr;
}

void move_deadline_timer(unsigned seconds) {
  Watchdog& w = g_watchdog;
  AcquireSRWLockExclusive(&w.lock);
  w.seconds = seconds;
  ReleaseSRWLockExclusive(&w.lock);
  WakeAllConditionVariable(&w.wake);
}

void stop_deadline_timer() {
  Watchdog& w = g_watchdog;
  if (w.thread == nullptr) return;
  AcquireSRWLockExclusive(&w.lock);
  w.stop = true;
  ReleaseSRWLockExclusive(&w.lock);
  WakeAllConditionVariable(&w.wake);
  WaitForSingleObject(w.thread, INFINITE);
  CloseHandle(w.thread);
  w.thread = nullptr;
}

bool on_deadline_thread() {
  Watchdog& w = g_watchdog;
  AcquireSRWLockShared(&w.lock);
  const bool here = w.thread_id != 0 && w.thread_id == GetCurrentThreadId();
  ReleaseSRWLockShared(&w.lock);
  return here;
}

void end_process_at_once(int status) {
  // ExitProcess would run every library's detach code while the main thread may still be
  // inside one of them, holding its locks; terminating runs none of it.
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
  ExitProcess(static_cast<UINT>(status));  // only should terminating itself fail
}

}  // namespace tw

#endif  // _WIN32
