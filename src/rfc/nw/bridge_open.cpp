// RfcOpen and RfcOpenEx of the bridge: the classic library's requests, opened on the
// NetWeaver library with explicit logon parameters (sapnwrfc.ini plays no part).
#include "rfc/nw/bridge.h"

namespace tw::nw {

RFC_HANDLE SAP_API bridge_open(RFC_OPTIONS* options) {
  return rfclib::open_from_options(bridge(), options, open_on_library);
}

RFC_HANDLE SAP_API bridge_open_ex(char* connect_param, RFC_ERROR_INFO_EX* error_info) {
  // The destination may also name a message server (TYPE=B).
  return rfclib::open_from_connect_text(bridge(), connect_param, error_info, true,
                                        open_on_library);
}

}  // namespace tw::nw
