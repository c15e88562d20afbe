// RfcInstallStructure: records a structure and hands out its type handle.
#include "api_guard.h"
#include "library_state.h"
#include "saprfc.h"

namespace tw::rfclib {
/// The type handle of the first installed structure; far from every type code.
inline constexpr RFC_TYPEHANDLE kFirstStructureHandle = 1000;
}  // namespace tw::rfclib

/*
 * Records the name and the first `entries` elements. Installing a name again changes
 * nothing and hands out the handle installed before. RFC_INVALID_PARAMETER without a name,
 * or without elements when `entries` is not 0.
 */
extern "C" RFC_RC SAP_API RfcInstallStructure(char* name, RFC_TYPE_ELEMENT* elements, unsigned entries,
                                      RFC_TYPEHANDLE* type_handle) {
  using namespace tw::rfclib;
  return guarded("RfcInstallStructure", RFC_FAILURE, [&]() -> RFC_RC {
    if (name == nullptr || type_handle == nullptr || (elements == nullptr && entries != 0))
      return report_error({.operation = "RfcInstallStructure", .rc = RFC_INVALID_PARAMETER,
                           .key = kKeyParameter, .text = "structure without name or elements"},
                          RFC_HERE);
    InstalledStructure structure;
    structure.name = name;
    for (unsigned i = 0; i < entries; ++i)
      structure.elements.push_back({elements[i].name != nullptr ? elements[i].name : "",
                                    elements[i].type, elements[i].length, elements[i].decimals});
    auto& structures = state().structures;
    std::size_t index = 0;
    while (index < structures.size() && structures[index].name != structure.name) ++index;
    if (index == structures.size()) structures.push_back(std::move(structure));
    *type_handle = kFirstStructureHandle + static_cast<RFC_TYPEHANDLE>(index);
    return RFC_OK;
  });
}
