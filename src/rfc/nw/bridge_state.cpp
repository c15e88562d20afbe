#include "rfc/nw/bridge.h"

namespace tw::nw {

BridgeState& bridge() {
  static BridgeState state;
  return state;
}

void use_api(const NwApi* api) { bridge().api = api; }

BridgeConnection* find_connection(RFC_HANDLE handle) {
  auto& connections = bridge().connections;
  const auto found = connections.find(handle);
  return found == connections.end() ? nullptr : &found->second;
}

rfclib::CallerState caller_of(const BridgeConnection* connection) {
  if (connection == nullptr) return {};
  return {.known = true, .open = connection->connection != nullptr,
          .call_pending = connection->call_pending, .partner = connection->partner,
          .function = connection->call.call.function};
}

ClassicEntryPoints bridge_entry_points() {
  return {bridge_environment, bridge_open,       bridge_open_ex,   bridge_install_structure,
          bridge_call,        bridge_receive,    bridge_last_error, bridge_close,
          bridge_it_create,   bridge_it_fill,    bridge_it_get_line, bridge_it_delete};
}

}  // namespace tw::nw
