// How an operation of the NetWeaver stand-in tells its error: the RFC_ERROR_INFO record.
#pragma once

#include <new>
#include <string>
#include <string_view>
#include <type_traits>

#include "sapnwrfc.h"
#include "sapnwrfc_layout.h"

namespace tw::nwrfclib {

/// One error, before it goes into the caller's record.
struct Error {
  RFC_RC code = RFC_OK;
  RFC_ERROR_GROUP group = OK;
  std::u16string key{};      ///< empty: the name of the code
  std::u16string message{};  ///< may span several lines
  std::u16string abap_class{}, abap_type{}, abap_number{}, abap_v1{};
};

/*
 * An error of `code` and `group`, keyed by the code's name, with a message in the library's
 * own words (UTF-8).
 */
Error make_error(RFC_RC code, RFC_ERROR_GROUP group, std::string_view message);

/*
 * Fills the caller's record (when it is not NULL) with `error`, every text zero-terminated
 * and cut to its field, and returns error.code.
 */
RFC_RC report(RFC_ERROR_INFO* info, const Error& error);

/*
 * Fills the caller's record (when it is not NULL) for success and returns RFC_OK.
 */
RFC_RC succeed(RFC_ERROR_INFO* info);

/*
 * Runs `body` for an exported operation and returns its result. An exception ends it with
 * `info` filled and `on_error` returned: std::bad_alloc as RFC_MEMORY_INSUFFICIENT (an
 * RFC_RC result becomes that code), anything else as RFC_UNKNOWN_ERROR.
 */
template <typename Result, typename Body>
Result guarded(RFC_ERROR_INFO* info, Result on_error, Body&& body) noexcept {
  RFC_RC code = RFC_UNKNOWN_ERROR;
  try {
    return body();
  } catch (const std::bad_alloc&) {
    code = RFC_MEMORY_INSUFFICIENT;
  } catch (...) {
  }
  try {
    report(info, make_error(code, EXTERNAL_RUNTIME_FAILURE,
                            code == RFC_MEMORY_INSUFFICIENT ? "memory insufficient"
                                                            : "internal error of the RFC library"));
  } catch (...) {
    // No memory left even for the message: the code alone tells.
    if (info != nullptr) info->code = code;
  }
  if constexpr (std::is_same_v<Result, RFC_RC>) return code;
  return on_error;
}

}  // namespace tw::nwrfclib
