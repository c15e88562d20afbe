#include "open_connection.h"

#include "library_state.h"
#include "partner_failures.h"

namespace tw::rfclib {

namespace {

/*
 * The next handle that is neither 0 nor in use.
 */
RFC_HANDLE new_handle() {
  LibraryState& s = state();
  while (s.next_handle == 0 || s.connections.count(s.next_handle) != 0) ++s.next_handle;
  return s.next_handle++;
}

}  // namespace

RFC_HANDLE open_connection(const OpenRequest& request, Failure& failure) {
  std::string system;
  Trouble trouble;
  std::unique_ptr<Connection> connection = log_on(request, system, trouble);
  if (connection == nullptr) {
    failure = failure_of(request.operation, trouble, RFC_FAILURE);
    report_error(failure, RFC_HERE);
    return 0;
  }
  const RFC_HANDLE handle = new_handle();
  state().connections.emplace(handle, std::move(connection));
  return handle;
}

}  // namespace tw::rfclib
