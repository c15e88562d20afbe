#include "command_line.h"

#include <string_view>

namespace tw::rfcsim {

const char* const kUsage =
    "usage: rfcsim [--listen HOST:PORT] [--port-file FILE] [--log FILE] SCENARIO-FILE\n";

bool parse_command_line(int argc, const char* const* argv, Options& options, std::string& error) {
  options = Options{};
  bool have_scenario = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      options.help = true;
      return true;
    }
    std::string* target = nullptr;
    if (arg == "--listen") target = &options.listen;
    else if (arg == "--port-file") target = &options.port_file;
    else if (arg == "--log") target = &options.log_file;
    if (target != nullptr) {
      if (i + 1 >= argc || std::string_view(argv[i + 1]).empty()) {
        error = "option " + std::string(arg) + " needs a value";
        return false;
      }
      *target = argv[++i];
      continue;
    }
    if (arg.size() > 1 && arg.front() == '-') {
      error = "unknown option '" + std::string(arg) + "'";
      return false;
    }
    if (have_scenario) {
      error = "more than one scenario file ('" + options.scenario + "', '" + std::string(arg) +
              "')";
      return false;
    }
    options.scenario = std::string(arg);
    have_scenario = true;
  }
  if (!have_scenario || options.scenario.empty()) {
    error = "no scenario file given";
    return false;
  }
  return true;
}

}  // namespace tw::rfcsim
