#include "scenario.h"

#include <gtest/gtest.h>

namespace tw::rfcsim {
namespace {

std::string parse_error(const std::string& text) {
  Scenario scenario;
  std::string error;
  EXPECT_FALSE(parse_scenario(text, "s.scenario", scenario, error)) << text;
  return error;
}

Scenario parsed(const std::string& text) {
  Scenario scenario;
  std::string error;
  EXPECT_TRUE(parse_scenario(text, "s.scenario", scenario, error)) << error;
  return scenario;
}

TEST(Scenario, ReadsSystemsWithDefaultsRowsAndFaults) {
  const Scenario scenario = parsed(
      "\xEF\xBB\xBF# comment\r\n"
      "[system PRD]\r\n"
      "  ashost =  sapprd  \r\n"
      "sysnr=0\n"
      "client = 100\n"
      "row = Log queue overflows | 0\n"
      "row = A label far longer than forty characters, cut here | 12345678901234567890123456789\n"
      "statrow = Used log (%) |7\n"
      "fault = ADA_LOG_STATISTICS exception NO_DATA the data are gone\n"
      "fault = logon reject\n"
      "\n"
      "[system QAS]\n"
      "ashost = *\n"
      "sysnr = 01\n"
      "rfchost = qashost\n"
      "sysid = Q01\n"
      "dbsys = ORACLE\n"
      "fault = RFC_SYSTEM_INFO code 7 odd\n");
  ASSERT_EQ(scenario.systems.size(), 2u);
  const System& prd = scenario.systems[0];
  EXPECT_EQ(prd.name, "PRD");
  EXPECT_EQ(prd.ashost, "sapprd");
  EXPECT_EQ(prd.sysnr, 0);
  EXPECT_EQ(prd.client, "100");
  EXPECT_FALSE(prd.user);
  EXPECT_EQ(prd.rfchost, "sapprd");
  EXPECT_EQ(prd.sysid, "PRD");
  EXPECT_EQ(prd.dbsys, "ADABAS D");
  ASSERT_EQ(prd.rows.size(), 2u);
  EXPECT_EQ(prd.rows[0], "Log queue overflows" + std::string(21, ' ') + "0" + std::string(25, ' '));
  EXPECT_EQ(prd.rows[1], "A label far longer than forty characters12345678901234567890123456");
  EXPECT_EQ(prd.statrows[0].size(), 66u);
  const Fault& fault = prd.faults.at(Step::kLogStatistics);
  EXPECT_EQ(fault.kind, FaultKind::kException);
  EXPECT_EQ(fault.code, 2u);
  EXPECT_EQ(fault.exception, "NO_DATA");
  EXPECT_EQ(fault.text, "the data are gone");
  EXPECT_EQ(prd.faults.at(Step::kLogon).kind, FaultKind::kReject);
  const System& qas = scenario.systems[1];
  EXPECT_EQ(qas.rfchost, "qashost");
  EXPECT_EQ(qas.sysid, "Q01");
  EXPECT_EQ(qas.dbsys, "ORACLE");
  EXPECT_EQ(qas.faults.at(Step::kSystemInfo).code, 7u);
}

TEST(Scenario, MistakesNameFileAndLine) {
  EXPECT_EQ(parse_error("ashost = x\n"),
            "s.scenario:1: 'key = value' before the first [system NAME]");
  EXPECT_EQ(parse_error("[system A]\nashost = a\nsysnr = 00\nbogus = 1\n"),
            "s.scenario:4: unknown key 'bogus'");
  EXPECT_EQ(parse_error("[system A]\nashost = a\nsysnr = 100\n"),
            "s.scenario:3: sysnr '100' is not 00 to 99");
  EXPECT_EQ(parse_error("[system A]\nsysnr = 00\n\n[system B]\n"), "s.scenario:1: system A has no ashost");
  EXPECT_EQ(parse_error("[system A]\nashost = a\n"), "s.scenario:1: system A has no sysnr");
  EXPECT_EQ(parse_error("[system A]\nashost=a\nsysnr=0\n[system a]\n"),
            "s.scenario:4: system a given twice (first in line 1)");
  EXPECT_EQ(parse_error("[system A]\nashost=a\nashost=b\n"),
            "s.scenario:3: 'ashost' given twice in system A");
  EXPECT_EQ(parse_error("[system A]\nashost=a\nsysnr=0\nrow = no bar\n"),
            "s.scenario:4: row needs 'label | value'");
  EXPECT_EQ(parse_error("# nothing\n"), "s.scenario: no [system NAME] in the file");
  EXPECT_EQ(parse_error("[system]\n"), "s.scenario:1: expected '[system NAME]'");
  EXPECT_EQ(parse_error("[sys A]\n"), "s.scenario:1: expected '[system NAME]'");
  EXPECT_EQ(parse_error("[system A]\njust words\n"),
            "s.scenario:2: expected 'key = value' or '[system NAME]'");
}

TEST(Scenario, FaultMistakes) {
  const std::string head = "[system A]\nashost=a\nsysnr=0\n";
  EXPECT_NE(parse_error(head + "fault = RFC_SYSTEM_INFO reject\n").find("logon only"),
            std::string::npos);
  EXPECT_NE(parse_error(head + "fault = OTHER failure\n").find("fault step 'OTHER'"),
            std::string::npos);
  EXPECT_NE(parse_error(head + "fault = logon explode\n").find("unknown fault kind 'explode'"),
            std::string::npos);
  EXPECT_NE(parse_error(head + "fault = logon exception\n").find("exception name"),
            std::string::npos);
  for (const char* code : {"0", "32", "x", ""})
    EXPECT_NE(parse_error(head + "fault = logon code " + code + "\n").find("1 to 31"),
              std::string::npos)
        << code;
  EXPECT_NE(parse_error(head + "fault = logon drop\nfault = logon hang\n").find("s.scenario:5:"),
            std::string::npos);
}

TEST(Scenario, FindsTheSystemOfALogon) {
  const Scenario scenario = parsed(
      "[system A]\nashost=SapPrd\nsysnr=00\n"
      "[system B]\nashost=*\nsysnr=01\n"
      "[system C]\nashost=sapprd\nsysnr=01\n");
  EXPECT_EQ(find_system(scenario, "sapprd", "00")->name, "A");
  EXPECT_EQ(find_system(scenario, "SAPPRD  ", "0")->name, "A");
  EXPECT_EQ(find_system(scenario, "sapprd", "01")->name, "B");  // the first that matches
  EXPECT_EQ(find_system(scenario, "anything", "01")->name, "B");
  EXPECT_EQ(find_system(scenario, "sapqas", "00"), nullptr);
  EXPECT_EQ(find_system(scenario, "sapprd", "02"), nullptr);
  EXPECT_EQ(find_system(scenario, "sapprd", "x"), nullptr);
}

TEST(Scenario, LogonComparesWithoutTrailingBlanksAndUserCase) {
  const Scenario scenario =
      parsed("[system A]\nashost=a\nsysnr=0\nclient=100\nuser=Monitor\npassword=Se cret\n");
  const System& a = scenario.systems[0];
  EXPECT_TRUE(logon_accepted(a, {"a", "00", "100", "MONITOR     ", "Se cret   ", "E", true}));
  EXPECT_TRUE(logon_accepted(a, {"a", "00", "100 ", "monitor", "Se cret", "", true}));
  EXPECT_FALSE(logon_accepted(a, {"a", "00", "100", "MONITOR", "se cret", "E", true}));
  EXPECT_FALSE(logon_accepted(a, {"a", "00", "100", "MONITOR", " Se cret", "E", true}));
  EXPECT_FALSE(logon_accepted(a, {"a", "00", "200", "MONITOR", "Se cret", "E", true}));
  EXPECT_FALSE(logon_accepted(a, {"a", "00", "100", "OTHER", "Se cret", "E", true}));
  const Scenario open = parsed("[system A]\nashost=a\nsysnr=0\n");
  EXPECT_TRUE(logon_accepted(open.systems[0], {"a", "00", "1", "anyone", "any", "", true}));
}

TEST(Scenario, DemoScenarioLoads) {
  Scenario scenario;
  std::string error;
  ASSERT_TRUE(load_scenario(RFCSIM_DEMO_SCENARIO, scenario, error)) << error;
  ASSERT_GE(scenario.systems.size(), 3u);
  const char* const labels[] = {
      "LOG PAGE PHYSICAL READS", "LOG PAGE PHYSICAL WRITES", "LOG QUEUE PAGES",
      "LOG QUEUE MAX USED PAGES", "LOG QUEUE INSERTS", "LOG QUEUE OVERFLOWS",
      "LOG QUEUE GROUP COMMITS", "LOG QUEUE WAITS FOR LOG PAGE WRITE",
      "LOG QUEUE MAX WAITS PER LOG PAGE", "LOG QUEUE AVG WAITS PER LOG PAGE"};
  for (const System& system : scenario.systems) {
    if (system.dbsys != "ADABAS D") continue;
    ASSERT_EQ(system.rows.size(), 10u) << system.name;
    for (std::size_t i = 0; i < 10; ++i) {
      std::string label = system.rows[i].substr(0, kLabelWidth);
      for (char& c : label) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      EXPECT_EQ(label.substr(0, label.find_last_not_of(' ') + 1), labels[i]) << system.name;
    }
    EXPECT_FALSE(system.statrows.empty()) << system.name;
  }
  EXPECT_NE(find_system(scenario, "sapprd", "00"), nullptr);
  EXPECT_NE(find_system(scenario, "sapqas", "00"), nullptr);
  EXPECT_NE(find_system(scenario, "sapdev", "00"), nullptr);
}

}  // namespace
}  // namespace tw::rfcsim
