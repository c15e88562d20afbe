#include "installed_structure.h"

namespace tw::rfclib {

bool install_structure(std::vector<InstalledStructure>& structures, const char* name,
                       const RFC_TYPE_ELEMENT* elements, unsigned entries,
                       RFC_TYPEHANDLE* type_handle) {
  if (name == nullptr || type_handle == nullptr || (elements == nullptr && entries != 0))
    return false;
  InstalledStructure structure;
  structure.name = name;
  for (unsigned i = 0; i < entries; ++i)
    structure.elements.push_back({elements[i].name != nullptr ? elements[i].name : "",
                                  elements[i].type, elements[i].length, elements[i].decimals});
  std::size_t index = 0;
  while (index < structures.size() && structures[index].name != structure.name) ++index;
  if (index == structures.size()) structures.push_back(std::move(structure));
  *type_handle = kFirstStructureHandle + static_cast<RFC_TYPEHANDLE>(index);
  return true;
}

Failure structure_refused(const char* operation) {
  return {.operation = operation, .rc = RFC_INVALID_PARAMETER, .key = kKeyParameter,
          .text = "structure without name or elements"};
}

const InstalledStructure* find_structure(const std::vector<InstalledStructure>& structures,
                                         RFC_TYPEHANDLE type_handle) {
  if (type_handle < kFirstStructureHandle) return nullptr;
  const std::size_t index = type_handle - kFirstStructureHandle;
  return index < structures.size() ? &structures[index] : nullptr;
}

}  // namespace tw::rfclib
