// The structures a caller installs with RfcInstallStructure: a name and its elements, which
// lie one after the other in the caller's records.
#pragma once

#include <string>
#include <vector>

#include "report_error.h"
#include "saprfc.h"

namespace tw::rfclib {

/// The type handle of the first installed structure; far from every type code.
inline constexpr RFC_TYPEHANDLE kFirstStructureHandle = 1000;

/// A structure recorded by RfcInstallStructure.
struct InstalledStructure {
  std::string name;
  struct Element {
    std::string name;
    unsigned type, length, decimals;
  };
  std::vector<Element> elements;
};

/*
 * Records the name and the first `entries` elements in `structures` and sets
 * `*type_handle`. Installing a name again changes nothing and hands out the handle
 * installed before. False, with nothing recorded, without a name or a handle to set, or
 * without elements when `entries` is not 0.
 */
bool install_structure(std::vector<InstalledStructure>& structures, const char* name,
                       const RFC_TYPE_ELEMENT* elements, unsigned entries,
                       RFC_TYPEHANDLE* type_handle);

/*
 * The failure of an install that install_structure refused.
 */
Failure structure_refused(const char* operation);

/*
 * The structure a type handle stands for; NULL for a type code or an unknown handle.
 */
const InstalledStructure* find_structure(const std::vector<InstalledStructure>& structures,
                                         RFC_TYPEHANDLE type_handle);

}  // namespace tw::rfclib
