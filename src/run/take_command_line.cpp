#include "os/ascii_text.h"
#include "run/run_settings.h"

namespace tw {

void take_start_time(RunSettings& settings, std::string time_of_day) {
  settings.start_time = std::move(time_of_day);
  settings.banner = "* ";
  settings.banner += settings.start_time;
  settings.banner += " SAP ";
  settings.banner += kProgramName;
  settings.banner += ' ';
  settings.banner += kVersionText;
}

void take_client_selector(RunSettings& settings) {
  const std::size_t client_at = find_selector(settings, "CLIENT=");
  settings.client_override = false;
  settings.client.clear();
  if (client_at != std::string::npos) {
    settings.client = settings.option_upper.substr(client_at + 7, 3);
    // Nothing after the key is no client at all.
    settings.client_override = !settings.client.empty();
  }
}

void take_command_line(RunSettings& settings, int argc, const char* const* argv) {
  settings.program_path = argc > 0 && argv[0] != nullptr ? argv[0] : "";
  settings.profile_name = argv[1];

  settings.argument2 = argc > 2 ? argv[2] : "";
  std::string option = settings.argument2;
  if (argc > 3) {
    option += ' ';
    option += argv[3];
  }
  if (option.size() > kOptionTextLimit) option.resize(kOptionTextLimit);
  settings.option_kept = option;
  settings.option_upper = upper_a_to_z(std::move(option));

  if (find_selector(settings, "ITEM=") != std::string::npos) {
    settings.item_selection = true;
    std::string item = selector_value(settings, "ITEM=");
    if (item.size() > kItemLimit) item.resize(kItemLimit);
    for (char& c : item) {
      if (c == ':') c = ' ';
    }
    settings.item = std::move(item);
    settings.profile_name = kSuiteProfileName;
  }

  take_client_selector(settings);
  settings.deadline = deadline_selector(settings.option_upper).value_or(kDefaultDeadline);

  settings.console_mode = settings.option_upper.find_first_of("#@$%") != std::string::npos;
}

}  // namespace tw
