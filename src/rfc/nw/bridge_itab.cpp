// The internal tables of the bridge: the classic library's, kept in the sensor's process.
#include "api_guard.h"
#include "itab.h"
#include "rfc/nw/bridge.h"

namespace tw::nw {

using rfclib::Itab;

ITAB_H SAP_API bridge_it_create(char* name, unsigned line_length, unsigned /*occurs*/,
                                unsigned /*memory*/) {
  return rfclib::guarded(bridge(), "ItCreate", ITAB_H{nullptr}, [&]() -> ITAB_H {
    return rfclib::new_itab(name, line_length, bridge().environment.allocate);
  });
}

unsigned SAP_API bridge_it_fill(ITAB_H table) {
  return table == nullptr ? 0u : static_cast<const Itab*>(table)->lines;
}

void* SAP_API bridge_it_get_line(ITAB_H table, unsigned line) {
  return rfclib::itab_line(static_cast<const Itab*>(table), line);
}

int SAP_API bridge_it_delete(ITAB_H table) {
  return rfclib::guarded(bridge(), "ItDelete", 1,
                         [&] { return rfclib::delete_itab(static_cast<Itab*>(table)); });
}

}  // namespace tw::nw
