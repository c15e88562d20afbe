#include "output/report.h"

namespace tw {

void add_channel(Report& report, std::string_view name, std::string_view value,
                 std::string_view unit) {
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
  report.buffer += "\n<Result><Channel>";
  report.buffer += xml_escape(name);
  report.buffer += "</Channel>";
  if (!unit.empty()) {
    report.buffer += "\n<Unit>Custom</Unit>\n<CustomUnit>";
    report.buffer += xml_escape(unit);
    report.buffer += "</CustomUnit>";
  }
  report.buffer += "\n<Value>";
  report.buffer += xml_escape(value);
  report.buffer += "</Value></Result>\n";
}

}  // namespace tw
