// The one lock around standard output. Whatever the sensor prints, and the records from
// which the answer at the run's deadline is built, are touched only while it is held, so
// that the run's own output and the deadline answer never interleave.
#pragma once

namespace tw {

/// Takes the output lock; waits while another thread holds it. Not recursive.
void lock_output();

/// Releases the output lock taken by this thread.
void unlock_output();

/// Holds the output lock for the life of the object.
class OutputLock {
 public:
  OutputLock() { lock_output(); }
  ~OutputLock() { unlock_output(); }
  OutputLock(const OutputLock&) = delete;
  OutputLock& operator=(const OutputLock&) = delete;
};

}  // namespace tw
