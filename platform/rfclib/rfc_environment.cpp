// RfcEnvironment and RfcLastError: the error handler and allocator, the last error.
#include <cstring>

#include "api_guard.h"
#include "library_state.h"
#include "saprfc.h"

namespace {

/*
 * Copies `text` into a field of `size` bytes, cut to fit and zero-terminated.
 */
void copy_field(char* field, std::size_t size, const std::string& text) {
  const std::size_t length = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

}  // namespace

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
  if (info == nullptr) return 1;
  using namespace tw::rfclib;
  return guarded("RfcLastError", 1, [&] {
    const LastError& last = state().last_error;
    copy_field(info->key, sizeof info->key, last.key);
    copy_field(info->status, sizeof info->status, last.status);
    copy_field(info->message, sizeof info->message, last.message);
    copy_field(info->intstat, sizeof info->intstat, last.intstat);
    return last.key.empty() ? 1 : 0;
  });
}
