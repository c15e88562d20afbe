// RfcCall of the bridge: the call is checked as the classic library checks it and taken as
// it stands now; it goes to the system when RfcReceive asks for its answer.
#include "api_guard.h"
#include "call_checks.h"
#include "call_data.h"
#include "rfc/nw/bridge.h"

namespace tw::nw {

RFC_RC SAP_API bridge_call(RFC_HANDLE handle, char* function, RFC_PARAMETER* exporting,
                           RFC_TABLE* tables) {
  BridgeState& state = bridge();
  return rfclib::guarded(state, "RfcCall", RFC_FAILURE, [&]() -> RFC_RC {
    BridgeConnection* connection = find_connection(handle);
    if (const auto refusal = rfclib::refuse_call(handle, caller_of(connection), function))
      return rfclib::report_error(*refusal, RFC_HERE, state);
    CallPlan plan;
    std::string error;
    if (!rfclib::build_call(function, exporting, tables, plan.call, error))
      return rfclib::report_error({.operation = "RfcCall", .rc = RFC_INVALID_PARAMETER,
                                   .key = rfclib::kKeyParameter,
                                   .text = "call of " + plan.call.function +
                                           " cannot be sent: " + error},
                                  RFC_HERE, state);
    std::size_t index = 0;
    for (const RFC_PARAMETER* p = exporting; p != nullptr && p->name != nullptr; ++p) {
      plan.exporting.push_back(
          shape_of(state.structures, plan.call.parameters[index++].name, p->type, p->leng));
    }
    index = 0;
    for (const RFC_TABLE* t = tables; t != nullptr && t->name != nullptr; ++t) {
      const wire::Table& rows = plan.call.tables[index++];
      plan.tables.push_back(shape_of(state.structures, rows.name, t->type, rows.line_length));
    }
    connection->call = std::move(plan);
    connection->exception_text.clear();
    connection->call_pending = true;
    return RFC_OK;
  });
}

}  // namespace tw::nw
