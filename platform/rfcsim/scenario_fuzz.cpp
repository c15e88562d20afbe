// libFuzzer target of the simulator's scenario file: any bytes as its text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scenario.h"
#include "support/fuzz_support.h"
#include "text_util.h"

namespace {

using tw::fuzzing::check;
using tw::rfcsim::FaultKind;
using tw::rfcsim::Scenario;
using tw::rfcsim::System;

constexpr const char* kFileName = "fuzz.scenario";

bool same(const Scenario& a, const Scenario& b) {
  if (a.systems.size() != b.systems.size()) return false;
  for (std::size_t i = 0; i < a.systems.size(); ++i) {
    const System& x = a.systems[i];
    const System& y = b.systems[i];
    if (x.name != y.name || x.line != y.line || x.ashost != y.ashost || x.sysnr != y.sysnr ||
        x.client != y.client || x.user != y.user || x.password != y.password ||
        x.rfchost != y.rfchost || x.sysid != y.sysid || x.dbsys != y.dbsys ||
        x.rows != y.rows || x.statrows != y.statrows || x.faults.size() != y.faults.size())
      return false;
    for (auto fx = x.faults.begin(), fy = y.faults.begin(); fx != x.faults.end(); ++fx, ++fy) {
      if (fx->first != fy->first || fx->second.kind != fy->second.kind ||
          fx->second.code != fy->second.code || fx->second.exception != fy->second.exception ||
          fx->second.text != fy->second.text)
        return false;
    }
  }
  return true;
}

std::string two_digits(int number) {
  return {static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
}

void check_system(const Scenario& scenario, std::size_t index, std::string_view text) {
  const System& system = scenario.systems[index];
  check(!system.name.empty() && !system.ashost.empty() && system.sysnr >= 0 &&
            system.sysnr <= 99 && !system.rfchost.empty() && !system.sysid.empty() &&
            !system.dbsys.empty(),
        "a system has a name, an ashost, a system number from 0 to 99 and its defaults",
        {{"system", system.name}, {"text", text}});
  for (std::size_t other = 0; other < index; ++other) {
    check(!tw::rfclib::equal_ignoring_case(scenario.systems[other].name, system.name),
          "no two systems share a name", {{"system", system.name}, {"text", text}});
  }
  for (const auto* rows : {&system.rows, &system.statrows}) {
    for (const std::string& row : *rows) {
      check(row.size() == tw::rfcsim::kLabelWidth + tw::rfcsim::kValueWidth,
            "a row is 66 characters", {{"row", row}, {"text", text}});
    }
  }
  for (const auto& [step, fault] : system.faults) {
    check(fault.text.size() <= tw::wire::kMaxText, "a fault text fits a frame",
          {{"text", text}});
    if (fault.kind == FaultKind::kCode) {
      check(fault.code >= 1 && fault.code <= tw::wire::kMaxFaultCode,
            "a return code lies between 1 and the largest the wire carries", {{"text", text}});
    }
    if (fault.kind == FaultKind::kException) {
      check(!fault.exception.empty(), "an exception has a name", {{"text", text}});
    }
    if (fault.kind == FaultKind::kReject) {
      check(step == tw::rfcsim::Step::kLogon, "only a logon is rejected", {{"text", text}});
    }
  }
  // A logon naming the system's own host and number is answered, by it or an earlier system.
  const std::string host = system.ashost == "*" ? "anyhost" : system.ashost;
  const System* answering = tw::rfcsim::find_system(scenario, host, two_digits(system.sysnr));
  check(answering != nullptr && answering <= &system,
        "a system answers a logon naming its own host and number", {{"system", system.name},
                                                                    {"text", text}});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Scenario scenario;
  std::string error;
  const bool ok = tw::rfcsim::parse_scenario(text, kFileName, scenario, error);

  Scenario again;
  std::string error_again;
  check(ok == tw::rfcsim::parse_scenario(text, kFileName, again, error_again) &&
            error == error_again && same(scenario, again),
        "parsing the same scenario twice gives the same result", {{"text", text}});
  if (!text.starts_with("\xEF\xBB\xBF")) {
    Scenario marked;
    std::string error_marked;
    check(ok == tw::rfcsim::parse_scenario("\xEF\xBB\xBF" + std::string(text), kFileName,
                                           marked, error_marked) &&
              error == error_marked && same(scenario, marked),
          "a byte order mark changes nothing", {{"text", text}});
  }

  if (!ok) {
    check(error.starts_with(std::string(kFileName) + ":"), "an error names the file",
          {{"error", error}, {"text", text}});
    return 0;
  }
  check(!scenario.systems.empty(), "a scenario has a system", {{"text", text}});
  for (std::size_t i = 0; i < scenario.systems.size(); ++i) check_system(scenario, i, text);
  return 0;
}
