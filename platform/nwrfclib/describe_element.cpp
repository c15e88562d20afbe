#include "describe_element.h"

#include <iterator>

#include "text.h"

namespace tw::nwrfclib {

namespace {

/*
 * What the records of a parameter and of a field share.
 */
template <typename Record>
void fill_common(const Element& element, Record& record) {
  copy_text(record.name, std::size(record.name), element.name);
  record.type = element.type;
  record.nucLength = element.nuc_length;
  record.ucLength = element.uc_length;
  record.typeDescHandle = element.type_desc == nullptr
                              ? nullptr
                              : handle_from_id<RFC_TYPE_DESC_HANDLE>(element.type_desc->id);
}

}  // namespace

void fill_record(const Element& parameter, RFC_PARAMETER_DESC& record) {
  fill_common(parameter, record);
  record.direction = parameter.direction;
}

void fill_record(const Element& field, RFC_FIELD_DESC& record) {
  fill_common(field, record);
  record.nucOffset = field.nuc_offset;
  record.ucOffset = field.uc_offset;
}

}  // namespace tw::nwrfclib
