#include "output/report.h"

namespace tw {

void write_error_document(Report& report, std::string_view message) {
  // Built aside first: the message is often a copy of the buffer being replaced.
  std::string document = "<Prtg>\n<Error>1</Error>\n<Text>";
  document += xml_escape(message);
  document += "</Text>\n</Prtg>\n";
  report.buffer = std::move(document);
  report.text_open = false;
}

void write_error_tail(Report& report, std::string_view message) {
  if (!writes_prtg_document(report)) {
    write_error_document(report, message);
    return;
  }
  std::string tail = "\n<Error>1</Error>\n<Text>";
  tail += xml_escape(message);
  tail += "</Text>\n</Prtg>\n";
  report.buffer = std::move(tail);
  report.text_open = false;
}

}  // namespace tw
