#include "timeouts.h"

#include <cstdlib>
#include <string_view>

namespace tw::rfclib {

Seconds parse_seconds(const char* text, Seconds fallback) {
  if (text == nullptr) return fallback;
  std::string_view view(text);
  while (!view.empty() && view.front() == ' ') view.remove_prefix(1);
  while (!view.empty() && view.back() == ' ') view.remove_suffix(1);
  if (view.empty()) return fallback;
  // Plain decimal only: digits with at most one point; no sign, exponent, "inf" or "nan".
  // Read by hand, as the C library would follow the locale's decimal point.
  double value = 0.0;
  double scale = 0.1;  // after the point: the weight of the next digit
  bool point = false;
  bool digit = false;
  for (char c : view) {
    if (c >= '0' && c <= '9') {
      digit = true;
      if (!point) {
        value = value * 10.0 + (c - '0');
      } else {
        value += (c - '0') * scale;
        scale /= 10.0;
      }
      if (value > 86400.0) return fallback;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return fallback;
    }
  }
  if (!digit) return fallback;
  if (!(value > 0.0) || value > 86400.0) return fallback;
  return Seconds(value);
}

Seconds connect_timeout() { return parse_seconds(std::getenv("RFC_CONNECT_TIMEOUT"), Seconds(5)); }

Seconds call_timeout() { return parse_seconds(std::getenv("RFC_CALL_TIMEOUT"), Seconds(25)); }

net::Deadline deadline_after(Seconds timeout) {
  return net::Clock::now() + std::chrono::duration_cast<net::Clock::duration>(timeout);
}

}  // namespace tw::rfclib
