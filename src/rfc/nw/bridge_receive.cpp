// RfcReceive of the bridge: the call RfcCall took goes to the system through the NetWeaver
// library, and its answer fills the classic records and internal tables.
#include <cstring>

#include "api_guard.h"
#include "call_data.h"
#include "rfc/nw/bridge.h"
#include "rfc/nw/bridge_failure.h"
#include "text_util.h"

namespace tw::nw {

namespace {

/// What RfcReceive asks back, shaped by the installed structures; false with `table` set to
/// the first table whose rows have no installed structure to lay them out.
bool receive_plan(const RFC_PARAMETER* importing, const RFC_TABLE* tables, ReceivePlan& plan,
                  std::string& table) {
  const auto& structures = bridge().structures;
  for (const RFC_PARAMETER* p = importing; p != nullptr && p->name != nullptr; ++p) {
    if (p->addr == nullptr) continue;
    plan.importing.push_back(shape_of(structures, rfclib::name_of(p->name, p->nlen), p->type,
                                      p->leng));
  }
  for (const RFC_TABLE* t = tables; t != nullptr && t->name != nullptr; ++t) {
    Shape shape = shape_of(structures, rfclib::name_of(t->name, t->nlen), t->type, t->leng);
    if (!shape.structure) {
      table = shape.name;
      return false;
    }
    plan.tables.push_back(std::move(shape));
  }
  return true;
}

/// Empties the internal tables the answer brings rows for: a table comes back whole.
void empty_answered_tables(const wire::Reply& reply, RFC_TABLE* tables) {
  for (const wire::Table& answered : reply.tables) {
    for (RFC_TABLE* t = tables; t != nullptr && t->name != nullptr; ++t) {
      if (t->ithandle != nullptr &&
          rfclib::equal_ignoring_case(rfclib::name_of(t->name, t->nlen), answered.name)) {
        rfclib::free_lines(*static_cast<rfclib::Itab*>(t->ithandle));
      }
    }
  }
}

/// Ends a receive with a failed call: the exception name, the connection's end, the report
/// last (the error handler may close every connection or never return).
RFC_RC fail(BridgeConnection& connection, const CallFailure& failed, char** exception) {
  if (const auto name = rfclib::exception_name(failed.failure, failed.raised)) {
    connection.exception_text = *name;
    if (exception != nullptr) *exception = connection.exception_text.data();
  }
  if (failed.close) nw_close(*bridge().api, connection.connection);
  if (failed.close || failed.connection_gone) connection.connection = nullptr;
  return rfclib::report_error(failed.failure, RFC_HERE, bridge());
}

}  // namespace

RFC_RC SAP_API bridge_receive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables,
                              char** exception) {
  if (exception != nullptr) *exception = nullptr;
  BridgeState& state = bridge();
  return rfclib::guarded(state, "RfcReceive", RFC_FAILURE, [&]() -> RFC_RC {
    BridgeConnection* connection = find_connection(handle);
    if (const auto refusal = rfclib::refuse_receive(handle, caller_of(connection)))
      return rfclib::report_error(*refusal, RFC_HERE, state);
    connection->call_pending = false;
    const std::string& function = connection->call.call.function;
    ReceivePlan plan;
    std::string table;
    if (!receive_plan(importing, tables, plan, table))
      return rfclib::report_error(
          {.operation = "RfcReceive", .key = rfclib::kKeyProgram,
           .text = "the rows of table " + table + " of " + function +
                   " have no installed structure to lay them out"},
          RFC_HERE, state);
    wire::Reply reply;
    NwError error;
    if (nw_invoke(*state.api, connection->connection, connection->call, plan, reply, error) !=
        kNwOk) {
      return fail(*connection, call_failure(error, function, connection->partner), exception);
    }
    std::string problem;
    if (!rfclib::check_reply(reply, tables, problem))
      return rfclib::report_error({.operation = "RfcReceive", .key = rfclib::kKeyProtocol,
                                   .text = "answer to the call of " + function + ": " + problem},
                                  RFC_HERE, state);
    rfclib::fill_importing(reply, importing);
    empty_answered_tables(reply, tables);
    if (!rfclib::append_rows(reply, tables, state.environment.allocate))
      return rfclib::report_error({.operation = "RfcReceive", .rc = RFC_MEMORY_INSUFFICIENT,
                                   .key = rfclib::kKeyResource,
                                   .text = "memory insufficient for the rows of " + function,
                                   .call_handler = true},
                                  RFC_HERE, state);
    return RFC_OK;
  });
}

}  // namespace tw::nw
