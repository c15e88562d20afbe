// RfcInstallStructure: records a structure and hands out its type handle.
#include "api_guard.h"
#include "installed_structure.h"
#include "library_state.h"
#include "saprfc.h"

/*
 * Records the name and the first `entries` elements. Installing a name again changes
 * nothing and hands out the handle installed before. RFC_INVALID_PARAMETER without a name,
 * or without elements when `entries` is not 0.
 */
extern "C" RFC_RC SAP_API RfcInstallStructure(char* name, RFC_TYPE_ELEMENT* elements, unsigned entries,
                                      RFC_TYPEHANDLE* type_handle) {
  using namespace tw::rfclib;
  return guarded("RfcInstallStructure", RFC_FAILURE, [&]() -> RFC_RC {
    if (!install_structure(state().structures, name, elements, entries, type_handle))
      return report_error(structure_refused("RfcInstallStructure"), RFC_HERE);
    return RFC_OK;
  });
}
