// RfcGetTypeName, RfcGetFieldCount, RfcGetFieldDescByIndex, RfcGetFieldDescByName and
// RfcGetTypeLength: what the type of a structure or table row holds.
#include <iterator>

#include "describe_element.h"
#include "sapnwrfc.h"
#include "text.h"

using tw::nwrfclib::TypeDesc;

/*
 * The type's name, zero-terminated.
 */
extern "C" RFC_RC SAP_API RfcGetTypeName(RFC_TYPE_DESC_HANDLE typeHandle,
                                         RFC_ABAP_NAME bufferForName, RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_description(find_type_desc(typeHandle), "type description", errorInfo,
                          [&](const TypeDesc& type) {
                            copy_text(bufferForName, std::size(RFC_ABAP_NAME{}), type.name);
                            return succeed(errorInfo);
                          });
}

/*
 * The number of fields.
 */
extern "C" RFC_RC SAP_API RfcGetFieldCount(RFC_TYPE_DESC_HANDLE typeHandle, unsigned* count,
                                           RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_description(find_type_desc(typeHandle), "type description", errorInfo,
                          [&](const TypeDesc& type) {
                            if (count != nullptr) *count = static_cast<unsigned>(type.fields.size());
                            return succeed(errorInfo);
                          });
}

/*
 * The field at `index` (from 0); RFC_INVALID_PARAMETER past the last.
 */
extern "C" RFC_RC SAP_API RfcGetFieldDescByIndex(RFC_TYPE_DESC_HANDLE typeHandle,
                                                 unsigned index, RFC_FIELD_DESC* fieldDescr,
                                                 RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_description(find_type_desc(typeHandle), "type description", errorInfo,
                          [&](const TypeDesc& type) {
                            return give_record(element_at(type.fields, index), "field",
                                               "number " + std::to_string(index), fieldDescr,
                                               errorInfo);
                          });
}

/*
 * The field of that name (letter case of a to z ignored); RFC_INVALID_PARAMETER when there
 * is none.
 */
extern "C" RFC_RC SAP_API RfcGetFieldDescByName(RFC_TYPE_DESC_HANDLE typeHandle,
                                                SAP_UC const* name, RFC_FIELD_DESC* fieldDescr,
                                                RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_description(find_type_desc(typeHandle), "type description", errorInfo,
                          [&](const TypeDesc& type) {
                            return give_record(find_element(type.fields, text_of(name)), "field",
                                               "'" + to_utf8(text_of(name)) + "'", fieldDescr,
                                               errorInfo);
                          });
}

/*
 * The bytes of the whole type with one-byte and with two-byte characters.
 */
extern "C" RFC_RC SAP_API RfcGetTypeLength(RFC_TYPE_DESC_HANDLE typeHandle,
                                           unsigned* nucByteLength, unsigned* ucByteLength,
                                           RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_description(find_type_desc(typeHandle), "type description", errorInfo,
                          [&](const TypeDesc& type) {
                            if (nucByteLength != nullptr) *nucByteLength = type.nuc_length;
                            if (ucByteLength != nullptr) *ucByteLength = type.uc_length;
                            return succeed(errorInfo);
                          });
}
