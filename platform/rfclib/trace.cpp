#include "trace.h"

#include <cstdio>

#include "net.h"
#include "os/regular_file.h"

#ifndef TW_RFCLIB_RELEASE
#define TW_RFCLIB_RELEASE "000"
#endif

namespace tw::rfclib {

namespace {

/*
 * `now` formatted by strftime.
 */
std::string format_time(const char* format, const std::tm& now) {
  char buffer[64];
  const std::size_t size = std::strftime(buffer, sizeof buffer, format, &now);
  return std::string(buffer, size);
}

/*
 * Appends a line of the error block: the key padded to 12 characters, the value.
 */
void add_key(std::string& out, const char* key, const std::string& value) {
  std::string padded(key);
  padded.resize(12, ' ');
  out += padded;
  out += value;
  out += '\n';
}

/*
 * The text on one line: line feeds and carriage returns of a partner's text become blanks.
 */
std::string one_line(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  return text;
}

}  // namespace

std::string trace_header(const std::tm& now) {
  return "**** ERROR file opened at " + format_time("%Y%m%d %H%M%S", now) + "\n";
}

std::string trace_entry(const TraceEntry& entry, unsigned long pid, unsigned counter,
                        const std::tm& now) {
  char thread[16];
  std::snprintf(thread, sizeof thread, "T:%04lu", pid % 10000);
  const std::string text = one_line(entry.text);
  std::string out = std::string(thread) + " ======> " + text + "\n";
  add_key(out, "LOCATION", entry.location);
  add_key(out, "ERROR", text);
  if (!entry.detail.empty()) add_key(out, "DETAIL", one_line(entry.detail));
  add_key(out, "TIME", format_time("%a %b %d %H:%M:%S %Y", now));
  add_key(out, "RELEASE", TW_RFCLIB_RELEASE);
  add_key(out, "COMPONENT", "RFC");
  add_key(out, "OPERATION", entry.operation);
  add_key(out, "COUNTER", std::to_string(counter));
  add_key(out, "MODULE", entry.module);
  add_key(out, "LINE", std::to_string(entry.line));
  add_key(out, "RETURN CODE", std::to_string(entry.rc));
  out += '\n';
  return out;
}

void append_trace(const TraceEntry& entry, TraceState& trace_state) {
  const std::time_t seconds = std::time(nullptr);
  const std::tm* local = std::localtime(&seconds);
  const std::tm now = local != nullptr ? *local : std::tm{};
  ++trace_state.counter;
  std::string out;
  if (!trace_state.header_written) out = trace_header(now);
  out += trace_entry(entry, net::process_id(), trace_state.counter, now);
  std::FILE* file = open_regular_file(kRfcTraceFile, "ab");
  if (file == nullptr) return;
  std::fwrite(out.data(), 1, out.size(), file);
  std::fclose(file);
  trace_state.header_written = true;
}

}  // namespace tw::rfclib
