#include "check/check_log.h"

#include <gtest/gtest.h>

namespace tw::check {
namespace {

TEST(CheckLine, EachVerdictHasItsShape) {
  EXPECT_EQ(check_line(Verdict::ok, "program folder /opt/x/"), "ok   program folder /opt/x/\n");
  EXPECT_EQ(check_line(Verdict::fail, "path rule", "found in the working directory", "move it"),
            "FAIL path rule: found in the working directory -- to do: move it\n");
  EXPECT_EQ(check_line(Verdict::fail, "profile User", "missing"), "FAIL profile User: missing\n");
  EXPECT_EQ(check_line(Verdict::skipped, "logon", "there is no RFC library"),
            "--   logon: skipped, there is no RFC library\n");
  EXPECT_EQ(check_line(Verdict::skipped, "logon"), "--   logon: skipped\n");
  // A remedy belongs to failures only.
  EXPECT_EQ(check_line(Verdict::ok, "x", "", "never shown"), "ok   x\n");
}

TEST(CheckLine, OneCheckStaysOneLine) {
  EXPECT_EQ(check_line(Verdict::fail, "a\nb", "c\r\nd\te", "f\x7fg"),
            "FAIL a?b: c??d?e -- to do: f?g\n");
  // Bytes from 0x80 up (a value in another code page) pass unchanged.
  EXPECT_EQ(check_line(Verdict::ok, "K\xfc" "che"), "ok   K\xfc" "che\n");
}

TEST(CheckLog, CountsAndEndsWithTheStatus) {
  std::string printed;
  CheckLog log{Output{nullptr, &printed}};
  log.ok("one");
  log.skip("two", "because");
  EXPECT_EQ(log.finish(), 0);  // skipped checks alone fail nothing
  EXPECT_EQ(printed, "ok   one\n--   two: skipped, because\n2 checks: 1 ok, 0 failed, 1 skipped\n");
  printed.clear();
  log.fail("three", "broken", "mend it");
  EXPECT_EQ(log.finish(), 1);
  EXPECT_EQ(printed, "FAIL three: broken -- to do: mend it\n3 checks: 1 ok, 1 failed, 1 skipped\n");
}

}  // namespace
}  // namespace tw::check
