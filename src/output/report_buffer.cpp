// The document frame: start, message text, end. The host dialects that write other text
// than the PRTG document hook in here and in add_channel, keyed on the output mode.
#include "output/report.h"

namespace tw {

bool writes_prtg_document(const Report& report) {
  return report.output_mode == "EXEXML" || report.output_mode == "Wendlow" ||
         report.output_mode == "Fiskart";
}

void open_document(Report& report) {
  report.text_open = false;
  report.buffer = writes_prtg_document(report) ? "\n<Prtg>\n" : "";
}

void open_text(Report& report) {
  report.buffer += writes_prtg_document(report) ? "\n<Text>" : "\n# ";
  report.text_open = true;
}

void report_append(Report& report, std::string_view text) {
  if (report.text_open && writes_prtg_document(report)) {
    report.buffer += xml_escape(text);
  } else {
    report.buffer += text;
  }
}

void close_text(Report& report) {
  if (writes_prtg_document(report)) report.buffer += "</Text>\n";
  // One selected channel is all a "Brassik" host reads: the head goes.
  if (report.output_mode == "Brassik" && report.channel_selected) report.buffer.clear();
  report.text_open = false;
}

void close_document(Report& report) {
  report.buffer += writes_prtg_document(report) ? "\n</Prtg>\n" : "\n";
}

}  // namespace tw
