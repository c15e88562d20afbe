// The watchdog of the run's deadline: one thread that waits beside the run and, when the
// deadline passes, takes the output lock and calls the run's handler, whatever the main
// thread is doing at that moment (it may be blocked inside the RFC library for good).
#pragma once

#include <cstdint>

namespace tw {

/// Milliseconds of a clock that only moves forward (not the time of day); the deadline
/// counts on it.
std::uint64_t steady_milliseconds();

/// Called on the watchdog thread with the output lock held. Must not throw; it normally
/// ends the process.
using DeadlineHandler = void (*)(void* context) noexcept;

/// Starts the watchdog thread: once the steady clock reaches `start_ms` plus `seconds`,
/// it takes the output lock and calls `handler(context)` (unless stop_deadline_timer came
/// first); should the handler return, it releases the lock and ends. At most one
/// watchdog runs at a time. Returns false when no thread could be started.
bool start_deadline_timer(std::uint64_t start_ms, unsigned seconds, DeadlineHandler handler,
                          void* context);

/// Moves the deadline of the running watchdog to its start plus `seconds`; a deadline
/// already passed strikes at once. Nothing happens when no watchdog runs.
void move_deadline_timer(unsigned seconds);

/// Stops the watchdog and waits for its thread to end, so that another may be started; a
/// watchdog that has already taken the output lock to answer is not stopped (its handler
/// ends the process). Must not be called with the output lock held. Nothing happens when
/// no watchdog runs. (A process that ends needs no stop: the watchdog ends with it.)
void stop_deadline_timer();

/// True on the watchdog thread.
bool on_deadline_thread();

/// Ends the process at once with `status`, running nothing more of the program or of its
/// libraries: no destructors, no exit handlers, and on Windows no library detach code,
/// which could wait for the main thread stuck inside that very library. Standard output
/// must have been flushed.
[[noreturn]] void end_process_at_once(int status);

}  // namespace tw
