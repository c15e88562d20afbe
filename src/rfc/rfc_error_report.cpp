#include <cstring>

#include "rfc/rfc.h"
#include "run/sensor.h"

namespace tw {

namespace {
Sensor* g_report_target = nullptr;
}

void set_error_report_target(Sensor* sensor) { g_report_target = sensor; }

void write_rfc_error_report(Sensor& sensor, const char* operation) {
  print(sensor.out, "RFC error\n");
  echo_field(sensor.out, "operation/code", 0, 15, operation != nullptr ? operation : "");
  RFC_ERROR_INFO info{};
  RfcLastError(&info);
  // Each field is a C text within its size; a missing terminator ends at the size.
  const auto field = [&sensor](const char* label, const char* text, std::size_t size) {
    echo_field(sensor.out, label, 0, 15, std::string(text, strnlen(text, size)));
  };
  field("key", info.key, sizeof info.key);
  field("status", info.status, sizeof info.status);
  field("message", info.message, sizeof info.message);
  field("internal status", info.intstat, sizeof info.intstat);
  print(sensor.out, "\n");
  RfcClose(0);
  sensor.rfc.handle = 0;
  print(sensor.out, "* Programm aborted...\n");
  // The end-of-output marker file has no name, so its creation always fails.
  print(sensor.out, "* Error at EoXput-File...\n");
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
  tw::end_process(tw::kExitRfcLibrary);
}
