// The interfaces of functions as the NetWeaver stand-in keeps them: functions, their
// parameters, the types of structures and table rows with their fields and layouts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sapnwrfc.h"
#include "wire.h"

namespace tw::nwrfclib {

struct TypeDesc;

/// A parameter of a function or a field of a type. Lengths and offsets in bytes: "nuc"
/// with one byte per character, "uc" with two.
struct Element {
  std::u16string name{};
  RFCTYPE type = RFCTYPE_CHAR;
  RFC_DIRECTION direction = RFC_EXPORT;  ///< of a parameter
  unsigned length = 0;  ///< characters of a character element; 4 for an integer; 0 else
  unsigned nuc_length = 0, uc_length = 0, nuc_offset = 0, uc_offset = 0;
  const TypeDesc* type_desc = nullptr;  ///< of a structure or table
};

/// A structure or table row type.
struct TypeDesc {
  std::uintptr_t id = 0;  ///< its handle
  std::u16string name{};
  std::vector<Element> fields{};
  unsigned nuc_length = 0, uc_length = 0;
};

/// A function's interface, owning the types it uses.
struct FunctionDesc {
  std::uintptr_t id = 0;  ///< its handle
  std::u16string name{};
  std::vector<Element> parameters{};
  std::vector<std::unique_ptr<TypeDesc>> types{};
};

/*
 * The description of an interface from the partner: fields laid out one after the other,
 * an integer at an offset divisible by 4 in both layouts, a type's length rounded up to its
 * strictest field (characters 2 bytes in the "uc" layout). Parameters of the same type name
 * share one description, the first one's. Ids are left 0.
 */
std::unique_ptr<FunctionDesc> describe(const wire::Interface& interface_of);

/*
 * The element of that name (letter case of a to z ignored); NULL when there is none.
 */
const Element* find_element(const std::vector<Element>& elements, std::u16string_view name);

}  // namespace tw::nwrfclib
