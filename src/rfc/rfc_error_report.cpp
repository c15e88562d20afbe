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
  echo_field(sensor.out, "key", 0, 15, std::string(info.key, strnlen(info.key, sizeof info.key)));
  echo_field(sensor.out, "status", 0, 15,
             std::string(info.status, strnlen(info.status, sizeof info.status)));
  echo_field(sensor.out, "message", 0, 15,
             std::string(info.message, strnlen(info.message, sizeof info.message)));
  echo_field(sensor.out, "internal status", 0, 15,
             std::string(info.intstat, strnlen(info.intstat, sizeof info.intstat)));
  print(sensor.out, "\n");
  RfcClose(0);
  sensor.rfc.handle = 0;
  print(sensor.out, "* Programm aborted...\n");
  // The end-of-output marker file has no name, so its creation always fails.
  print(sensor.out, "* Error at EoXput-File...\n");
}

}  // namespace tw

extern "C" void rfc_error_report(char* operation) {
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
