// RfcCall: sends the call of a function with its exporting parameters and tables.
#include "api_guard.h"
#include "call_checks.h"
#include "call_data.h"
#include "connection.h"
#include "library_state.h"
#include "partner_failures.h"
#include "saprfc.h"
#include "timeouts.h"

/*
 * Sends the call and returns RFC_OK once it is sent; the call timeout starts now.
 * RFC_INVALID_HANDLE for an unknown handle (the error handler is called),
 * RFC_INVALID_PARAMETER for a missing function name or a parameter without a value,
 * RFC_CLOSED on a closed connection, RFC_FAILURE while an earlier call waits for its answer
 * or when sending timed out, RFC_SYS_EXCEPTION when the connection was lost.
 */
extern "C" RFC_RC SAP_API RfcCall(RFC_HANDLE handle, char* function, RFC_PARAMETER* exporting,
                          RFC_TABLE* tables) {
  using namespace tw::rfclib;
  namespace wire = tw::wire;
  return guarded("RfcCall", RFC_FAILURE, [&]() -> RFC_RC {
    Connection* connection = find_connection(handle);
    if (const auto refusal = refuse_call(handle, caller_of(connection), function))
      return report_error(*refusal, RFC_HERE);
    const std::string name = name_of(function, 0);
    wire::Call call;
    std::string frame;
    std::string error;
    if (!build_call(function, exporting, tables, call, error) ||
        !wire::encode(call, frame, error))
      return report_error({.operation = "RfcCall", .rc = RFC_INVALID_PARAMETER,
                           .key = kKeyParameter,
                           .text = "call of " + name + " cannot be sent: " + error},
                          RFC_HERE);
    connection->exception_text.clear();
    connection->function = name;
    connection->deadline =
        net::Clock::now() + std::chrono::duration_cast<net::Clock::duration>(call_timeout());
    const Transfer transfer = connection->send(frame, connection->deadline);
    if (transfer.kind != Transfer::Kind::kOk) {
      const Failure failure = transfer_failure("RfcCall", transfer, "call of " + name,
                                               connection->partner());
      connection->close();
      return report_error(failure, RFC_HERE);
    }
    connection->call_pending = true;
    return RFC_OK;
  });
}
