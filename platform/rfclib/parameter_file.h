// The parameter file (saprfc.ini, on Windows SapRfc.ini): destinations, each a group of KEY=value lines that starts
// at a DEST= line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tw::rfclib {

/// One destination of the parameter file: TYPE=A names an application server (ASHOST,
/// SYSNR), TYPE=B a message server that picks one (MSHOST, MSSERV, R3NAME, GROUP).
struct Destination {
  std::string name;
  std::string type = "A";
  std::string ashost, sysnr, gwhost, gwserv;
  std::string mshost, msserv, r3name, group;
};

/*
 * Finds the destination `name` (letter case ignored) in the text of a parameter file.
 * Keys are found in any letter case, with blanks around "=" allowed. Lines starting (after
 * leading blanks) with an asterisk, or a slash and an asterisk, are comments; other lines
 * without "=" and unknown keys are ignored. The first entry of that name wins.
 */
std::optional<Destination> find_destination(std::string_view file_text, std::string_view name);

/*
 * The name of the parameter file: the value of RFC_INI, or the platform's name of it
 * (os/rfc_file_names.h; in the working directory) when RFC_INI is not set or empty.
 */
std::string parameter_file_name();

/*
 * Reads a whole regular file into `text`; false when it cannot be opened or is no regular
 * file (a folder, a named pipe, a device), which is never waited on.
 */
bool read_whole_file(const std::string& name, std::string& text);

}  // namespace tw::rfclib
