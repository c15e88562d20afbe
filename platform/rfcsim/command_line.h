// The command line of rfcsim:
//   rfcsim [--listen HOST:PORT] [--port-file FILE] [--log FILE] SCENARIO-FILE
#pragma once

#include <string>

namespace tw::rfcsim {

struct Options {
  std::string listen = "127.0.0.1:3300";
  std::string port_file;  ///< empty: none
  std::string log_file;   ///< empty: none
  std::string scenario;
  bool help = false;      ///< -h or --help: print the usage and end
};

/// The usage text, ending in a line feed.
extern const char* const kUsage;

/*
 * Reads the arguments after the program name. Returns false with `error` set for an
 * unknown option, an option without its value, no scenario file or more than one.
 */
bool parse_command_line(int argc, const char* const* argv, Options& options, std::string& error);

}  // namespace tw::rfcsim
