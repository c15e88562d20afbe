// RfcInstallStructure of the bridge: the structure is kept, to lay out the values of calls.
#include "api_guard.h"
#include "rfc/nw/bridge.h"

namespace tw::nw {

RFC_RC SAP_API bridge_install_structure(char* name, RFC_TYPE_ELEMENT* elements,
                                        unsigned entries, RFC_TYPEHANDLE* type_handle) {
  return rfclib::guarded(bridge(), "RfcInstallStructure", RFC_FAILURE, [&]() -> RFC_RC {
    if (!rfclib::install_structure(bridge().structures, name, elements, entries, type_handle))
      return rfclib::report_error(rfclib::structure_refused("RfcInstallStructure"), RFC_HERE,
                                  bridge());
    return RFC_OK;
  });
}

}  // namespace tw::nw
