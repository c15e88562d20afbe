#include "timeouts.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tw::rfclib {
namespace {

TEST(Timeouts, PlainDecimalSecondsAreTaken) {
  const Seconds fallback(9);
  EXPECT_DOUBLE_EQ(parse_seconds("0.5", fallback).count(), 0.5);
  EXPECT_DOUBLE_EQ(parse_seconds(" 12 ", fallback).count(), 12.0);
  EXPECT_DOUBLE_EQ(parse_seconds("2.25", fallback).count(), 2.25);
  EXPECT_DOUBLE_EQ(parse_seconds(".3", fallback).count(), 0.3);
}

TEST(Timeouts, AnythingElseKeepsTheFallback) {
  const Seconds fallback(9);
  for (const char* text : {"", "  ", "0", "0.0", "-1", "+1", "1e3", "inf", "nan", "1,5", "1.2.3",
                           ".", "5s", "86401"}) {
    EXPECT_DOUBLE_EQ(parse_seconds(text, fallback).count(), 9.0) << text;
  }
  EXPECT_DOUBLE_EQ(parse_seconds(nullptr, fallback).count(), 9.0);
}

TEST(Timeouts, EnvironmentOverridesTheDefaults) {
  {
    testing::EnvVar connect("RFC_CONNECT_TIMEOUT", std::nullopt);
    testing::EnvVar call("RFC_CALL_TIMEOUT", std::nullopt);
    EXPECT_DOUBLE_EQ(connect_timeout().count(), 5.0);
    EXPECT_DOUBLE_EQ(call_timeout().count(), 25.0);
  }
  testing::EnvVar connect("RFC_CONNECT_TIMEOUT", "0.25");
  testing::EnvVar call("RFC_CALL_TIMEOUT", "1.5");
  EXPECT_DOUBLE_EQ(connect_timeout().count(), 0.25);
  EXPECT_DOUBLE_EQ(call_timeout().count(), 1.5);
}

}  // namespace
}  // namespace tw::rfclib
