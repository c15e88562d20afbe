// PRTG channel settings: what the selector "CHANNELS=PRTG" adds to each Result of the PRTG
// document, decided per statistic.
#pragma once

#include <string>
#include <string_view>

namespace tw {

/// The settings of one Result. PRTG takes the mode, the limits and their message only at
/// the scan that creates the channel; the float flag must match every value sent.
struct ChannelSettings {
  std::string value;              ///< the value as sent
  std::string unit;               ///< a unit of PRTG's own ("Count"); empty: the channel's own
  std::string mode;               ///< "Absolute" or "Difference"; empty: no settings at all
  bool is_float = false;          ///< the value goes with the float flag
  std::string limit_max_warning;  ///< upper warning limit, switched on; empty: no limit
  std::string limit_warning_message;
};

/// The settings of the channel that carries the statistic `statistic` (the statistic's
/// channel name: "OverFlows", "QuePages", ...) with the value `value` as the database
/// wrote it. The six growing counters are differences counted in Count, OverFlows warns
/// above 0; QuePages and MaxUsed are absolute; MaxWaitsOnPage and AvgWaitsOnPage are
/// absolute and, when the value reads as a number (whole, or with a full stop or a comma
/// before its fraction), sent as a float with a full stop. Any other value goes out
/// unchanged; an unknown statistic gets no settings.
ChannelSettings prtg_channel_settings(std::string_view statistic, std::string_view value);

/// The decimal number in `value` written as PRTG reads a float: optional leading blanks,
/// an optional "-", digits, and optionally "." or "," followed by digits, nothing else;
/// the result has no blanks and a full stop. Empty when `value` is no such number.
std::string float_with_full_stop(std::string_view value);

/// Takes the selector "CHANNELS=" from the upper-cased option text: its value (up to a
/// blank, a comma or the end) "PRTG" switches the settings on, any other value off. Without
/// the key the setting stays as it is.
bool prtg_channels_from(std::string_view option_upper, bool current);

}  // namespace tw
