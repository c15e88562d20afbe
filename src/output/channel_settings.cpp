#include "output/channel_settings.h"

#include "os/ascii_text.h"

namespace tw {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

/// The statistics that only grow while the database runs.
constexpr std::string_view kCounters[] = {"PhysReads", "PhysWrites", "QueInserts",
                                          "OverFlows", "GrpCommits", "WaitOnWrites"};
constexpr std::string_view kLevels[] = {"QuePages", "MaxUsed"};
constexpr std::string_view kAverages[] = {"MaxWaitsOnPage", "AvgWaitsOnPage"};

template <std::size_t N>
bool is_one_of(std::string_view statistic, const std::string_view (&names)[N]) {
  for (std::string_view name : names) {
    if (statistic == name) return true;
  }
  return false;
}

}  // namespace

std::string float_with_full_stop(std::string_view value) {
  std::size_t i = value.find_first_not_of(' ');
  if (i == std::string_view::npos) return {};
  std::string number;
  if (value[i] == '-') number.push_back(value[i++]);
  const std::size_t whole_begin = i;
  while (i < value.size() && is_digit(value[i])) number.push_back(value[i++]);
  if (i == whole_begin) return {};
  if (i < value.size() && (value[i] == '.' || value[i] == ',')) {
    number.push_back('.');
    const std::size_t fraction_begin = ++i;
    while (i < value.size() && is_digit(value[i])) number.push_back(value[i++]);
    if (i == fraction_begin) return {};
  }
  return i == value.size() ? number : std::string();
}

ChannelSettings prtg_channel_settings(std::string_view statistic, std::string_view value) {
  ChannelSettings settings;
  settings.value = value;
  if (is_one_of(statistic, kCounters)) {
    settings.unit = "Count";
    settings.mode = "Difference";
    if (statistic == "OverFlows") {
      // Any overflow since the last scan is worth a warning.
      settings.limit_max_warning = "0";
      settings.limit_warning_message = "Log queue overflowed since the last scan";
    }
  } else if (is_one_of(statistic, kLevels)) {
    settings.mode = "Absolute";
  } else if (is_one_of(statistic, kAverages)) {
    settings.mode = "Absolute";
    if (std::string number = float_with_full_stop(value); !number.empty()) {
      settings.value = std::move(number);
      settings.is_float = true;
    }
  }
  return settings;
}

bool prtg_channels_from(std::string_view option_upper, bool current) {
  constexpr std::string_view key = "CHANNELS=";
  const std::size_t at = option_upper.find(key);
  if (at == std::string_view::npos) return current;
  return value_at(option_upper, at + key.size()) == "PRTG";
}

}  // namespace tw
