// RfcClose of the bridge: one connection, or every one.
#include "api_guard.h"
#include "rfc/nw/bridge.h"

namespace tw::nw {

void SAP_API bridge_close(RFC_HANDLE handle) {
  BridgeState& state = bridge();
  rfclib::guarded(state, "RfcClose", 0, [&] {
    for (auto at = state.connections.begin(); at != state.connections.end();) {
      if (handle != 0 && at->first != handle) {
        ++at;
        continue;
      }
      nw_close(*state.api, at->second.connection);
      at = state.connections.erase(at);
    }
    return 0;
  });
}

}  // namespace tw::nw
