// Finding the profile: completing the name typed on the command line, then searching the
// EXE/XML sensor directory of the PRTG installation or opening it from a given directory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "os/text_file.h"

namespace tw {

inline constexpr std::string_view kDefaultExtension = ".P00";
inline constexpr std::string_view kGlobalName = "GLOBAL.P00";
inline constexpr std::string_view kGlobalProfileName = "SAP Keswarin.Gbl";
inline constexpr std::string_view kPrtgPathFile = "C:\\PRTG_Path.Txt";
inline constexpr std::string_view kSubPath1 = "PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
inline constexpr std::string_view kSubPath2 = "Custom Sensors\\ExeXml\\";
inline constexpr std::string_view kDefaultDirectories[] = {
    "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\",
};
inline constexpr std::string_view kInvalidPathUsage = "Sorry, invalid Path-Usage...";

/// A profile name split into its directory part and the name proper.
struct CompletedName {
  std::string name;              ///< file name without any directory (PRD.P00)
  std::string given_directory;   ///< up to and including the last separator, or empty
  bool global = false;           ///< the name asked for the global profile
};

/// Completes the profile name typed on the command line: the default extension ".P00"
/// when the fourth character from the end is not ".", the global name ("global",
/// "GLOBAL.P00" in any case) replaced by the global profile's name, and the directory part
/// split off. Never fails.
CompletedName complete_profile_name(std::string_view typed);

/// The base directory named by the PRTG path file: its last directory line, as written.
/// Lines are read in pieces of 99 characters; a directory line starts with a separator,
/// has ":" as its second character or a separator as its third. Empty when there is none.
std::string read_base_directory(InputFile& path_file);

/// Where the profile was found, with the file left open; or the message that ends the run.
struct LocatedProfile {
  InputFile file;
  std::string directory;  ///< ends with a separator, or empty for the working directory
  std::string path;       ///< directory + name
  std::string error;      ///< non-empty when the profile was not found or not allowed
};

/// What a search went through, for an administrator who wants to see it: whether it
/// searched at all, the PRTG path file and its base directory, and every place tried.
struct LocateTrail {
  bool searched = false;          ///< false: opened from the given directory
  bool path_file_found = false;   ///< the PRTG path file could be opened
  std::string base_directory;     ///< its base directory, final separator added
  struct Try {
    std::string path;             ///< directory + profile name, as tried
    bool found = false;
  };
  std::vector<Try> tries;         ///< in the order tried
  bool path_rule_failed = false;  ///< found, but not in a directory ending in "ExeXml"
};

/// Finds and opens the profile. In output mode "EXEXML" without "@" in the option text it
/// is searched in the PRTG sensor directory (path file, then working directory and the
/// default directories) and must lie in a directory ending in "ExeXml"; otherwise it is
/// opened from the given directory (empty: the working directory). With `trail`, records
/// there what it went through.
LocatedProfile locate_profile(const CompletedName& name, std::string_view output_mode,
                              std::string_view option_upper, LocateTrail* trail = nullptr);

}  // namespace tw
