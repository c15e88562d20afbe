// The NetWeaver stand-in's process-wide state: the open connections, the interfaces kept per
// system, and every handle handed out. Handles are numbers that are never reused, so a
// handle that was closed or destroyed is told apart from a live one and never followed.
// Like its classic sibling, the library serves one thread at a time.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "connection.h"
#include "container.h"
#include "metadata.h"
#include "sapnwrfc.h"

namespace tw::nwrfclib {

/// One open client connection.
struct Session {
  std::unique_ptr<rfclib::Connection> link;
  std::string system;  ///< the partner's name of the system: the repository of its interfaces
};

struct State {
  std::map<std::uintptr_t, std::unique_ptr<Session>> sessions;
  /// The interfaces read so far, per system and function name.
  std::map<std::string, std::map<std::u16string, std::unique_ptr<FunctionDesc>>> repository;
  std::map<std::uintptr_t, const FunctionDesc*> function_descs;
  std::map<std::uintptr_t, const TypeDesc*> type_descs;
  std::map<std::uintptr_t, Container*> containers;
  /// Function containers handed out; their structures, tables and rows belong to them.
  std::map<std::uintptr_t, std::unique_ptr<Container>> functions;
  std::uintptr_t last_id = 0;
  unsigned network_errors = 0;  ///< the COUNTER of the network error blocks
};

/*
 * The one state of the process.
 */
State& state();

/*
 * A handle number not handed out before.
 */
std::uintptr_t new_id();

/*
 * The handle of a container, handed out (and registered) on first use.
 */
DATA_CONTAINER_HANDLE handle_of(Container& container);

/*
 * The live object of a handle; NULL for NULL, for a handle of another kind and for one that
 * was closed or destroyed.
 */
Session* find_session(RFC_CONNECTION_HANDLE handle);
const FunctionDesc* find_function_desc(RFC_FUNCTION_DESC_HANDLE handle);
const TypeDesc* find_type_desc(RFC_TYPE_DESC_HANDLE handle);
Container* find_container(DATA_CONTAINER_HANDLE handle);

/*
 * Closes a session's connection and forgets its handle.
 */
void end_session(RFC_CONNECTION_HANDLE handle);

/*
 * Forgets the handles of a container and of everything it holds.
 */
void forget_handles(const Container& container);

/*
 * The handles of the library's objects.
 */
template <typename Handle>
Handle handle_from_id(std::uintptr_t id) {
  return reinterpret_cast<Handle>(id);
}
template <typename Handle>
std::uintptr_t id_of(Handle handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}

/*
 * The error of a handle that is no live one of its kind.
 */
Error invalid_handle(const char* what);

}  // namespace tw::nwrfclib
