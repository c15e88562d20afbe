// What the host dialects need beside the report operations: choosing the mode, the channel
// number of "CH=", channel keys and display units.
#include "os/ascii_text.h"
#include "output/report.h"

namespace tw {

std::string output_mode_from(std::string_view option_upper) {
  const std::size_t at = option_upper.find("OUTPUT=");
  if (at == std::string_view::npos) return "EXEXML";
  const std::string_view value = value_at(option_upper, at + 7);
  for (std::string_view mode : kOutputModes) {
    if (equals_upper_a_to_z(mode, value)) return std::string(mode);
  }
  return "EXEXML";
}

void select_channel(Report& report, std::string_view option_upper, std::string_view option_kept) {
  const std::size_t at = option_upper.find("CH=");
  report.channel_selected = at != std::string_view::npos;
  report.selected_channel = 0;
  if (!report.channel_selected || at + 3 > option_kept.size()) return;
  std::string_view digits = option_kept.substr(at + 3, 3);
  digits = digits.substr(0, digits.find(','));
  report.selected_channel = static_cast<int>(leading_decimal(digits));
}

std::string channel_key(std::string_view name) {
  std::string key(name);
  for (char& c : key) {
    switch (c) {
      case ' ': case '/': case '\\': case '[': case ']': case '*': case '(': case ')':
      case ':': case '-':
        c = '_';
        break;
      default:
        break;
    }
  }
  const std::size_t dot = key.find('.');
  if (dot != std::string::npos) key[dot] = '_';
  return key;
}

std::string display_unit(std::string_view unit) {
  if (unit.empty()) return "#";
  if (unit == "PerCent") return "%";
  if (unit == "TimeResponse") return "mSec";
  return std::string(unit);
}

}  // namespace tw
