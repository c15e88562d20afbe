#include "describe_element.h"

#include <iterator>

#include "text.h"

namespace tw::nwrfclib {

namespace {

/*
 * The handle of the type of a structure or table element; NULL for the others.
 */
RFC_TYPE_DESC_HANDLE type_handle(const Element& element) {
  return element.type_desc == nullptr
             ? nullptr
             : handle_from_id<RFC_TYPE_DESC_HANDLE>(element.type_desc->id);
}

}  // namespace

void fill_record(const Element& parameter, RFC_PARAMETER_DESC& record) {
  copy_text(record.name, std::size(record.name), parameter.name);
  record.type = parameter.type;
  record.direction = parameter.direction;
  record.nucLength = parameter.nuc_length;
  record.ucLength = parameter.uc_length;
  record.typeDescHandle = type_handle(parameter);
}

void fill_record(const Element& field, RFC_FIELD_DESC& record) {
  copy_text(record.name, std::size(record.name), field.name);
  record.type = field.type;
  record.nucLength = field.nuc_length;
  record.nucOffset = field.nuc_offset;
  record.ucLength = field.uc_length;
  record.ucOffset = field.uc_offset;
  record.typeDescHandle = type_handle(field);
}

const Element* element_at(const std::vector<Element>& elements, unsigned index) {
  return index < elements.size() ? &elements[index] : nullptr;
}

}  // namespace tw::nwrfclib
