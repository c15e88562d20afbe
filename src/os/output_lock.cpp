#include "os/output_lock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <mutex>
#endif

namespace tw {

namespace {
#ifdef _WIN32
// Statically initialised and never destroyed: the lock may still be held when the
// process ends at the deadline.
SRWLOCK g_output_lock = SRWLOCK_INIT;
#else
constinit std::mutex g_output_lock;
#endif
}  // namespace

void lock_output() {
#ifdef _WIN32
  AcquireSRWLockExclusive(&g_output_lock);
#else
  g_output_lock.lock();
#endif
}

void unlock_output() {
#ifdef _WIN32
  ReleaseSRWLockExclusive(&g_output_lock);
#else
  g_output_lock.unlock();
#endif
}

}  // namespace tw
