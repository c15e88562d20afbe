// The settings of one run, fixed at start-up from the clock and the command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tw {

inline constexpr std::string_view kProgramName = "Tarnwheel";
inline constexpr std::string_view kVersionText = "Vers 4.3 / 29.08.22";
inline constexpr std::string_view kSuiteProfileName = "Keswarin.Prf";
inline constexpr std::size_t kOptionTextLimit = 127;
inline constexpr std::size_t kItemLimit = 90;
/// The deadline of a run without a valid "TIMEOUT=" selector, in seconds: below the 60 s
/// after which PRTG gives up on a sensor by default.
inline constexpr unsigned kDefaultDeadline = 55;
/// The longest deadline "TIMEOUT=" may set: PRTG's longest sensor timeout.
inline constexpr unsigned kLongestDeadline = 900;

/// Process-wide run settings.
struct RunSettings {
  std::string program_path;   ///< argument 0, shown only in the trace
  std::string argument2;      ///< argument 2 as typed, named by Error 1030
  std::string start_time;     ///< HH:MM:SS at start-up
  std::string banner;         ///< "* HH:MM:SS SAP Tarnwheel Vers 4.3 / 29.08.22"
  std::string profile_name;   ///< as typed, completed later
  std::string option_kept;    ///< arguments 2 and 3, case as typed, at most 127 characters
  std::string option_upper;   ///< the same with a to z upper-cased; selectors are found here
  bool item_selection = false;
  std::string item;           ///< the statistic of the global-list run, at most 90 characters
  bool console_mode = false;
  bool client_override = false;
  std::string client;         ///< "CLIENT=" value, replaces the profile's Client when set
  std::string given_directory;
  std::string profile_directory;
  std::string profile_path;
  unsigned deadline = kDefaultDeadline;  ///< seconds from start-up ("TIMEOUT=")
  bool watchdog = false;       ///< the process entry asks for a watchdog thread (tests don't)
  std::uint64_t start_ms = 0;  ///< steady clock at start-up; the deadline counts from here
};

/// The state of a global-list run, one system at a time.
struct ListRun {
  std::string listing;       ///< profile names still to visit, each closed by "#"
  char label_style = '1';
  unsigned systems = 0;
  unsigned processed = 0;
  unsigned failed = 0;
  std::string system_label;  ///< channel name of the system in work
  char failure_mark = '.';   ///< "X" once the system failed
  char found_mark = '.';     ///< "X" once the system's statistics had a row
};

/// Keeps the start-up time and builds the banner line from it.
void take_start_time(RunSettings& settings, std::string time_of_day);

/// Takes the profile name and the selectors from the command line: the option text in both
/// copies, the "ITEM=" selector with its item, "CLIENT=", "TIMEOUT=" and console mode. Expects at
/// least two arguments.
void take_command_line(RunSettings& settings, int argc, const char* const* argv);

/// Takes the "CLIENT=" selector: the three characters after the key in the upper-cased
/// option text replace the Client of every profile read.
void take_client_selector(RunSettings& settings);

/// The seconds a "TIMEOUT=" selector in `text_upper` gives (the first one counts): its
/// value, up to a blank, a comma or the end, is a whole number of seconds from 1 to 900
/// in digits only. Nothing when the text holds no "TIMEOUT=" or its value is no such
/// number: the deadline in force stays (55 s at start-up).
std::optional<unsigned> deadline_selector(std::string_view text_upper);

/// Which RFC library a run may load.
enum class RfcLibraryChoice {
  either,     ///< the classic one when it is there, else the NetWeaver one
  classic,    ///< "RFCLIB=CLASSIC": the classic one only
  netweaver,  ///< "RFCLIB=NW": the NetWeaver one only
};

/// The choice of a "RFCLIB=" selector in `text_upper` (the first one counts): its value, up
/// to a blank, a comma or the end, "NW" or "CLASSIC"; any other value, or no selector,
/// leaves the choice to the libraries that are there.
RfcLibraryChoice rfc_library_selector(std::string_view text_upper);

/// Position of `key` in the upper-cased option text, or npos.
std::size_t find_selector(const RunSettings& settings, std::string_view key);

/// The case-kept value that follows `key`, up to a blank, a comma or the end; empty when
/// the key is absent or has no value.
std::string selector_value(const RunSettings& settings, std::string_view key);

}  // namespace tw
