// The "TIMEOUT=" selector and the answers the sensor gives by itself at the run's deadline.
#include <gtest/gtest.h>

#include "run/sensor.h"

namespace tw {
namespace {

TEST(DeadlineSelector, WholeSecondsFrom1To900) {
  EXPECT_EQ(deadline_selector(""), std::nullopt);
  EXPECT_EQ(deadline_selector("ITEM=QUEPAGES %"), std::nullopt);
  EXPECT_EQ(deadline_selector("TIMEOUT=1"), 1u);
  EXPECT_EQ(deadline_selector("TIMEOUT=900"), 900u);
  EXPECT_EQ(deadline_selector("% TIMEOUT=30,HOST=X"), 30u);   // a comma ends the value
  EXPECT_EQ(deadline_selector("XTIMEOUT=40 #"), 40u);          // found anywhere, as every key
  EXPECT_EQ(deadline_selector("TIMEOUT=0030"), 30u);
  EXPECT_EQ(deadline_selector("TIMEOUT=7 TIMEOUT=9"), 7u);    // the first one counts
}

TEST(DeadlineSelector, AnythingElseGivesNoDeadline) {
  for (const char* text : {"TIMEOUT=", "TIMEOUT=0", "TIMEOUT=000", "TIMEOUT=901",
                           "TIMEOUT=99999999999999999999999", "TIMEOUT=-5", "TIMEOUT=+5",
                           "TIMEOUT=5S", "TIMEOUT=2.5", "TIMEOUT= 30", "TIMEOUT=,30"}) {
    EXPECT_EQ(deadline_selector(text), std::nullopt) << text;
  }
}

TEST(DeadlineSelector, TakenFromTheCommandLineInAnyLetterCase) {
  RunSettings settings;
  const char* argv[] = {"p", "PRD", "timeout=12", "%"};
  take_command_line(settings, 4, argv);
  EXPECT_EQ(settings.deadline, 12u);

  RunSettings without;
  const char* argv2[] = {"p", "PRD"};
  take_command_line(without, 2, argv2);
  EXPECT_EQ(without.deadline, kDefaultDeadline);

  RunSettings invalid;
  const char* argv3[] = {"p", "PRD", "TIMEOUT=3s"};
  take_command_line(invalid, 3, argv3);
  EXPECT_EQ(invalid.deadline, kDefaultDeadline);
}

std::string error_document(std::string_view message) {
  return "<Prtg>\n<Error>1</Error>\n<Text>" + std::string(message) + "</Text>\n</Prtg>\n";
}

RunProgress single_system(RfcStep step, bool console = false) {
  RunProgress progress;
  progress.deadline = 2;
  progress.console_mode = console;
  progress.phase = RunPhase::single_system;
  progress.destination = "PRD";
  progress.step = step;
  return progress;
}

TEST(DeadlineAnswer, SingleSystemNamesTheSystemAndTheStep) {
  const std::pair<RfcStep, const char*> steps[] = {
      {RfcStep::open, "Error 1016: PRD: no answer to the RFC-Open within 2 s !"},
      {RfcStep::system_info,
       "Error 1016: PRD: no answer to the system information call within 2 s !"},
      {RfcStep::statistics, "Error 1016: PRD: no answer to the statistics call within 2 s !"},
      {RfcStep::close, "Error 1016: PRD: no answer to the RFC-Close within 2 s !"},
  };
  for (const auto& [step, message] : steps) {
    const DeadlineAnswer answer = compose_deadline_answer(single_system(step), "08:15:04");
    EXPECT_EQ(answer.text, error_document(message));
    EXPECT_EQ(answer.status, kExitFailed);
  }
}

TEST(DeadlineAnswer, SingleSystemConsoleModeAddsTheEndLine) {
  const DeadlineAnswer answer =
      compose_deadline_answer(single_system(RfcStep::open, true), "08:15:04");
  EXPECT_EQ(answer.text,
            error_document("Error 1016: PRD: no answer to the RFC-Open within 2 s !") +
                "\n* 08:15:04 SAP Tarnwheel now processed...\n");
  EXPECT_EQ(answer.status, kExitFailed);
}

TEST(DeadlineAnswer, SingleSystemTextIsEscaped) {
  RunProgress progress = single_system(RfcStep::open);
  progress.destination = "P&<";
  EXPECT_EQ(compose_deadline_answer(progress, "08:15:04").text,
            error_document("Error 1016: P&amp;&lt;: no answer to the RFC-Open within 2 s !"));
}

TEST(DeadlineAnswer, ADocumentWhoseHeadIsOutIsCompleted) {
  RunProgress progress = single_system(RfcStep::close, true);
  progress.head_printed = true;
  progress.rest = "\n<Result><Channel>QuePages</Channel>\n<Value>4</Value></Result>\n\n</Prtg>\n";
  const DeadlineAnswer answer = compose_deadline_answer(progress, "08:15:04");
  EXPECT_EQ(answer.text, progress.rest + "\n* 08:15:04 SAP Tarnwheel now processed...\n");
  EXPECT_EQ(answer.status, kExitDone);
}

TEST(DeadlineAnswer, NothingMoreOnceTheRunIsAnswered) {
  RunProgress progress = single_system(RfcStep::close, true);
  progress.phase = RunPhase::answered;
  progress.exit_status = kExitRfcLibrary;
  const DeadlineAnswer answer = compose_deadline_answer(progress, "08:15:04");
  EXPECT_EQ(answer.text, "");
  EXPECT_EQ(answer.status, kExitRfcLibrary);
}

TEST(DeadlineAnswer, StartUpNamesTheProfile) {
  RunProgress progress;
  progress.deadline = 3;
  progress.console_mode = true;  // start-up errors print no console lines
  progress.profile_name = "SAP Keswarin.Gbl";
  const DeadlineAnswer answer = compose_deadline_answer(progress, "08:15:04");
  EXPECT_EQ(answer.text,
            error_document("Error 1016: Start-up with SAP Keswarin.Gbl not done within 3 s !"));
  EXPECT_EQ(answer.status, kExitFailed);
}

/// Five listed systems, the first two processed, the third in work.
RunProgress third_of_five_in_work(bool console) {
  RunProgress progress;
  progress.deadline = 2;
  progress.console_mode = console;
  progress.phase = RunPhase::global_list;
  progress.item = "QuePages";
  progress.systems = 3;
  progress.processed = 2;
  progress.listing = "D.P00#E.P00#";
  progress.system_name = "C.P00";
  progress.in_work = true;
  progress.system_line = "* 08:15:03 C.P00, sapc, C01, 00, 100";
  return progress;
}

TEST(DeadlineAnswer, GlobalListCountsTheRestAsFailed) {
  const DeadlineAnswer answer =
      compose_deadline_answer(third_of_five_in_work(false), "08:15:04");
  EXPECT_EQ(answer.text,
            "\n<Text>(***) QuePages: NoSystems=5, Processed=2, Failed=3 - deadline of 2 s "
            "reached at C.P00</Text>\n\n</Prtg>\n\n");
  EXPECT_EQ(answer.status, kExitDone);
}

TEST(DeadlineAnswer, GlobalListConsoleShowsTheSystemInWorkAsFailed) {
  const DeadlineAnswer answer = compose_deadline_answer(third_of_five_in_work(true), "08:15:04");
  EXPECT_EQ(answer.text,
            "\n* 08:15:03 C.P00, sapc, C01, 00, 100 State=Rfc Failure\n"
            "\n<Text>(***) QuePages: NoSystems=5, Processed=2, Failed=3 - deadline of 2 s "
            "reached at C.P00</Text>\n\n</Prtg>\n\n"
            "\n* 08:15:04 SAP Tarnwheel now processed...\n");
}

TEST(DeadlineAnswer, GlobalListBetweenSystems) {
  RunProgress progress = third_of_five_in_work(true);
  progress.in_work = false;
  progress.failed = 1;  // C.P00 was counted; an empty entry and a name without "#" wait
  progress.listing = "D.P00##E&F.P00";
  const DeadlineAnswer answer = compose_deadline_answer(progress, "08:15:04");
  EXPECT_EQ(answer.text,
            "\n<Text>(***) QuePages: NoSystems=6, Processed=2, Failed=4 - deadline of 2 s "
            "reached at D.P00</Text>\n\n</Prtg>\n\n"
            "\n* 08:15:04 SAP Tarnwheel now processed...\n");

  progress.listing.clear();  // after the last system: named by it
  EXPECT_NE(compose_deadline_answer(progress, "08:15:04")
                .text.find("NoSystems=3, Processed=2, Failed=1 - deadline of 2 s reached at "
                           "C.P00</Text>"),
            std::string::npos);
}

TEST(DeadlineAnswer, GlobalListKeepsTheHostDialect) {
  RunProgress progress = third_of_five_in_work(false);
  progress.system_name = "A&B";
  progress.frame.output_mode = "Tamberly";
  EXPECT_EQ(compose_deadline_answer(progress, "08:15:04").text,
            "\n# (***) QuePages: NoSystems=5, Processed=2, Failed=3 - deadline of 2 s "
            "reached at A&B\n\n");
  progress.frame.output_mode = "Brassik";
  progress.frame.channel_selected = true;  // one channel's value is all the host reads
  EXPECT_EQ(compose_deadline_answer(progress, "08:15:04").text, "\n\n");
}

}  // namespace
}  // namespace tw
