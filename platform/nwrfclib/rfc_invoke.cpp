// RfcInvoke: calls the function of a container and fills in what it returns.
#include <variant>

#include "error.h"
#include "exchange.h"
#include "invoke_data.h"
#include "nw_state.h"
#include "sapnwrfc.h"
#include "text.h"

/*
 * Sends the call with the container's importing values and tables and waits for the answer
 * within the call timeout. RFC_OK: exporting values and tables filled in (rows appended,
 * the cursor on the first). Else the error of call_error (partner_errors.h) with the classic
 * library's text, the connection closed (its handle then invalid) where that says so;
 * RFC_INVALID_HANDLE for a connection or function container that is no live one.
 */
extern "C" RFC_RC SAP_API RfcInvoke(RFC_CONNECTION_HANDLE rfcHandle,
                                    RFC_FUNCTION_HANDLE funcHandle, RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  namespace wire = tw::wire;
  return guarded(errorInfo, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    Session* session = find_session(rfcHandle);
    if (session == nullptr) return report(errorInfo, invalid_handle("connection"));
    const auto found = state().functions.find(id_of(funcHandle));
    if (found == state().functions.end()) return report(errorInfo, invalid_handle("function"));
    Container& function = *found->second;
    const std::string what = "call of " + to_utf8(function.function_desc()->name);
    wire::Message answer;
    tw::rfclib::Trouble trouble;
    if (!exchange(*session, call_of(function), what, answer, trouble))
      return fail_request(rfcHandle, trouble, errorInfo);
    const std::string partner = session->link->partner();
    if (const auto* reply = std::get_if<wire::Reply>(&answer)) {
      std::string problem;
      if (take_reply(function, *reply, problem)) return succeed(errorInfo);
      trouble = tw::rfclib::transfer_trouble(
          tw::rfclib::Transfer{tw::rfclib::Transfer::Kind::kMalformed, problem}, what, partner);
    } else {
      trouble = tw::rfclib::answer_trouble(answer, what, partner);
    }
    return fail_request(rfcHandle, trouble, errorInfo);
  });
}
