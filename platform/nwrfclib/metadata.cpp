#include "metadata.h"

#include "text.h"

namespace tw::nwrfclib {

namespace {

/*
 * `offset` rounded up to a multiple of `alignment`.
 */
unsigned aligned(unsigned offset, unsigned alignment) {
  return (offset + alignment - 1) / alignment * alignment;
}

/*
 * The type of a structure or table parameter, its fields laid out.
 */
std::unique_ptr<TypeDesc> type_of(const wire::Parameter& parameter) {
  auto type = std::make_unique<TypeDesc>();
  type->name = from_bytes(parameter.type);
  unsigned nuc_alignment = 1, uc_alignment = 2;
  for (const wire::Field& field : parameter.fields) {
    Element element{.name = from_bytes(field.name), .length = field.length};
    if (field.kind == wire::ElementKind::kInt) {
      element.type = RFCTYPE_INT;
      element.nuc_length = element.uc_length = 4;
      element.nuc_offset = aligned(type->nuc_length, 4);
      element.uc_offset = aligned(type->uc_length, 4);
      nuc_alignment = uc_alignment = 4;
    } else {
      element.type = RFCTYPE_CHAR;
      element.nuc_length = field.length;
      element.uc_length = 2 * field.length;
      element.nuc_offset = type->nuc_length;
      element.uc_offset = type->uc_length;
    }
    type->nuc_length = element.nuc_offset + element.nuc_length;
    type->uc_length = element.uc_offset + element.uc_length;
    type->fields.push_back(std::move(element));
  }
  type->nuc_length = aligned(type->nuc_length, nuc_alignment);
  type->uc_length = aligned(type->uc_length, uc_alignment);
  return type;
}

/*
 * The NetWeaver type code of a kind of the wire.
 */
RFCTYPE type_code(wire::ElementKind kind) {
  switch (kind) {
    case wire::ElementKind::kInt: return RFCTYPE_INT;
    case wire::ElementKind::kStructure: return RFCTYPE_STRUCTURE;
    case wire::ElementKind::kTable: return RFCTYPE_TABLE;
    case wire::ElementKind::kChar: break;
  }
  return RFCTYPE_CHAR;
}

}  // namespace

std::unique_ptr<FunctionDesc> describe(const wire::Interface& interface_of) {
  auto function = std::make_unique<FunctionDesc>();
  function->name = from_bytes(interface_of.function);
  for (const wire::Parameter& parameter : interface_of.parameters) {
    Element element{.name = from_bytes(parameter.name),
                    .type = type_code(parameter.kind),
                    .direction = static_cast<RFC_DIRECTION>(parameter.direction),
                    .length = parameter.length};
    if (element.type == RFCTYPE_STRUCTURE || element.type == RFCTYPE_TABLE) {
      // Parameters of one type share its description, as they share its name.
      const std::u16string type_name = from_bytes(parameter.type);
      for (const auto& type : function->types)
        if (type->name == type_name) element.type_desc = type.get();
      if (element.type_desc == nullptr) {
        function->types.push_back(type_of(parameter));
        element.type_desc = function->types.back().get();
      }
      element.nuc_length = element.type_desc->nuc_length;
      element.uc_length = element.type_desc->uc_length;
    } else if (element.type == RFCTYPE_INT) {
      element.nuc_length = element.uc_length = 4;
    } else {
      element.nuc_length = parameter.length;
      element.uc_length = 2 * parameter.length;
    }
    function->parameters.push_back(std::move(element));
  }
  return function;
}

const Element* find_element(const std::vector<Element>& elements, std::u16string_view name) {
  for (const Element& element : elements)
    if (same_name(element.name, name)) return &element;
  return nullptr;
}

}  // namespace tw::nwrfclib
