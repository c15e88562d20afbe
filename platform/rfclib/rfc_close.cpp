// RfcClose: ends one connection, or every open one.
#include "api_guard.h"
#include "connection.h"
#include "library_state.h"
#include "saprfc.h"

/*
 * Closes the connection of `handle` and forgets the handle; 0 closes every connection.
 * An unknown handle is passed over silently, so closing twice does no harm.
 */
extern "C" void SAP_API RfcClose(RFC_HANDLE handle) {
  using namespace tw::rfclib;
  guarded("RfcClose", 0, [&] {
    auto& connections = state().connections;
    if (handle == 0)
      connections.clear();
    else
      connections.erase(handle);
    return 0;
  });
}
