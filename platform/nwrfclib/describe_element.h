// Handing out descriptions: the records of a parameter or a field, and the checks the
// operations on function and type descriptions share.
#pragma once

#include <string>

#include "error.h"
#include "metadata.h"
#include "nw_state.h"
#include "sapnwrfc.h"

namespace tw::nwrfclib {

/*
 * The record of a parameter (no default value, no text, not optional), or of a field.
 */
void fill_record(const Element& parameter, RFC_PARAMETER_DESC& record);
void fill_record(const Element& field, RFC_FIELD_DESC& record);

/*
 * Runs `body` with a description, or reports RFC_INVALID_HANDLE when there is none (its
 * handle no live one of the kind `what`).
 */
template <typename Description, typename Body>
RFC_RC with_description(const Description* description, const char* what,
                        RFC_ERROR_INFO* info, Body&& body) {
  return guarded(info, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    if (description == nullptr) return report(info, invalid_handle(what));
    return body(*description);
  });
}

/*
 * Fills `record` with the description of `element`, or reports RFC_INVALID_PARAMETER when
 * there is no record or no such element ("KIND WHICH not found").
 */
template <typename Record>
RFC_RC give_record(const Element* element, const char* kind, const std::string& which,
                   Record* record, RFC_ERROR_INFO* info) {
  if (record == nullptr)
    return report(info, make_error(RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE,
                                   "no record for the description given"));
  if (element == nullptr)
    return report(info, make_error(RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE,
                                   std::string(kind) + " " + which + " not found"));
  *record = Record{};
  fill_record(*element, *record);
  return succeed(info);
}

/*
 * The element at `index`, or NULL past the last.
 */
const Element* element_at(const std::vector<Element>& elements, unsigned index);

}  // namespace tw::nwrfclib
