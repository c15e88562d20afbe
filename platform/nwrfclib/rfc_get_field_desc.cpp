// RfcGetTypeName, RfcGetFieldCount, RfcGetFieldDescByIndex, RfcGetFieldDescByName and
// RfcGetTypeLength: what the type of a structure or table row holds.
#include "describe_element.h"
#include "sapnwrfc.h"

/*
 * The type's name, zero-terminated.
 */
extern "C" RFC_RC SAP_API RfcGetTypeName(RFC_TYPE_DESC_HANDLE typeHandle,
                                         RFC_ABAP_NAME bufferForName, RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return give_name(find_type_desc(typeHandle), "type description", bufferForName, errorInfo);
}

/*
 * The number of fields.
 */
extern "C" RFC_RC SAP_API RfcGetFieldCount(RFC_TYPE_DESC_HANDLE typeHandle, unsigned* count,
                                           RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return give_count(find_type_desc(typeHandle), "type description", count, errorInfo);
}

/*
 * The field at `index` (from 0); RFC_INVALID_PARAMETER past the last.
 */
extern "C" RFC_RC SAP_API RfcGetFieldDescByIndex(RFC_TYPE_DESC_HANDLE typeHandle,
                                                 unsigned index, RFC_FIELD_DESC* fieldDescr,
                                                 RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return give_element_at(find_type_desc(typeHandle), "type description", "field", index,
                         fieldDescr, errorInfo);
}

/*
 * The field of that name (letter case of a to z ignored); RFC_INVALID_PARAMETER when there
 * is none.
 */
extern "C" RFC_RC SAP_API RfcGetFieldDescByName(RFC_TYPE_DESC_HANDLE typeHandle,
                                                SAP_UC const* name, RFC_FIELD_DESC* fieldDescr,
                                                RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return give_element_named(find_type_desc(typeHandle), "type description", "field", name,
                            fieldDescr, errorInfo);
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
