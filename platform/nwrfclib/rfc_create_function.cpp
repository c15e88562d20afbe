// RfcCreateFunction, RfcDestroyFunction, RfcDescribeFunction and RfcDescribeType: function
// containers and what they were made from.
#include "error.h"
#include "nw_state.h"
#include "sapnwrfc.h"

namespace tw::nwrfclib {

namespace {

/*
 * The handle of the description `describe` names for a container (a member function that
 * gives it, or NULL); NULL with RFC_INVALID_HANDLE (a `what` handle expected) when there is
 * none.
 */
template <typename Handle, typename Description>
Handle description_of(DATA_CONTAINER_HANDLE handle, const char* what, RFC_ERROR_INFO* info,
                      const Description* (Container::*describe)() const) {
  return guarded(info, Handle{nullptr}, [&]() -> Handle {
    const Container* container = find_container(handle);
    const Description* description = container == nullptr ? nullptr : (container->*describe)();
    if (description == nullptr) {
      report(info, invalid_handle(what));
      return nullptr;
    }
    succeed(info);
    return handle_from_id<Handle>(description->id);
  });
}

}  // namespace

}  // namespace tw::nwrfclib

/*
 * A container for one call of the function, every value initial; NULL with
 * RFC_INVALID_HANDLE for a description that is no live one.
 */
extern "C" RFC_FUNCTION_HANDLE SAP_API RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE funcDescHandle,
                                                         RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return guarded(errorInfo, RFC_FUNCTION_HANDLE{nullptr}, [&]() -> RFC_FUNCTION_HANDLE {
    const FunctionDesc* function = find_function_desc(funcDescHandle);
    if (function == nullptr) {
      report(errorInfo, invalid_handle("function description"));
      return nullptr;
    }
    std::unique_ptr<Container> container = Container::function(*function);
    const RFC_FUNCTION_HANDLE handle = handle_of(*container);
    state().functions.emplace(container->id, std::move(container));
    succeed(errorInfo);
    return handle;
  });
}

/*
 * Frees a function container with every structure, table and row handle taken from it;
 * RFC_INVALID_HANDLE for a handle that is no live function container.
 */
extern "C" RFC_RC SAP_API RfcDestroyFunction(RFC_FUNCTION_HANDLE funcHandle,
                                             RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return guarded(errorInfo, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    const auto found = state().functions.find(id_of(funcHandle));
    if (found == state().functions.end())
      return report(errorInfo, invalid_handle("function"));
    forget_handles(*found->second);
    state().functions.erase(found);
    return succeed(errorInfo);
  });
}

/*
 * The description a function container was made from; NULL with RFC_INVALID_HANDLE for a
 * handle that is no live function container.
 */
extern "C" RFC_FUNCTION_DESC_HANDLE SAP_API RfcDescribeFunction(RFC_FUNCTION_HANDLE funcHandle,
                                                                RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return description_of<RFC_FUNCTION_DESC_HANDLE>(funcHandle, "function", errorInfo,
                                                  &Container::function_desc);
}

/*
 * The type of a structure container, the row type of a table; NULL with RFC_INVALID_HANDLE
 * for a handle that is neither.
 */
extern "C" RFC_TYPE_DESC_HANDLE SAP_API RfcDescribeType(DATA_CONTAINER_HANDLE dataHandle,
                                                        RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return description_of<RFC_TYPE_DESC_HANDLE>(dataHandle, "structure or table", errorInfo,
                                              &Container::type_desc);
}
