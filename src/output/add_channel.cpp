#include "output/channel_settings.h"
#include "output/report.h"

namespace tw {

void add_channel(Report& report, std::string_view name, std::string_view value,
                 std::string_view unit, std::string_view statistic) {
  ++report.channel_counter;
  if (report.output_mode == "Tamberly") {
    if (report.channel_counter > 10) return;
    const std::string key = channel_key(name);
    report.buffer += "\n\nMessage.";
    report.buffer += key;
    report.buffer += ": ";
    report.buffer += name;
    report.buffer += " (";
    report.buffer += display_unit(unit);
    report.buffer += ")\nStatistic.";
    report.buffer += key;
    report.buffer += ": ";
    report.buffer += value;
    return;
  }
  if (report.output_mode == "Brassik") {
    if (report.channel_selected) {
      if (report.selected_channel == report.channel_counter) report.buffer += value;
      return;
    }
    report.buffer += "\n> ";
    report.buffer += name;
    report.buffer += ": ";
    report.buffer += value;
    report.buffer += ' ';
    report.buffer += display_unit(unit);
    return;
  }
  ChannelSettings settings;
  if (report.prtg_channels) {
    settings = prtg_channel_settings(statistic, value);
  } else {
    settings.value = value;
  }
  report.buffer += "\n<Result><Channel>";
  report.buffer += xml_escape(name);
  report.buffer += "</Channel>";
  if (!settings.unit.empty()) {
    report.buffer += "\n<Unit>";
    report.buffer += xml_escape(settings.unit);
    report.buffer += "</Unit>";
  } else if (!unit.empty()) {
    report.buffer += "\n<Unit>Custom</Unit>\n<CustomUnit>";
    report.buffer += xml_escape(unit);
    report.buffer += "</CustomUnit>";
  }
  report.buffer += "\n<Value>";
  report.buffer += xml_escape(settings.value);
  report.buffer += "</Value>";
  if (!settings.mode.empty()) {
    report.buffer += "\n<Mode>";
    report.buffer += xml_escape(settings.mode);
    report.buffer += "</Mode>";
  }
  if (settings.is_float) report.buffer += "\n<Float>1</Float>";
  if (!settings.limit_max_warning.empty()) {
    report.buffer += "\n<LimitMaxWarning>";
    report.buffer += xml_escape(settings.limit_max_warning);
    report.buffer += "</LimitMaxWarning>\n<LimitWarningMsg>";
    report.buffer += xml_escape(settings.limit_warning_message);
    // PRTG leaves limits off unless told otherwise.
    report.buffer += "</LimitWarningMsg>\n<LimitMode>1</LimitMode>";
  }
  report.buffer += "</Result>\n";
}

}  // namespace tw
