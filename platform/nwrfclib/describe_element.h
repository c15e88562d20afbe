// Handing out descriptions: the records of a parameter or a field, and what the operations
// on function and type descriptions share.
#pragma once

#include <iterator>
#include <string>
#include <vector>

#include "error.h"
#include "metadata.h"
#include "nw_state.h"
#include "sapnwrfc.h"
#include "text.h"

namespace tw::nwrfclib {

/*
 * The record of a parameter (no default value, no text, not optional), or of a field.
 */
void fill_record(const Element& parameter, RFC_PARAMETER_DESC& record);
void fill_record(const Element& field, RFC_FIELD_DESC& record);

/*
 * The parameters of a function, the fields of a type.
 */
inline const std::vector<Element>& elements_of(const FunctionDesc& function) {
  return function.parameters;
}
inline const std::vector<Element>& elements_of(const TypeDesc& type) { return type.fields; }

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
 * The name of a description, zero-terminated into `buffer` (an RFC_ABAP_NAME).
 */
template <typename Description>
RFC_RC give_name(const Description* description, const char* what, RFC_CHAR* buffer,
                 RFC_ERROR_INFO* info) {
  return with_description(description, what, info, [&](const Description& found) {
    copy_text(buffer, std::size(RFC_ABAP_NAME{}), found.name);
    return succeed(info);
  });
}

/*
 * The number of a description's parameters or fields, into `*count` unless it is NULL.
 */
template <typename Description>
RFC_RC give_count(const Description* description, const char* what, unsigned* count,
                  RFC_ERROR_INFO* info) {
  return with_description(description, what, info, [&](const Description& found) {
    if (count != nullptr) *count = static_cast<unsigned>(elements_of(found).size());
    return succeed(info);
  });
}

/*
 * The record of a description's parameter or field (`kind`) at `index` (from 0);
 * RFC_INVALID_PARAMETER past the last.
 */
template <typename Description, typename Record>
RFC_RC give_element_at(const Description* description, const char* what, const char* kind,
                       unsigned index, Record* record, RFC_ERROR_INFO* info) {
  return with_description(description, what, info, [&](const Description& found) {
    const std::vector<Element>& elements = elements_of(found);
    return give_record(index < elements.size() ? &elements[index] : nullptr, kind,
                       "number " + std::to_string(index), record, info);
  });
}

/*
 * The record of a description's parameter or field (`kind`) of that name (letter case of
 * a to z ignored); RFC_INVALID_PARAMETER when there is none.
 */
template <typename Description, typename Record>
RFC_RC give_element_named(const Description* description, const char* what, const char* kind,
                          const SAP_UC* name, Record* record, RFC_ERROR_INFO* info) {
  return with_description(description, what, info, [&](const Description& found) {
    const Element* element = find_element(elements_of(found), text_of(name));
    // The name goes into the message only when it is needed: lookups mostly succeed.
    return give_record(element, kind, element != nullptr ? "" : "'" + to_utf8(text_of(name)) + "'",
                       record, info);
  });
}

}  // namespace tw::nwrfclib
