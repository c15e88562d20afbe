// The setters of single values: RfcSetChars and RfcSetInt. A value set on a function's
// importing (or changing) parameter goes with the next call.
#include "error.h"
#include "field_access.h"
#include "sapnwrfc.h"
#include "text.h"

namespace tw::nwrfclib {

namespace {

/*
 * Sets the value `name` of a container from text: a character element padded with blanks
 * (RFC_BUFFER_TOO_SMALL for a text longer than it), an integer read as a decimal number
 * (RFC_CONVERSION_FAILURE for a text that is none), a structure or table never.
 */
RFC_RC set_text(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, std::u16string_view text,
                const char* operation, RFC_ERROR_INFO* info) {
  Error error;
  const Element* element = nullptr;
  Value* value = reach_value(handle, name, element, error);
  if (value == nullptr) return report(info, error);
  if (element->type == RFCTYPE_CHAR) {
    if (text.size() > element->length)
      return report(info, make_error(RFC_BUFFER_TOO_SMALL, EXTERNAL_RUNTIME_FAILURE,
                                     "the value is longer than the " +
                                         std::to_string(element->length) + " characters of '" +
                                         to_utf8(element->name) + "'"));
    value->chars = fixed(std::u16string(text), element->length);
  } else if (element->type == RFCTYPE_INT) {
    if (!parse_decimal(text, value->number))
      return report(info, make_error(RFC_CONVERSION_FAILURE, EXTERNAL_RUNTIME_FAILURE,
                                     "'" + to_utf8(text) + "' is no integer"));
  } else {
    return report(info, wrong_type(*element, operation));
  }
  value->set = true;
  return succeed(info);
}

}  // namespace

}  // namespace tw::nwrfclib

/*
 * Sets a value from `valueLength` characters (see set_text).
 */
extern "C" RFC_RC SAP_API RfcSetChars(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                      const RFC_CHAR* charValue, unsigned valueLength,
                                      RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return guarded(errorInfo, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    if (charValue == nullptr && valueLength != 0)
      return report(errorInfo, make_error(RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE,
                                          "no value given"));
    return set_text(dataHandle, name, std::u16string_view(charValue, valueLength), "RfcSetChars",
                    errorInfo);
  });
}

/*
 * Sets a value from an integer: an integer element as it is, a character element in
 * decimal (see set_text).
 */
extern "C" RFC_RC SAP_API RfcSetInt(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                    const RFC_INT value, RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return guarded(errorInfo, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    return set_text(dataHandle, name, decimal(value), "RfcSetInt", errorInfo);
  });
}
