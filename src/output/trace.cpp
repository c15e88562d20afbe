#include "output/trace.h"

#include <cstdio>

#include "os/regular_file.h"

namespace tw {

void attach_trace(Trace& trace, std::string_view option_upper) {
  if (option_upper.find(",SYSLOG") == std::string_view::npos) return;
  trace.stream.reset(open_regular_file(native_path(kSensorTraceFile), "a"));
}

void echo_field(Output& out, std::string_view label, int indent, int width,
                std::string_view value) {
  std::string line(indent > 0 ? static_cast<std::size_t>(indent) : 0, ' ');
  line += label;
  if (width > 0 && label.size() < static_cast<std::size_t>(width)) {
    line.append(static_cast<std::size_t>(width) - label.size(), ' ');
  }
  line += " : ";
  line += value;
  line += '\n';
  print(out, line);
}

void trace_line(Trace& trace, std::string_view option_upper, int number,
                std::string_view message, std::string_view text) {
  if (!trace.stream || option_upper.find(",SYSLOG") == std::string_view::npos) return;
  std::string line = std::to_string(number);
  line += ' ';
  line += message;
  line += ' ';
  line += text;
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), trace.stream.get());
  std::fflush(trace.stream.get());
}

void append_trace_notice(Report& report) {
  InputFile file = open_for_reading(kRfcTraceFile);
  if (!file) {
    report_append(report, " - Look for Trace-File");
    return;
  }
  std::string captured;
  std::string piece;
  while (read_piece(file, 99, piece)) {
    // The line end goes whole, also a CR LF that a text read on POSIX leaves in place; only
    // this piece's own, so that later lines never shorten a text taken before.
    strip_line_end(piece);
    const std::string_view view(piece);
    if (view.starts_with("**** ERROR ")) captured.clear();
    if (view.starts_with("ERROR ")) captured = view.size() > 12 ? piece.substr(12) : "";
    if (view.size() >= 15 && view.substr(7, 8) == "======> ") captured = piece.substr(15);
  }
  if (captured.empty()) {
    report_append(report, " - Please Check Trace-File !");
  } else {
    report_append(report, " - ");
    report_append(report, captured);
  }
}

void append_rfc_trace_line(std::string_view line) {
  const FileHandle file(open_regular_file(native_path(kRfcTraceFile), "ab"));
  if (!file) return;
  std::string text(line);
  text += '\n';
  std::fwrite(text.data(), 1, text.size(), file.get());
}

}  // namespace tw
