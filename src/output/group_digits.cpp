#include "output/report.h"

namespace tw {

void group_digits(std::string& number) {
  const std::size_t n = number.size();
  if (n <= 3) return;
  if (n <= 6) {
    number.insert(n - 3, 1, '.');
    return;
  }
  // Two separators at most: a ten-digit number keeps four digits before the first.
  number.insert(n - 3, 1, '.');
  number.insert(n - 6, 1, '.');
}

}  // namespace tw
