// libFuzzer target of the trace notice. The first line of the input is the error text that
// the report buffer holds when the notice is appended; the rest is the RFC trace file, and also
// the error text of an entry that the RFC library writes to a trace file of its own. The
// error document made of the buffer must be well-formed XML in every XML mode.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "output/report.h"
#include "output/trace.h"
#include "support/fuzz_support.h"
#include "rfclib/trace.h"

namespace {

using tw::Report;
using tw::fuzzing::check;

constexpr std::string_view kNoError = " - Please Check Trace-File !";

/// The buffer after the notice is appended to `message`, with the RFC trace file holding `file`.
std::string notice_for(std::string_view message, std::string_view file) {
  const tw::fuzzing::InDirectory work(tw::fuzzing::scratch_directory());
  tw::fuzzing::write_file(tw::kRfcTraceFile, file);
  Report report;
  report.buffer = message;
  tw::append_trace_notice(report);
  return report.buffer;
}

/// The error document of `message` is well-formed in every XML mode and, where the message
/// is XML text already, says exactly the message.
void check_error_document(std::string_view message) {
  for (const char* mode : {"EXEXML", "Wendlow", "Fiskart"}) {
    Report report;
    report.output_mode = mode;
    report.buffer = message;
    tw::write_error_document(report, report.buffer);
    const tw::fuzzing::XmlReading xml = tw::fuzzing::read_xml(report.buffer);
    check(xml.well_formed, "an error document with the trace notice is well-formed XML",
          {{"mode", mode}, {"message", message}, {"document", report.buffer},
           {"XML error", xml.error}});
    check(xml.elements.size() == 3 && xml.elements[2].name == "Text",
          "an error document holds Prtg, Error and Text", {{"document", report.buffer}});
    if (tw::fuzzing::is_xml_utf8(message)) {
      check(xml.elements[2].text == tw::fuzzing::xml_line_ends(message),
            "an error document says the message as it is",
            {{"message", message}, {"document", report.buffer}});
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t line_end = input.find('\n');
  if (line_end == std::string_view::npos) return 0;
  const std::string_view message = input.substr(0, line_end);
  const std::string_view file = input.substr(line_end + 1);

  const std::string buffer = notice_for(message, file);
  check(buffer.starts_with(message), "the trace notice begins with the text it was given",
        {{"message", message}, {"buffer", buffer}});
  const std::string_view notice = std::string_view(buffer).substr(message.size());
  check(notice == kNoError ||
            (notice.starts_with(" - ") && notice.size() > 3 && notice.size() <= 3 + 87 &&
             notice.find('\n') == std::string_view::npos &&
             file.find(notice.substr(3)) != std::string_view::npos),
        "the notice names one error text of at most 87 characters from one line of the file",
        {{"notice", notice}, {"file", file}});
  check(buffer == notice_for(message, file), "the same trace file gives the same notice",
        {{"file", file}});
  check(notice == notice_for("", std::string(file) + "\nno error here\n"),
        "lines without an error key leave the notice as it is", {{"file", file}});
  check_error_document(buffer);

  // A trace file as the RFC library writes it names the library's error text.
  const std::string text(file.substr(0, file.find('\0')));
  if (text.size() <= 87) {
    tw::rfclib::TraceEntry entry;
    entry.text = text;
    entry.detail = "the partner's reason";
    entry.location = "SAP-Gateway on host sapprd / sapgw00";
    entry.operation = "RfcOpen";
    entry.module = "open_connection.cpp";
    const std::tm now{};
    const std::string written = tw::rfclib::trace_header(now) +
                                tw::rfclib::trace_entry(entry, 4711, 1, now);
    std::string expected(text);
    for (char& c : expected) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    check(notice_for("", written) == (expected.empty() ? std::string(kNoError) : " - " + expected),
          "the notice names the error text the library wrote",
          {{"text", text}, {"trace file", written}, {"notice", notice_for("", written)}});
  }
  return 0;
}
