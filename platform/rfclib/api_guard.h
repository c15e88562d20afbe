// The wall around every exported function: no C++ exception crosses the C API.
#pragma once

#include <new>
#include <type_traits>
#include <utility>

#include "library_state.h"
#include "report_error.h"

namespace tw::rfclib {

/*
 * Runs `body` for the exported function `operation` and returns its result. An exception
 * ends it with the failure reported into `errors` and `on_error` returned: std::bad_alloc as
 * memory insufficient (the error handler is called; an RFC_RC result becomes
 * RFC_MEMORY_INSUFFICIENT), anything else as an internal error.
 */
template <typename Result, typename Body>
Result guarded(ErrorState& errors, const char* operation, Result on_error, Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    report_error({.operation = operation, .rc = RFC_MEMORY_INSUFFICIENT, .key = kKeyResource,
                  .text = "memory insufficient", .call_handler = true},
                 RFC_HERE, errors);
    if constexpr (std::is_same_v<Result, RFC_RC>) return RFC_MEMORY_INSUFFICIENT;
  } catch (...) {
    report_error({.operation = operation, .rc = RFC_FAILURE, .key = kKeyProgram,
                  .text = "internal error of the RFC library"},
                 RFC_HERE, errors);
  }
  return on_error;
}

/*
 * guarded for the library's own state.
 */
template <typename Result, typename Body>
Result guarded(const char* operation, Result on_error, Body&& body) noexcept {
  return guarded(state(), operation, on_error, std::forward<Body>(body));
}

}  // namespace tw::rfclib
