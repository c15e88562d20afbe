#include "container.h"

#include "nw_state.h"
#include "text.h"

namespace tw::nwrfclib {

Container::Container(Kind kind, const FunctionDesc* function, const TypeDesc* type)
    : kind_(kind), function_(function), type_(type) {}

std::unique_ptr<Container> Container::function(const FunctionDesc& function) {
  std::unique_ptr<Container> container(new Container(Kind::kFunction, &function, nullptr));
  container->values.resize(function.parameters.size());
  for (std::size_t i = 0; i < function.parameters.size(); ++i)
    make_initial(container->values[i], function.parameters[i]);
  return container;
}

std::unique_ptr<Container> Container::structure(const TypeDesc& type) {
  std::unique_ptr<Container> container(new Container(Kind::kStructure, nullptr, &type));
  container->values.resize(type.fields.size());
  for (std::size_t i = 0; i < type.fields.size(); ++i)
    make_initial(container->values[i], type.fields[i]);
  return container;
}

std::unique_ptr<Container> Container::table(const TypeDesc& row_type) {
  return std::unique_ptr<Container>(new Container(Kind::kTable, nullptr, &row_type));
}

const std::vector<Element>& Container::elements() const {
  return function_ != nullptr ? function_->parameters : type_->fields;
}

void make_initial(Value& value, const Element& element) {
  value.set = false;
  value.number = 0;
  value.chars.clear();
  if (element.type == RFCTYPE_CHAR) value.chars.assign(element.length, u' ');
  if (value.child == nullptr) {
    if (element.type == RFCTYPE_STRUCTURE) value.child = Container::structure(*element.type_desc);
    if (element.type == RFCTYPE_TABLE) value.child = Container::table(*element.type_desc);
    return;
  }
  // A structure or table stays the same container, so that its handle stays good.
  Container& child = *value.child;
  const std::vector<Element>& fields = child.elements();
  for (std::size_t i = 0; i < child.values.size(); ++i) make_initial(child.values[i], fields[i]);
  for (const auto& row : child.rows) forget_handles(*row);
  child.rows.clear();
  child.cursor = -1;
}

Container* fields_of(Container& container, Error& error) {
  if (container.kind() != Container::Kind::kTable) return &container;
  if (container.cursor < 0 || static_cast<std::size_t>(container.cursor) >= container.rows.size()) {
    error = make_error(RFC_ILLEGAL_STATE, EXTERNAL_RUNTIME_FAILURE,
                       "the table cursor is on no row");
    return nullptr;
  }
  return container.rows[static_cast<std::size_t>(container.cursor)].get();
}

Value* find_value(Container& container, std::u16string_view name, const Element*& element,
                  Error& error) {
  const std::vector<Element>& elements = container.elements();
  element = find_element(elements, name);
  if (element == nullptr) {
    error = make_error(RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE,
                       "field '" + to_utf8(name) + "' not found");
    return nullptr;
  }
  return &container.values[static_cast<std::size_t>(element - elements.data())];
}

void fill_from_record(Container& structure, std::string_view record) {
  const std::vector<Element>& fields = structure.elements();
  std::u16string decoded;  // room reused from field to field
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const Element& field = fields[i];
    const std::string_view bytes = field.nuc_offset < record.size()
                                       ? record.substr(field.nuc_offset, field.nuc_length)
                                       : std::string_view();
    Value& value = structure.values[i];
    if (field.type == RFCTYPE_INT) {
      int number = 0;
      value.number = parse_decimal(from_bytes(bytes), number) ? number : 0;
    } else {
      // The value keeps its room (the field's length) when cut or padded to it.
      assign_from_bytes(decoded, bytes);
      value.chars.assign(decoded, 0, field.length);
      value.chars.resize(field.length, u' ');
    }
  }
}

std::string bytes_of(std::u16string_view chars, std::size_t length) {
  std::string bytes;
  for (std::size_t at = 0; at < chars.size();) {
    // One character at a time: a surrogate pair stays whole, or goes as a whole.
    const std::size_t units =
        chars[at] >= 0xD800 && chars[at] <= 0xDBFF && at + 1 < chars.size() ? 2 : 1;
    const std::string character = to_utf8(chars.substr(at, units));
    if (bytes.size() + character.size() > length) break;
    bytes += character;
    at += units;
  }
  bytes.resize(length, ' ');
  return bytes;
}

std::string record_of(const Container& structure) {
  const std::vector<Element>& fields = structure.elements();
  std::string record;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const Element& field = fields[i];
    record.resize(field.nuc_offset, ' ');
    const Value& value = structure.values[i];
    record += bytes_of(field.type == RFCTYPE_INT ? decimal(value.number) : value.chars,
                       field.nuc_length);
  }
  record.resize(structure.type_desc()->nuc_length, ' ');
  return record;
}

}  // namespace tw::nwrfclib
