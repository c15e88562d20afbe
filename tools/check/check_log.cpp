#include "check/check_log.h"

namespace tw::check {

namespace {

/// Appends `text` with every control character made "?".
void append_one_line(std::string& line, std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    line += byte < 0x20 || byte == 0x7F ? '?' : c;
  }
}

}  // namespace

std::string check_line(Verdict verdict, std::string_view what, std::string_view cause,
                       std::string_view remedy) {
  std::string line;
  switch (verdict) {
    case Verdict::ok: line = "ok   "; break;
    case Verdict::fail: line = "FAIL "; break;
    case Verdict::skipped: line = "--   "; break;
  }
  append_one_line(line, what);
  if (verdict == Verdict::skipped) {
    line += ": skipped";
    if (!cause.empty()) line += ", ";
  } else if (!cause.empty()) {
    line += ": ";
  }
  append_one_line(line, cause);
  if (verdict == Verdict::fail && !remedy.empty()) {
    line += " -- to do: ";
    append_one_line(line, remedy);
  }
  line += '\n';
  return line;
}

std::string summary_line(unsigned ok, unsigned failed, unsigned skipped) {
  const unsigned checks = ok + failed + skipped;
  return std::to_string(checks) + (checks == 1 ? " check: " : " checks: ") + std::to_string(ok) +
         " ok, " +
         std::to_string(failed) + " failed, " + std::to_string(skipped) + " skipped\n";
}

void CheckLog::ok(std::string_view what) {
  ++ok_count;
  print(out, check_line(Verdict::ok, what));
}

void CheckLog::fail(std::string_view what, std::string_view cause, std::string_view remedy) {
  ++fail_count;
  print(out, check_line(Verdict::fail, what, cause, remedy));
}

void CheckLog::skip(std::string_view what, std::string_view because) {
  ++skip_count;
  print(out, check_line(Verdict::skipped, what, because));
}

int CheckLog::finish() {
  print(out, summary_line(ok_count, fail_count, skip_count));
  return fail_count == 0 ? 0 : 1;
}

}  // namespace tw::check
