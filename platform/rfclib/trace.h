// The trace file in the working directory (os/rfc_file_names.h names it): written only when
// an error happens, appended to.
#pragma once

#include <ctime>
#include <string>

#include "os/rfc_file_names.h"

namespace tw::rfclib {

/// What the process has written to the trace file so far.
struct TraceState {
  bool header_written = false;
  unsigned counter = 0;  ///< errors written
};

/// What one error adds to the trace file.
struct TraceEntry {
  std::string text;       ///< the error text
  std::string detail;     ///< the system's reason; no DETAIL line when empty
  std::string location;   ///< where the error arose
  std::string operation;  ///< the C function
  std::string module;     ///< the library's source file
  int line = 0;           ///< ... and line
  int rc = 0;             ///< the operation's return code
};

/*
 * The line written when the process first writes to the file:
 * "**** ERROR file opened at YYYYMMDD HHMMSS" and a line feed.
 */
std::string trace_header(const std::tm& now);

/*
 * The lines of one error: "T:dddd ======> TEXT" (dddd: the process id modulo 10000), then
 * the keys LOCATION, ERROR, DETAIL (only with a detail), TIME, RELEASE, COMPONENT,
 * OPERATION, COUNTER, MODULE, LINE and RETURN CODE, each padded to 12 characters, and an
 * empty line.
 */
std::string trace_entry(const TraceEntry& entry, unsigned long pid, unsigned counter,
                        const std::tm& now);

/*
 * Appends one error to the file, after the header when this process has not written yet.
 * A file that cannot be opened is passed over silently.
 */
void append_trace(const TraceEntry& entry, TraceState& trace_state);

}  // namespace tw::rfclib
