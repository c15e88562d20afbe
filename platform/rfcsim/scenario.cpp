#include "scenario.h"

#include <set>

#include "gateway_address.h"
#include "parameter_file.h"
#include "text_util.h"

namespace tw::rfcsim {

namespace {

using rfclib::equal_ignoring_case;
using rfclib::trim;

/*
 * `text` cut or blank-padded to `width` characters.
 */
std::string fitted(std::string_view text, std::size_t width) {
  std::string result(text.substr(0, width));
  result.resize(width, ' ');
  return result;
}

/*
 * Splits off the first blank-separated word of `rest`.
 */
std::string_view next_word(std::string_view& rest) {
  rest = trim(rest);
  std::size_t end = 0;
  while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t') ++end;
  const std::string_view word = rest.substr(0, end);
  rest = trim(rest.substr(end));
  return word;
}

/*
 * The step a fault names; false for an unknown one.
 */
bool parse_step(std::string_view word, Step& step) {
  if (word == "logon") step = Step::kLogon;
  else if (word == "RFC_SYSTEM_INFO") step = Step::kSystemInfo;
  else if (word == "ADA_LOG_STATISTICS") step = Step::kLogStatistics;
  else return false;
  return true;
}

/*
 * "STEP KIND [TEXT]" into a step and a fault, or false with `error` set.
 */
bool parse_fault(std::string_view value, Step& step, Fault& fault, std::string& error) {
  std::string_view rest = value;
  const std::string_view step_word = next_word(rest);
  if (!parse_step(step_word, step)) {
    error = "fault step '" + std::string(step_word) +
            "' is not logon, RFC_SYSTEM_INFO or ADA_LOG_STATISTICS";
    return false;
  }
  const std::string_view kind = next_word(rest);
  if (kind == "reject") {
    fault.kind = FaultKind::kReject;
    if (step != Step::kLogon) {
      error = "fault kind 'reject' is for the logon only";
      return false;
    }
  } else if (kind == "failure") {
    fault.kind = FaultKind::kFailure;
    fault.code = 1;
  } else if (kind == "exception") {
    fault.kind = FaultKind::kException;
    fault.code = 2;
    fault.exception = std::string(next_word(rest));
    if (fault.exception.empty()) {
      error = "fault kind 'exception' needs an exception name";
      return false;
    }
  } else if (kind == "sys_exception") {
    fault.kind = FaultKind::kSysException;
    fault.code = 3;
  } else if (kind == "code") {
    fault.kind = FaultKind::kCode;
    const std::string_view number = next_word(rest);
    const int code = rfclib::parse_two_digits(number);
    if (code < 1 || code > static_cast<int>(wire::kMaxFaultCode)) {
      error = "fault kind 'code' needs a return code from 1 to " +
              std::to_string(wire::kMaxFaultCode);
      return false;
    }
    fault.code = static_cast<std::uint32_t>(code);
  } else if (kind == "drop") {
    fault.kind = FaultKind::kDrop;
  } else if (kind == "hang") {
    fault.kind = FaultKind::kHang;
  } else if (kind == "abort") {
    fault.kind = FaultKind::kAbort;
  } else if (kind == "garbage") {
    fault.kind = FaultKind::kGarbage;
  } else {
    error = "unknown fault kind '" + std::string(kind) + "'";
    return false;
  }
  fault.text = std::string(rest);
  if (fault.text.size() > wire::kMaxText) {
    error = "fault text longer than " + std::to_string(wire::kMaxText) + " bytes";
    return false;
  }
  return true;
}

/*
 * Reads the lines of one scenario, one at a time.
 */
class Parser {
 public:
  Parser(const std::string& file_name, Scenario& scenario)
      : file_name_(file_name), scenario_(scenario) {}

  bool line(std::string_view text, int number) {
    number_ = number;
    text = trim(text);
    if (text.empty() || text.front() == '#') return true;
    if (text.front() == '[') return section(text);
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return fail("expected 'key = value' or '[system NAME]'");
    if (system_ == nullptr) return fail("'key = value' before the first [system NAME]");
    return setting(trim(text.substr(0, equals)), trim(text.substr(equals + 1)));
  }

  bool finish() {
    if (!close_system()) return false;
    if (scenario_.systems.empty()) return fail_at(0, "no [system NAME] in the file");
    return true;
  }

  const std::string& error() const { return error_; }

 private:
  bool fail(const std::string& message) { return fail_at(number_, message); }
  bool fail_at(int number, const std::string& message) {
    error_ = file_name_ + (number > 0 ? ":" + std::to_string(number) : std::string()) + ": " +
             message;
    return false;
  }

  bool section(std::string_view text) {
    if (text.back() != ']' || text.substr(1, 6) != "system")
      return fail("expected '[system NAME]'");
    const std::string_view name = trim(text.substr(7, text.size() - 8));
    if (name.empty() || text.size() < 9 || (text[7] != ' ' && text[7] != '\t'))
      return fail("expected '[system NAME]'");
    if (!close_system()) return false;
    for (const System& other : scenario_.systems)
      if (equal_ignoring_case(other.name, name))
        return fail("system " + std::string(name) + " given twice (first in line " +
                    std::to_string(other.line) + ")");
    scenario_.systems.emplace_back();
    system_ = &scenario_.systems.back();
    system_->name = std::string(name);
    system_->line = number_;
    seen_.clear();
    return true;
  }

  bool setting(std::string_view key, std::string_view value) {
    const bool repeatable = key == "row" || key == "statrow" || key == "fault";
    if (!repeatable && !seen_.emplace(std::string(key)).second)
      return fail("'" + std::string(key) + "' given twice in system " + system_->name);
    System& s = *system_;
    if (key == "ashost") {
      if (value.empty()) return fail("ashost is empty");
      s.ashost = std::string(value);
    } else if (key == "sysnr") {
      s.sysnr = rfclib::parse_two_digits(value);
      if (s.sysnr < 0) return fail("sysnr '" + std::string(value) + "' is not 00 to 99");
    } else if (key == "client") {
      s.client = std::string(value);
    } else if (key == "user") {
      s.user = std::string(value);
    } else if (key == "password") {
      s.password = std::string(value);
    } else if (key == "rfchost") {
      s.rfchost = std::string(value);
    } else if (key == "sysid") {
      s.sysid = std::string(value);
    } else if (key == "dbsys") {
      s.dbsys = std::string(value);
    } else if (key == "row" || key == "statrow") {
      const std::size_t bar = value.find('|');
      if (bar == std::string_view::npos) return fail(std::string(key) + " needs 'label | value'");
      (key == "row" ? s.rows : s.statrows)
          .push_back(make_row(trim(value.substr(0, bar)), trim(value.substr(bar + 1))));
    } else if (key == "fault") {
      Step step;
      Fault fault;
      std::string error;
      if (!parse_fault(value, step, fault, error)) return fail(error);
      if (!s.faults.emplace(step, fault).second)
        return fail("a second fault for the same step in system " + s.name);
    } else {
      return fail("unknown key '" + std::string(key) + "'");
    }
    return true;
  }

  bool close_system() {
    if (system_ == nullptr) return true;
    System& s = *system_;
    if (s.ashost.empty()) return fail_at(s.line, "system " + s.name + " has no ashost");
    if (s.sysnr < 0) return fail_at(s.line, "system " + s.name + " has no sysnr");
    if (s.rfchost.empty()) s.rfchost = s.ashost == "*" ? rfclib::upper(s.name) : s.ashost;
    if (s.sysid.empty()) s.sysid = s.name;
    if (s.dbsys.empty()) s.dbsys = "ADABAS D";
    system_ = nullptr;
    return true;
  }

  const std::string& file_name_;
  Scenario& scenario_;
  System* system_ = nullptr;
  std::set<std::string> seen_;  ///< keys of the current system
  int number_ = 0;
  std::string error_;
};

}  // namespace

Row make_row(std::string_view label, std::string_view value) {
  return fitted(label, kLabelWidth) + fitted(value, kValueWidth);
}

bool parse_scenario(std::string_view text, const std::string& file_name, Scenario& scenario,
                    std::string& error) {
  scenario = Scenario{};
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Parser parser(file_name, scenario);
  int number = 0;
  for (std::string_view line : rfclib::split_lines(text)) {
    if (!parser.line(line, ++number)) {
      error = parser.error();
      return false;
    }
  }
  if (!parser.finish()) {
    error = parser.error();
    return false;
  }
  return true;
}

bool load_scenario(const std::string& path, Scenario& scenario, std::string& error) {
  std::string text;
  if (!rfclib::read_whole_file(path, text)) {
    error = path + ": cannot be read";
    return false;
  }
  return parse_scenario(text, path, scenario, error);
}

const System* find_system(const Scenario& scenario, std::string_view ashost,
                          std::string_view sysnr) {
  const int number = rfclib::parse_two_digits(rfclib::drop_trailing_blanks(sysnr));
  ashost = rfclib::drop_trailing_blanks(ashost);
  for (const System& system : scenario.systems)
    if ((system.ashost == "*" || equal_ignoring_case(system.ashost, ashost)) &&
        system.sysnr == number)
      return &system;
  return nullptr;
}

bool logon_accepted(const System& system, const wire::Logon& logon) {
  using rfclib::drop_trailing_blanks;
  if (system.client && drop_trailing_blanks(*system.client) != drop_trailing_blanks(logon.client))
    return false;
  if (system.user && !equal_ignoring_case(drop_trailing_blanks(*system.user),
                                          drop_trailing_blanks(logon.user)))
    return false;
  if (system.password &&
      drop_trailing_blanks(*system.password) != drop_trailing_blanks(logon.password))
    return false;
  return true;
}

}  // namespace tw::rfcsim
