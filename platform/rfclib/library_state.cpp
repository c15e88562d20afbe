#include "library_state.h"

#include "connection.h"

namespace tw::rfclib {

LibraryState::LibraryState() = default;
LibraryState::~LibraryState() = default;

LibraryState& state() {
  static LibraryState instance;
  return instance;
}

Connection* find_connection(RFC_HANDLE handle) {
  auto& connections = state().connections;
  const auto found = connections.find(handle);
  return found == connections.end() ? nullptr : found->second.get();
}

CallerState caller_of(const Connection* connection) {
  if (connection == nullptr) return {};
  return {.known = true, .open = connection->is_open(), .call_pending = connection->call_pending,
          .partner = connection->partner(), .function = connection->function};
}

RFC_RC report_error(const Failure& failure, Where where) noexcept {
  return report_error(failure, where, state());
}

}  // namespace tw::rfclib
