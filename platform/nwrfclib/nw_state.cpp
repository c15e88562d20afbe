#include "nw_state.h"

namespace tw::nwrfclib {

namespace {

/*
 * The object registered under a handle's number; NULL when there is none.
 */
template <typename Object>
Object find(const std::map<std::uintptr_t, Object>& registry, std::uintptr_t id) {
  const auto found = registry.find(id);
  return found == registry.end() ? nullptr : found->second;
}

}  // namespace

State& state() {
  static State instance;
  return instance;
}

std::uintptr_t new_id() { return ++state().last_id; }

DATA_CONTAINER_HANDLE handle_of(Container& container) {
  if (container.id == 0) {
    container.id = new_id();
    state().containers.emplace(container.id, &container);
  }
  return handle_from_id<DATA_CONTAINER_HANDLE>(container.id);
}

Session* find_session(RFC_CONNECTION_HANDLE handle) {
  const auto found = state().sessions.find(id_of(handle));
  return found == state().sessions.end() ? nullptr : found->second.get();
}

const FunctionDesc* find_function_desc(RFC_FUNCTION_DESC_HANDLE handle) {
  return find(state().function_descs, id_of(handle));
}

const TypeDesc* find_type_desc(RFC_TYPE_DESC_HANDLE handle) {
  return find(state().type_descs, id_of(handle));
}

Container* find_container(DATA_CONTAINER_HANDLE handle) {
  return find(state().containers, id_of(handle));
}

void end_session(RFC_CONNECTION_HANDLE handle) { state().sessions.erase(id_of(handle)); }

void forget_handles(const Container& container) {
  if (container.id != 0) state().containers.erase(container.id);
  for (const Value& value : container.values)
    if (value.child != nullptr) forget_handles(*value.child);
  for (const auto& row : container.rows) forget_handles(*row);
}

Error invalid_handle(const char* what) {
  return make_error(RFC_INVALID_HANDLE, EXTERNAL_RUNTIME_FAILURE,
                    std::string("invalid ") + what + " handle");
}

}  // namespace tw::nwrfclib
