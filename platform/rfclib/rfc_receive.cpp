// RfcReceive: waits for the answer to the last call and hands out what it holds.
#include <optional>
#include <variant>

#include "api_guard.h"
#include "call_checks.h"
#include "call_data.h"
#include "connection.h"
#include "library_state.h"
#include "partner_failures.h"
#include "saprfc.h"

namespace tw::rfclib {

namespace {

constexpr const char* kOperation = "RfcReceive";

/*
 * Ends a receive with a failure: sets `*exception` for the results that have an exception
 * name, closes the connection unless `keep_open`, and reports last, since the error
 * handler may close every connection or never return.
 */
RFC_RC fail(Connection& connection, const Failure& failure, const std::string& raised,
            bool keep_open, char** exception, Where where) {
  if (const auto name = exception_name(failure, raised)) {
    connection.exception_text = *name;
    if (exception != nullptr) *exception = connection.exception_text.data();
  }
  if (!keep_open) connection.close();
  return report_error(failure, where);
}

/*
 * Takes a successful reply: checks every row first, so that a bad reply changes nothing,
 * then fills the importing parameters and appends the rows.
 */
RFC_RC take_reply(Connection& connection, const wire::Reply& reply, RFC_PARAMETER* importing,
                  RFC_TABLE* tables, char** exception) {
  std::string error;
  if (!check_reply(reply, tables, error)) {
    const Failure failure =
        transfer_failure(kOperation, Transfer{Transfer::Kind::kMalformed, error},
                         "call of " + connection.function, connection.partner());
    return fail(connection, failure, "", false, exception, RFC_HERE);
  }
  fill_importing(reply, importing);
  if (!append_rows(reply, tables, state().environment.allocate)) {
    const Failure failure{.operation = kOperation, .rc = RFC_MEMORY_INSUFFICIENT,
                          .key = kKeyResource,
                          .text = "memory insufficient for the rows of " + connection.function,
                          .call_handler = true};
    return fail(connection, failure, "", true, exception, RFC_HERE);
  }
  return RFC_OK;
}

/*
 * Takes any other answer: the failure it means. The connection stays open only when the
 * function failed or raised an exception in the ordinary way.
 */
RFC_RC take_failure(Connection& connection, const wire::Message& answer, char** exception) {
  const Trouble trouble =
      answer_trouble(answer, "call of " + connection.function, connection.partner());
  const bool keep_open =
      trouble.kind == Trouble::Kind::kFault && trouble.code != RFC_SYS_EXCEPTION;
  return fail(connection, failure_of(kOperation, trouble, RFC_SYS_EXCEPTION), trouble.exception,
              keep_open, exception, RFC_HERE);
}

}  // namespace

}  // namespace tw::rfclib

/*
 * Waits for the answer to the last RfcCall until the call timeout. RFC_OK: importing
 * parameters filled, rows appended. Else the partner's return code (1, 2, 3 or another),
 * RFC_FAILURE for a timeout, a malformed frame or an abort (the error handler is called),
 * RFC_SYS_EXCEPTION for a lost connection or a logon rejected at this first call.
 * `*exception` points to the exception name for RFC_EXCEPTION, to "COMMUNICATION_FAILURE"
 * (connection lost) or "SYSTEM_FAILURE" for RFC_SYS_EXCEPTION, and is NULL otherwise; the
 * error text is the last error's and the trace file's.
 */
extern "C" RFC_RC SAP_API RfcReceive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables,
                             char** exception) {
  using namespace tw::rfclib;
  namespace wire = tw::wire;
  if (exception != nullptr) *exception = nullptr;
  return guarded(kOperation, RFC_FAILURE, [&]() -> RFC_RC {
    Connection* connection = find_connection(handle);
    if (const auto refusal = refuse_receive(handle, caller_of(connection)))
      return report_error(*refusal, RFC_HERE);
    connection->call_pending = false;
    wire::Message answer;
    const Transfer transfer = connection->receive(answer, connection->deadline);
    if (transfer.kind != Transfer::Kind::kOk) {
      const Failure failure = transfer_failure(kOperation, transfer,
                                               "call of " + connection->function,
                                               connection->partner());
      return fail(*connection, failure, "", false, exception, RFC_HERE);
    }
    if (const auto* reply = std::get_if<wire::Reply>(&answer))
      return take_reply(*connection, *reply, importing, tables, exception);
    return take_failure(*connection, answer, exception);
  });
}
