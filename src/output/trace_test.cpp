#include "output/trace.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tw {
namespace {

using testing::TempDrive;
using testing::WorkingDirectory;

class TraceNotice : public ::testing::Test {
 protected:
  std::string notice_for(std::string_view trace_file) {
    drive.write(std::string("\\work\\") + kRfcTraceFile, trace_file);
    Report report;
    report.buffer = "Error 1014: RFC-Failure raised !";
    append_trace_notice(report);
    return report.buffer.substr(32);
  }
  TempDrive drive;
  WorkingDirectory work{drive.root() / "work"};
};

TEST_F(TraceNotice, MissingFile) {
  Report report;
  append_trace_notice(report);
  EXPECT_EQ(report.buffer, " - Look for Trace-File");
}

TEST_F(TraceNotice, LastErrorTextAfterTheLastHeader) {
  EXPECT_EQ(notice_for(""), " - Please Check Trace-File !");
  EXPECT_EQ(notice_for("**** ERROR file opened at 20261208 101010\n"
                       "T:0042 ======> partner 'sapprd:3300' not reached\n"
                       "ERROR       partner 'sapprd:3300' not reached\n"),
            " - partner 'sapprd:3300' not reached");
  // The arrow line after an ERROR line wins.
  EXPECT_EQ(notice_for("ERROR       first\nT:0042 ======> second\n"), " - second");
  // A later header without an error text after it clears what came before.
  EXPECT_EQ(notice_for("T:0042 ======> old\n**** ERROR file opened at 20261208 101011\n"
                       "LOCATION    somewhere\n"),
            " - Please Check Trace-File !");
  // CR LF line ends and a last line without line feed.
  EXPECT_EQ(notice_for("ERROR       with crlf\r\n"), " - with crlf");
  EXPECT_EQ(notice_for("ERROR       no lf"), " - no lf");
  EXPECT_EQ(notice_for("ERROR 1\n"), " - Please Check Trace-File !");  // shorter than 13
}

TEST_F(TraceNotice, LaterLinesLeaveTheTextAsItWasTaken) {
  // One line end goes with its own line; a carriage return before it stays with the text,
  // however many lines without an error key follow.
  EXPECT_EQ(notice_for("ERROR       text\r\r\n"), " - text\r");
  EXPECT_EQ(notice_for("ERROR       text\r\r\nTIME        Mon Dec 08\nCOMPONENT   RFC\n"),
            " - text\r");
  EXPECT_EQ(notice_for("T:0042 ======> text \r\n\n\n"), " - text ");
}

TEST_F(TraceNotice, LongLinesAreReadInPiecesOf99) {
  // The text of a long error line is its first piece only; the rest is another piece.
  const std::string text(150, 'x');
  EXPECT_EQ(notice_for("ERROR       " + text + "\n"), " - " + std::string(99 - 12, 'x'));
}

TEST(EchoField, AlignsLabels) {
  std::string printed;
  Output out{stdout, &printed};
  echo_field(out, "operation/code", 0, 15, "RfcOpen");
  echo_field(out, "key", 3, 15, "RFC_ERROR");
  echo_field(out, "a-label-longer-than-width", 0, 15, "v");
  EXPECT_EQ(printed,
            "operation/code  : RfcOpen\n"
            "   key             : RFC_ERROR\n"
            "a-label-longer-than-width : v\n");
}

TEST(TraceLine, WritesOnlyWithSyslogAndAnOpenStream) {
  TempDrive drive;
  WorkingDirectory work(drive.root() / "work");
  Trace trace;
  trace_line(trace, ",SYSLOG", 0, "program started", "x");  // no stream: nothing
  attach_trace(trace, "#");
  EXPECT_FALSE(trace.stream);
  attach_trace(trace, "PRD,SYSLOG");
  ASSERT_TRUE(trace.stream);
  trace_line(trace, "PRD,SYSLOG", 0, "program started", "/bin/tarnwheel");
  trace_line(trace, "PRD", 3, "RfcOpen called", "");  // no selector: nothing
  trace_line(trace, "PRD,SYSLOG", 3, "RfcCall called", "");
  trace.stream.reset();
  std::ifstream file(drive.root() / "work" / "Tarnwheel.Trc");
  std::string content((std::istreambuf_iterator<char>(file)), {});
  EXPECT_EQ(content, "0 program started /bin/tarnwheel\n3 RfcCall called \n");
}

}  // namespace
}  // namespace tw
