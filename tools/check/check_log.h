// The lines of a set-up check: one per check, "ok   ", "FAIL " or "--   " (skipped after a
// failure), then what was checked and, for a failure, the cause and what to do; the last
// line counts them.
#pragma once

#include <string>
#include <string_view>

#include "output/print.h"

namespace tw::check {

enum class Verdict { ok, fail, skipped };

/// One check line, with its line feed: "ok   WHAT", "FAIL WHAT: CAUSE -- to do: REMEDY"
/// (without the remedy part when `remedy` is empty) or "--   WHAT: skipped, CAUSE". Control
/// characters in the texts become "?", so that one check always stays one line.
std::string check_line(Verdict verdict, std::string_view what, std::string_view cause = {},
                       std::string_view remedy = {});

/// The last line, with its line feed: "N checks: N ok, N failed, N skipped" ("1 check: ...").
std::string summary_line(unsigned ok, unsigned failed, unsigned skipped);

/// Prints check lines and counts them.
struct CheckLog {
  Output out;
  unsigned ok_count = 0;
  unsigned fail_count = 0;
  unsigned skip_count = 0;

  /// A check that passed: `what` says what was checked and what was found.
  void ok(std::string_view what);
  /// A check that failed, with its cause and what to do.
  void fail(std::string_view what, std::string_view cause, std::string_view remedy = {});
  /// A check that cannot be made because of a failure before it.
  void skip(std::string_view what, std::string_view because);
  /// Prints the summary line; returns the exit status: 0 when nothing failed, else 1.
  int finish();
};

}  // namespace tw::check
