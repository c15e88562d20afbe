#include "trace.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tw::rfclib {
namespace {

std::tm sample_time() {
  std::tm t{};
  t.tm_year = 2024 - 1900;
  t.tm_mon = 2;
  t.tm_mday = 5;
  t.tm_hour = 7;
  t.tm_min = 8;
  t.tm_sec = 9;
  t.tm_wday = 2;
  return t;
}

TEST(Trace, HeaderLine) {
  EXPECT_EQ(trace_header(sample_time()), "**** ERROR file opened at 20240305 070809\n");
}

TEST(Trace, EntryLayout) {
  TraceEntry entry{"timeout during call of RFC_SYSTEM_INFO", "", "RFC client on local host",
                   "RfcReceive", "rfc_receive.cpp", 88, 1};
  EXPECT_EQ(trace_entry(entry, 123456, 3, sample_time()),
            "T:3456 ======> timeout during call of RFC_SYSTEM_INFO\n"
            "LOCATION    RFC client on local host\n"
            "ERROR       timeout during call of RFC_SYSTEM_INFO\n"
            "TIME        Tue Mar 05 07:08:09 2024\n"
            "RELEASE     430\n"
            "COMPONENT   RFC\n"
            "OPERATION   RfcReceive\n"
            "COUNTER     3\n"
            "MODULE      rfc_receive.cpp\n"
            "LINE        88\n"
            "RETURN CODE 1\n"
            "\n");
}

TEST(Trace, DetailLineAndPartnerTextsOnOneLine) {
  TraceEntry entry{"bad\ntext\r", "connection refused", "partner h:1", "RfcOpen", "m.cpp", 1, 1};
  const std::string text = trace_entry(entry, 7, 1, sample_time());
  EXPECT_EQ(text.substr(0, 22), "T:0007 ======> bad tex");
  EXPECT_NE(text.find("ERROR       bad text \nDETAIL      connection refused\nTIME"),
            std::string::npos)
      << text;
}

TEST(Trace, HeaderOnlyOnTheProcessFirstWrite) {
  testing::ScratchDirectory scratch;
  TraceState state;
  TraceEntry entry{"first", "", "here", "RfcOpen", "m.cpp", 1, 1};
  append_trace(entry, state);
  entry.text = "second";
  append_trace(entry, state);
  const std::string text = testing::read_file(kRfcTraceFile);
  EXPECT_EQ(text.find("**** ERROR file opened at "), 0u);
  EXPECT_EQ(text.find("**** ERROR", 1), std::string::npos);
  EXPECT_NE(text.find("======> first\n"), std::string::npos);
  EXPECT_NE(text.find("======> second\n"), std::string::npos);
  EXPECT_NE(text.find("COUNTER     2\n"), std::string::npos);
}

}  // namespace
}  // namespace tw::rfclib
