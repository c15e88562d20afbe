// RfcEnvironment and RfcLastError: the error handler and allocator, the last error.
#include "api_guard.h"
#include "library_state.h"
#include "saprfc.h"

/*
 * Keeps the error handler and allocator for every later operation; NULL goes back to
 * none and the library's own.
 */
extern "C" void SAP_API RfcEnvironment(RFC_ENV* environment) {
  tw::rfclib::guarded("RfcEnvironment", 0, [&] {
    tw::rfclib::state().environment =
        environment != nullptr ? *environment : RFC_ENV{nullptr, nullptr};
    return 0;
  });
}

/*
 * Fills `info` with the last error and returns 0. Without an error so far the fields are
 * empty and the result is 1; a NULL record gives 1.
 */
extern "C" int SAP_API RfcLastError(RFC_ERROR_INFO* info) {
  using namespace tw::rfclib;
  return guarded("RfcLastError", 1, [&] { return copy_last_error(state().last_error, info); });
}
