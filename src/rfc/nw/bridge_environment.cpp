// RfcEnvironment and RfcLastError of the bridge: the error handler and allocator, the last
// error, kept as the classic library keeps them.
#include "api_guard.h"
#include "rfc/nw/bridge.h"

namespace tw::nw {

void SAP_API bridge_environment(RFC_ENV* environment) {
  rfclib::guarded(bridge(), "RfcEnvironment", 0, [&] {
    bridge().environment = environment != nullptr ? *environment : RFC_ENV{nullptr, nullptr};
    return 0;
  });
}

int SAP_API bridge_last_error(RFC_ERROR_INFO* info) {
  return rfclib::guarded(bridge(), "RfcLastError", 1,
                         [&] { return rfclib::copy_last_error(bridge().last_error, info); });
}

}  // namespace tw::nw
