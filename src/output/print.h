// Standard output, the sensor's only channel to the monitoring host.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tw {

/// Where printed text goes: standard output, or a string when a test captures it.
struct Output {
  std::FILE* stream = stdout;
  std::string* capture = nullptr;
};

/// Writes `text` unchanged (NUL bytes included) and flushes, so nothing is lost when the
/// process ends from inside the RFC library. Takes the output lock for the write.
void print(Output& out, std::string_view text);

/// The same for a caller that already holds the output lock (os/output_lock.h).
void print_holding_lock(Output& out, std::string_view text);

}  // namespace tw
