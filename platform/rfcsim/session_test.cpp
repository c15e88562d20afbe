// What one session answers to the lookup of an interface, message by message.
#include "session.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "answers.h"
#include "rfclib/test_files.h"

namespace tw::rfcsim {
namespace {

const char* const kScenario = R"(
[system PRD]
ashost = sapprd
sysnr = 00
user = MONITOR
password = Secret1
fault = RFC_SYSTEM_INFO drop
fault = ADA_LOG_STATISTICS garbage
)";

/// The one message an action list sends, decoded.
wire::Message sent(const std::vector<Action>& actions) {
  EXPECT_FALSE(actions.empty());
  EXPECT_EQ(actions.front().kind, Action::Kind::kSend);
  wire::Message message;
  std::string error;
  EXPECT_TRUE(wire::decode_frame(actions.front().bytes, message, error)) << error;
  return message;
}

class Lookup : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(parse_scenario(kScenario, "s.scenario", scenario_, error)) << error;
    ASSERT_TRUE(log_.open(log_path_));
  }
  wire::Logon logon(const char* password) const {
    return {"sapprd", "00", "100", "MONITOR", password, "E", false};
  }
  std::string log_text() const {
    std::ifstream in(log_path_);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  Scenario scenario_;
  testing::ScratchDirectory scratch_;
  std::string log_path_ = "session.log";
  SimLog log_;
};

TEST_F(Lookup, AnswersTheInterfaceWithoutALogLineAndWithoutTheScenarioFaults) {
  Session session(scenario_, &log_);
  const wire::Message accepted = sent(session.on_message(logon("Secret1")));
  ASSERT_TRUE(std::holds_alternative<wire::LogonAccepted>(accepted));
  const wire::Message info = sent(session.on_message(wire::Describe{"RFC_SYSTEM_INFO"}));
  ASSERT_TRUE(std::holds_alternative<wire::Interface>(info));
  EXPECT_EQ(std::get<wire::Interface>(info), *function_interface("RFC_SYSTEM_INFO"));
  const wire::Message stats = sent(session.on_message(wire::Describe{"ADA_LOG_STATISTICS"}));
  ASSERT_TRUE(std::holds_alternative<wire::Interface>(stats));
  const auto& unknown = sent(session.on_message(wire::Describe{"Z_NOWHERE"}));
  ASSERT_TRUE(std::holds_alternative<wire::Fault>(unknown));
  EXPECT_EQ(std::get<wire::Fault>(unknown), (wire::Fault{2, "FU_NOT_FOUND", ""}));
  EXPECT_EQ(log_text(),
            "LOGON client=[100] user=[MONITOR] lang=[E] ashost=[sapprd] sysnr=[00]\n");
}

TEST_F(Lookup, BeforeTheLogonClosesAndAfterARejectedOneIsRefused) {
  Session fresh(scenario_, nullptr);
  const std::vector<Action> closed = fresh.on_message(wire::Describe{"RFC_SYSTEM_INFO"});
  ASSERT_EQ(closed.size(), 1u);
  EXPECT_EQ(closed[0].kind, Action::Kind::kClose);
  Session rejected(scenario_, nullptr);
  sent(rejected.on_message(logon("wrong")));
  const wire::Message answer = sent(rejected.on_message(wire::Describe{"RFC_SYSTEM_INFO"}));
  ASSERT_TRUE(std::holds_alternative<wire::LogonRefused>(answer));
  EXPECT_EQ(std::get<wire::LogonRefused>(answer).reason, wire::RefusalReason::kLogonRejected);
}

TEST(Interfaces, DescribeWhatTheRepliesCarry) {
  System system;
  system.name = "PRD";
  system.sysnr = 0;
  system.rfchost = "sapprd";
  system.sysid = "PRD";
  system.dbsys = "ADABAS D";
  system.rows = {make_row("Log queue size", "12")};
  const wire::Interface info = *function_interface("RFC_SYSTEM_INFO");
  const wire::Reply reply = system_info_reply(system);
  ASSERT_EQ(info.parameters.size(), reply.parameters.size());
  for (std::size_t i = 0; i < reply.parameters.size(); ++i) {
    SCOPED_TRACE(reply.parameters[i].name);
    const wire::Parameter& p = info.parameters[i];
    EXPECT_EQ(p.name, reply.parameters[i].name);
    if (p.kind == wire::ElementKind::kStructure) {
      std::uint32_t length = 0;
      for (const wire::Field& f : p.fields) length += f.length;
      EXPECT_EQ(length, reply.parameters[i].bytes.size());
      EXPECT_EQ(p.fields.back().name, "RFCIPV6ADDR");
    } else if (p.kind == wire::ElementKind::kChar) {
      EXPECT_EQ(p.length, reply.parameters[i].bytes.size());
    }
  }
  const std::string record = rfcsi_record(system);
  EXPECT_EQ(record.size(), 245u);
  EXPECT_EQ(record.substr(156, 44), std::string(44, ' '));  // the older RFCSI_RESV
  EXPECT_EQ(record.substr(200), "::ffff:127.0.0.1" + std::string(29, ' '));
  const wire::Interface stats = *function_interface("ADA_LOG_STATISTICS");
  const wire::Reply tables = log_statistics_reply(system);
  ASSERT_EQ(stats.parameters.size(), tables.tables.size());
  for (std::size_t i = 0; i < tables.tables.size(); ++i) {
    EXPECT_EQ(stats.parameters[i].name, tables.tables[i].name);
    EXPECT_EQ(stats.parameters[i].fields[0].length + stats.parameters[i].fields[1].length,
              tables.tables[i].line_length);
  }
  EXPECT_FALSE(function_interface("rfc_system_info").has_value());
}

}  // namespace
}  // namespace tw::rfcsim
