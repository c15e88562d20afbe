#include <cstring>

#include "rfc/rfc.h"
#include "run/sensor.h"

namespace tw {

namespace {
Sensor* g_report_target = nullptr;
ErrorReportEpilogue g_epilogue = nullptr;
}  // namespace

void set_error_report_target(Sensor* sensor) { g_report_target = sensor; }

void set_error_report_epilogue(ErrorReportEpilogue epilogue) { g_epilogue = epilogue; }

void write_rfc_error_report(Sensor& sensor, const char* operation) {
  // Composed whole and printed at once: the deadline can neither cut into the report nor
  // follow it.
  std::string text = "RFC error\n";
  Output collect{nullptr, &text};
  echo_field(collect, "operation/code", 0, 15, operation != nullptr ? operation : "");
  RFC_ERROR_INFO info{};
  RfcLastError(&info);
  // Each field is a C text within its size; a missing terminator ends at the size.
  const auto field = [&collect](const char* label, const char* value, std::size_t size) {
    echo_field(collect, label, 0, 15, std::string(value, strnlen(value, size)));
  };
  field("key", info.key, sizeof info.key);
  field("status", info.status, sizeof info.status);
  field("message", info.message, sizeof info.message);
  field("internal status", info.intstat, sizeof info.intstat);
  text += "\n* Programm aborted...\n";
  // The end-of-output marker file has no name, so its creation always fails.
  text += "* Error at EoXput-File...\n";
  print_answer(sensor, text, kExitRfcLibrary);
  RfcClose(0);
  sensor.rfc.handle = 0;
}

}  // namespace tw

extern "C" void SAP_API rfc_error_report(char* operation) {
  try {
    if (tw::g_report_target != nullptr) {
      tw::write_rfc_error_report(*tw::g_report_target, operation);
    } else {
      tw::Sensor fallback;
      tw::write_rfc_error_report(fallback, operation);
    }
  } catch (...) {
    // Nothing may leave this handler but the end of the process.
  }
  if (tw::g_epilogue != nullptr) tw::g_epilogue();
  tw::end_process(tw::kExitRfcLibrary, /*inside_library=*/true);
}
