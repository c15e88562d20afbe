#include "output/report.h"

#include <gtest/gtest.h>

namespace tw {
namespace {

TEST(GroupDigits, InsertsAtMostTwoSeparators) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},           {"7", "7"},           {"999", "999"},
      {"1000", "1.000"},  {"1234", "1.234"},    {"100000", "100.000"},
      {"123456", "123.456"}, {"1000000", "1.000.000"}, {"1234567890", "1234.567.890"},
  };
  for (const auto& [in, want] : cases) {
    std::string text = in;
    group_digits(text);
    EXPECT_EQ(text, want) << "for " << in;
  }
}

}  // namespace
}  // namespace tw
