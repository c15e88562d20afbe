#include "output/report.h"

namespace tw {

void add_channel(Report& report, std::string_view name, std::string_view value,
                 std::string_view unit) {
  ++report.channel_counter;
  if (!writes_prtg_document(report)) return;
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
