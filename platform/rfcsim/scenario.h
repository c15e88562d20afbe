// The scenario of the simulated SAP side: the systems it knows, their logons, figures and
// faults. Read from a UTF-8 text file (docs/rfcsim.md).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wire.h"

namespace tw::rfcsim {

/// Where a fault strikes.
enum class Step { kLogon, kSystemInfo, kLogStatistics };

/// What goes wrong there.
enum class FaultKind { kReject, kFailure, kException, kSysException, kCode, kDrop, kHang,
                       kAbort, kGarbage };

struct Fault {
  FaultKind kind = FaultKind::kFailure;
  std::uint32_t code = 0;  ///< return code of kFailure, kException, kSysException, kCode
  std::string exception;   ///< exception name of kException
  std::string text;        ///< error text for the library; may be empty
};

/// One row of SHOWMONILOG or SHOWSTATLOG, already 66 characters long.
using Row = std::string;
inline constexpr std::size_t kLabelWidth = 40;
inline constexpr std::size_t kValueWidth = 26;

struct System {
  std::string name;
  int line = 0;        ///< of its [system NAME] line
  std::string ashost;  ///< "*": any host
  int sysnr = -1;
  std::optional<std::string> client, user, password;  ///< unset: any value is taken
  std::string rfchost, sysid, dbsys;
  std::vector<Row> rows, statrows;
  std::map<Step, Fault> faults;
};

struct Scenario {
  std::vector<System> systems;
};

/*
 * Parses the text of a scenario file. Returns false with `error` set to
 * "FILE:LINE: message" at the first mistake: a line outside a system, a line that is not
 * "key = value", an unknown key or a key given twice, a bad system number, row or fault,
 * a system without ashost or sysnr, two systems of one name.
 */
bool parse_scenario(std::string_view text, const std::string& file_name, Scenario& scenario,
                    std::string& error);

/*
 * Reads and parses a scenario file; an unreadable file is an error too.
 */
bool load_scenario(const std::string& path, Scenario& scenario, std::string& error);

/*
 * The first system that answers to a logon naming `ashost` (letter case and trailing
 * blanks ignored) and `sysnr` (one or two digits); NULL when none does.
 */
const System* find_system(const Scenario& scenario, std::string_view ashost,
                          std::string_view sysnr);

/*
 * True when the system takes the logon's client, user (letter case ignored) and password,
 * each compared after dropping trailing blanks.
 */
bool logon_accepted(const System& system, const wire::Logon& logon);

/*
 * A table row: `label` padded or cut to 40 characters, `value` to 26.
 */
Row make_row(std::string_view label, std::string_view value);

}  // namespace tw::rfcsim
