#include "field_access.h"

#include "names.h"
#include "nw_state.h"
#include "text.h"

namespace tw::nwrfclib {

Value* reach_value(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, const Element*& element,
                   Error& error) {
  Container* container = find_container(handle);
  if (container == nullptr) {
    error = invalid_handle("data container");
    return nullptr;
  }
  Container* fields = fields_of(*container, error);
  if (fields == nullptr) return nullptr;
  if (name == nullptr) {
    error = make_error(RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE, "no field name given");
    return nullptr;
  }
  return find_value(*fields, text_of(name), element, error);
}

Error wrong_type(const Element& element, const char* operation) {
  return make_error(RFC_CONVERSION_FAILURE, EXTERNAL_RUNTIME_FAILURE,
                    "field '" + to_utf8(element.name) + "' of type " +
                        to_utf8(type_name(element.type)) +
                        " cannot be used with " + operation);
}

}  // namespace tw::nwrfclib
