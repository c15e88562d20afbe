// RfcGetFunctionDesc: the interface of a function, read from the system once and kept.
#include <variant>

#include "error.h"
#include "exchange.h"
#include "nw_state.h"
#include "sapnwrfc.h"
#include "text.h"

namespace tw::nwrfclib {

namespace {

/*
 * Registers the handles of a new interface and of its types, and keeps it for its system.
 */
const FunctionDesc& keep(const std::string& system, std::u16string name,
                         std::unique_ptr<FunctionDesc> function) {
  State& s = state();
  function->id = new_id();
  s.function_descs.emplace(function->id, function.get());
  for (const auto& type : function->types) {
    type->id = new_id();
    s.type_descs.emplace(type->id, type.get());
  }
  return *(s.repository[system][std::move(name)] = std::move(function));
}

/*
 * The error of a function the system does not have: the exception FU_NOT_FOUND with the
 * ABAP message FL 046 naming the function; the connection stays open.
 */
Error not_found(std::u16string_view name) {
  Error error = make_error(RFC_ABAP_EXCEPTION, ABAP_APPLICATION_FAILURE,
                           "ID:FL Type:E Number:046 " + to_utf8(name));
  error.key = u"FU_NOT_FOUND";
  error.abap_class = u"FL";
  error.abap_type = u"E";
  error.abap_number = u"046";
  error.abap_v1 = name;
  return error;
}

}  // namespace

}  // namespace tw::nwrfclib

/*
 * The interface of `funcName` in the connected system: from what the library keeps for that
 * system, else read through the connection (which the system does not log as a call) and
 * kept. NULL with RFC_INVALID_HANDLE for a connection that is no open one,
 * RFC_INVALID_PARAMETER without a name, RFC_ABAP_EXCEPTION "FU_NOT_FOUND" for a function the
 * system does not have, and the errors of a failed call (the connection then closed).
 */
extern "C" RFC_FUNCTION_DESC_HANDLE SAP_API RfcGetFunctionDesc(RFC_CONNECTION_HANDLE rfcHandle,
                                                               SAP_UC const* funcName,
                                                               RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  namespace wire = tw::wire;
  return guarded(errorInfo, RFC_FUNCTION_DESC_HANDLE{nullptr}, [&]() -> RFC_FUNCTION_DESC_HANDLE {
    Session* session = find_session(rfcHandle);
    if (session == nullptr) {
      report(errorInfo, invalid_handle("connection"));
      return nullptr;
    }
    const std::u16string name(text_of(funcName));
    if (name.empty()) {
      report(errorInfo, make_error(RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE,
                                   "no function name given"));
      return nullptr;
    }
    auto& kept = state().repository[session->system];
    if (const auto found = kept.find(name); found != kept.end()) {
      succeed(errorInfo);
      return handle_from_id<RFC_FUNCTION_DESC_HANDLE>(found->second->id);
    }
    const std::string function = to_utf8(name);
    wire::Message answer;
    tw::rfclib::Trouble trouble;
    if (!exchange(*session, wire::Describe{function}, "lookup of " + function, answer,
                  trouble)) {
      fail_request(rfcHandle, trouble, errorInfo);
      return nullptr;
    }
    if (const auto* found = std::get_if<wire::Interface>(&answer)) {
      const FunctionDesc& desc = keep(session->system, name, describe(*found));
      succeed(errorInfo);
      return handle_from_id<RFC_FUNCTION_DESC_HANDLE>(desc.id);
    }
    const auto* fault = std::get_if<wire::Fault>(&answer);
    if (fault != nullptr && fault->exception == "FU_NOT_FOUND" && fault->text.empty()) {
      report(errorInfo, not_found(name));
      return nullptr;
    }
    fail_request(rfcHandle,
                 tw::rfclib::answer_trouble(answer, "lookup of " + function,
                                            session->link->partner()),
                 errorInfo);
    return nullptr;
  });
}
