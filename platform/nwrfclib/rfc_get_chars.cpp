// The getters of single values: RfcGetChars, RfcGetString, RfcGetInt, and
// RfcGetStructureIntoCharBuffer for a whole structure of characters.
#include <algorithm>
#include <optional>

#include "error.h"
#include "field_access.h"
#include "nw_state.h"
#include "sapnwrfc.h"
#include "text.h"

namespace tw::nwrfclib {

namespace {

/*
 * A character element as it is, an integer in decimal (written into `number`); none for a
 * structure or table.
 */
std::optional<std::u16string_view> text_value(const Element& element, const Value& value,
                                              std::u16string& number) {
  if (element.type == RFCTYPE_CHAR) return value.chars;
  if (element.type == RFCTYPE_INT) return number = decimal(value.number);
  return std::nullopt;
}

/*
 * Runs `body` with the text of the value `name` of a container, or reports why there is
 * none (`operation` names the getter).
 */
template <typename Body>
RFC_RC with_text(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, const char* operation,
                 RFC_ERROR_INFO* info, Body&& body) {
  return guarded(info, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    Error error;
    const Element* element = nullptr;
    const Value* value = reach_value(handle, name, element, error);
    if (value == nullptr) return report(info, error);
    std::u16string number;
    const std::optional<std::u16string_view> text = text_value(*element, *value, number);
    if (!text) return report(info, wrong_type(*element, operation));
    return body(*text);
  });
}

/*
 * The error of a buffer that holds only part of a value of `needed` code units.
 */
Error too_small(std::size_t needed) {
  return make_error(RFC_BUFFER_TOO_SMALL, EXTERNAL_RUNTIME_FAILURE,
                    "the value needs a buffer of " + std::to_string(needed) + " characters");
}

/*
 * The error of a missing buffer.
 */
Error no_buffer() {
  return make_error(RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE, "no buffer given");
}

}  // namespace

}  // namespace tw::nwrfclib

/*
 * The value as text in `bufferLength` characters, padded with blanks, not zero-terminated
 * (an integer in decimal, to the left). RFC_BUFFER_TOO_SMALL, the buffer holding what
 * fits, when the value is longer.
 */
extern "C" RFC_RC SAP_API RfcGetChars(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                      RFC_CHAR* charBuffer, unsigned bufferLength,
                                      RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_text(dataHandle, name, "RfcGetChars", errorInfo, [&](std::u16string_view text) {
    if (charBuffer == nullptr) return report(errorInfo, no_buffer());
    const std::size_t taken = std::min<std::size_t>(text.size(), bufferLength);
    std::copy_n(text.begin(), taken, charBuffer);
    std::fill(charBuffer + taken, charBuffer + bufferLength, u' ');
    if (text.size() > bufferLength) return report(errorInfo, too_small(text.size()));
    return succeed(errorInfo);
  });
}

/*
 * The value as zero-terminated text; `*stringLength` always receives its length.
 * RFC_BUFFER_TOO_SMALL, the buffer holding what fits before the zero, when it cannot hold
 * the value and the zero.
 */
extern "C" RFC_RC SAP_API RfcGetString(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                       SAP_UC* stringBuffer, unsigned bufferLength,
                                       unsigned* stringLength, RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_text(dataHandle, name, "RfcGetString", errorInfo, [&](std::u16string_view text) {
    if (stringLength != nullptr) *stringLength = static_cast<unsigned>(text.size());
    if (stringBuffer == nullptr) return report(errorInfo, no_buffer());
    copy_text(stringBuffer, bufferLength, text);
    if (text.size() >= bufferLength) return report(errorInfo, too_small(text.size() + 1));
    return succeed(errorInfo);
  });
}

/*
 * The value as an integer; a character value is read as a decimal number (blanks around it
 * allowed, all blanks reading as 0). RFC_CONVERSION_FAILURE for characters that are no
 * number and for a structure or table.
 */
extern "C" RFC_RC SAP_API RfcGetInt(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                    RFC_INT* value, RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_text(dataHandle, name, "RfcGetInt", errorInfo, [&](std::u16string_view text) {
    if (value == nullptr) return report(errorInfo, no_buffer());
    int number = 0;
    if (text.find_first_not_of(u' ') != std::u16string::npos && !parse_decimal(text, number))
      return report(errorInfo, make_error(RFC_CONVERSION_FAILURE, EXTERNAL_RUNTIME_FAILURE,
                                          "'" + to_utf8(text) + "' is no integer"));
    *value = number;
    return succeed(errorInfo);
  });
}

/*
 * A structure (or a table's current row) of character fields only, laid out as with two
 * bytes per character, not zero-terminated. RFC_BUFFER_TOO_SMALL, the buffer holding what
 * fits, when it is shorter; RFC_CONVERSION_FAILURE for a structure with other fields.
 */
extern "C" RFC_RC SAP_API RfcGetStructureIntoCharBuffer(DATA_CONTAINER_HANDLE dataHandle,
                                                        SAP_UC* charBuffer,
                                                        unsigned bufferLength,
                                                        RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return guarded(errorInfo, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    Container* container = find_container(dataHandle);
    if (container == nullptr || container->kind() == Container::Kind::kFunction)
      return report(errorInfo, invalid_handle("structure or table"));
    Error error;
    const Container* structure = fields_of(*container, error);
    if (structure == nullptr) return report(errorInfo, error);
    const std::vector<Element>& fields = structure->elements();
    std::u16string flat(structure->type_desc()->uc_length / 2, u' ');
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (fields[i].type != RFCTYPE_CHAR)
        return report(errorInfo, wrong_type(fields[i], "RfcGetStructureIntoCharBuffer"));
      flat.replace(fields[i].uc_offset / 2, fields[i].length, structure->values[i].chars);
    }
    if (charBuffer == nullptr) return report(errorInfo, no_buffer());
    std::copy_n(flat.begin(), std::min<std::size_t>(bufferLength, flat.size()), charBuffer);
    if (flat.size() > bufferLength) return report(errorInfo, too_small(flat.size()));
    return succeed(errorInfo);
  });
}
