// RfcGetStructure and RfcGetTable: the containers a container holds.
#include "error.h"
#include "field_access.h"
#include "nw_state.h"
#include "sapnwrfc.h"

namespace tw::nwrfclib {

namespace {

/*
 * Hands out the handle of the structure or table `name` of a container, checked to be of
 * `type`; the handle is the same each time.
 */
RFC_RC give_child(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, RFCTYPE type,
                  DATA_CONTAINER_HANDLE* child, RFC_ERROR_INFO* info) {
  return guarded(info, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    Error error;
    const Element* element = nullptr;
    Value* value = reach_value(handle, name, element, error);
    if (value == nullptr) return report(info, error);
    if (element->type != type)
      return report(info, wrong_type(*element, type == RFCTYPE_TABLE ? "RfcGetTable"
                                                                     : "RfcGetStructure"));
    if (child == nullptr)
      return report(info, make_error(RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE,
                                     "no place for the handle given"));
    *child = handle_of(*value->child);
    return succeed(info);
  });
}

}  // namespace

}  // namespace tw::nwrfclib

/*
 * The structure parameter or field `name` of a container (of a table: of its current row).
 * RFC_INVALID_HANDLE, RFC_INVALID_PARAMETER for an unknown name, RFC_CONVERSION_FAILURE
 * for an element that is no structure.
 */
extern "C" RFC_RC SAP_API RfcGetStructure(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                          RFC_STRUCTURE_HANDLE* structHandle,
                                          RFC_ERROR_INFO* errorInfo) {
  return tw::nwrfclib::give_child(dataHandle, name, RFCTYPE_STRUCTURE, structHandle, errorInfo);
}

/*
 * The table parameter or field `name` of a container, as RfcGetStructure.
 */
extern "C" RFC_RC SAP_API RfcGetTable(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                      RFC_TABLE_HANDLE* tableHandle, RFC_ERROR_INFO* errorInfo) {
  return tw::nwrfclib::give_child(dataHandle, name, RFCTYPE_TABLE, tableHandle, errorInfo);
}
