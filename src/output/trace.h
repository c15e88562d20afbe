// Console echo of the RFC error report, the optional trace stream, and the trace notice
// that names the RFC library's last error in an error document.
#pragma once

#include <string>
#include <string_view>

#include "os/rfc_file_names.h"
#include "os/text_file.h"
#include "output/print.h"
#include "output/report.h"

namespace tw {

inline constexpr std::string_view kSensorTraceFile = "Tarnwheel.Trc";

/// The trace stream: attached by the ",SYSLOG" selector, absent otherwise.
struct Trace {
  FileHandle stream;
};

/// Attaches the trace stream when the upper-cased option text holds ",SYSLOG": the file
/// "Tarnwheel.Trc" in the working directory, opened for appending. A file that cannot be
/// opened leaves the stream absent.
void attach_trace(Trace& trace, std::string_view option_upper);

/// Prints `indent` blanks, `label` left-aligned in `width` columns (a longer label whole),
/// " : ", `value` and a line feed.
void echo_field(Output& out, std::string_view label, int indent, int width,
                std::string_view value);

/// Writes "<number> <message> <text>" and a line feed to the trace stream and flushes it,
/// when the stream is attached and the option text holds ",SYSLOG"; else nothing.
void trace_line(Trace& trace, std::string_view option_upper, int number,
                std::string_view message, std::string_view text);

/// Appends the trace notice to the report buffer: " - " and the last error text that the
/// RFC library's trace file in the working directory holds after its last "**** ERROR "
/// line; " - Please Check Trace-File !" when there is none; " - Look for Trace-File" when
/// the file cannot be read.
void append_trace_notice(Report& report);

/// Appends `line` and a line feed to the RFC library's trace file in the working directory,
/// where the administrator looks for the reason of a failed open the library was never
/// asked for.
/// Nothing happens when that is no regular file that can be written.
void append_rfc_trace_line(std::string_view line);

}  // namespace tw
