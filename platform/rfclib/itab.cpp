// The internal table functions of the C API.
#include "itab.h"

#include "api_guard.h"
#include "library_state.h"
#include "report_error.h"
#include "saprfc.h"

using tw::rfclib::guarded;
using tw::rfclib::Itab;

/*
 * A new empty table of lines of `line_length` bytes; NULL for a line length of 0, or when
 * memory runs out (the error handler is called). `occurs` and `memory` are hints only.
 */
extern "C" ITAB_H SAP_API ItCreate(char* name, unsigned line_length, unsigned /*occurs*/,
                           unsigned /*memory*/) {
  return guarded("ItCreate", ITAB_H{nullptr}, [&]() -> ITAB_H {
    return tw::rfclib::new_itab(name, line_length, tw::rfclib::state().environment.allocate);
  });
}

/*
 * The number of lines; 0 for NULL.
 */
extern "C" unsigned SAP_API ItFill(ITAB_H table) {
  return guarded("ItFill", 0u,
                 [&] { return table == nullptr ? 0u : static_cast<Itab*>(table)->lines; });
}

/*
 * Line `line` (from 1); NULL for NULL or a line out of range.
 */
extern "C" void* SAP_API ItGetLine(ITAB_H handle, unsigned line) {
  return guarded("ItGetLine", static_cast<void*>(nullptr),
                 [&] { return tw::rfclib::itab_line(static_cast<const Itab*>(handle), line); });
}

/*
 * Appends a zero-filled line and returns it; NULL for NULL, or when memory runs out (the
 * error handler is called).
 */
extern "C" void* SAP_API ItAppLine(ITAB_H handle) {
  if (handle == nullptr) return nullptr;
  return guarded("ItAppLine", static_cast<void*>(nullptr), [&]() -> void* {
    void* line = tw::rfclib::append_line(*static_cast<Itab*>(handle));
    if (line == nullptr)
      tw::rfclib::report_error({.operation = "ItAppLine", .rc = RFC_MEMORY_INSUFFICIENT,
                                .key = tw::rfclib::kKeyResource, .text = "memory insufficient",
                                .call_handler = true},
                               RFC_HERE);
    return line;
  });
}

/*
 * Frees a table and its lines. Returns 0, or 1 for NULL.
 */
extern "C" int SAP_API ItDelete(ITAB_H handle) {
  if (handle == nullptr) return 1;
  return guarded("ItDelete", 1, [&] { return tw::rfclib::delete_itab(static_cast<Itab*>(handle)); });
}
