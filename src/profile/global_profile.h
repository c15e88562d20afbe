// The list of systems and the item of a global-list run: from the suite profile
// "Keswarin.Prf" or from the global profile "SAP Keswarin.Gbl" with its sensor allocation.
#pragma once

#include <string>
#include <string_view>

namespace tw {

inline constexpr std::string_view kSensorAllocation = "Sensor=\"SAP Tarnwheel\"";

/// What a list file gives the global-list run, or the message that ends the run.
struct SystemList {
  std::string listing;      ///< profile names, each closed by "#"
  std::string item;         ///< the statistic to report
  char label_style = '1';   ///< 1 listed name, 2 without extension, 3 Hostname, 4 Destination
  bool option_replaced = false;
  std::string option_kept;  ///< the allocation text that replaces the option text
  std::string allocation;   ///< the whole allocation text of the last allocation line
  std::string error;
};

/// Reads the suite profile at `path`: every line starting with "# Gsng" and ": " adds its
/// text from column 21 on to the listing, however long the line. Other lines are read in
/// pieces of 199 characters. The item is the one of the "ITEM=" selector.
/// Errors 1024, 1025, 1026.
SystemList read_suite_profile(std::string_view path, std::string_view profile_name,
                              std::string_view item);

/// Reads the global profile at `path` for the global sensor named by the first word of
/// the option text: its "# GSNG: " lines give the listing (each read whole), its "# GSNX: "
/// lines the allocation (which must name this program), the item and the label style.
/// Lines other than list lines are read in pieces of 199 characters.
/// Errors 10x1, 1029, 1030, 1025, 1026. `argument2` is shown in Error 1030.
SystemList read_global_profile(std::string_view path, std::string_view profile_name,
                               std::string_view option_upper, std::string_view argument2);

}  // namespace tw
