// How an operation reports its error: the last error, the trace file and the error handler.
#pragma once

#include <string>

#include "saprfc.h"
#include "trace.h"

namespace tw::rfclib {

/// Where in the library an error was found.
struct Where {
  const char* file;
  int line;
};
#define RFC_HERE (::tw::rfclib::Where{__FILE__, __LINE__})

/// Keys of RFC_ERROR_INFO.key and RFC_ERROR_INFO_EX.key.
inline constexpr const char* kKeyProgram = "RFC_ERROR_PROGRAM";
inline constexpr const char* kKeyHandle = "RFC_ERROR_INVALID_HANDLE";
inline constexpr const char* kKeyParameter = "RFC_ERROR_PARAMETER";
inline constexpr const char* kKeyCommunication = "RFC_ERROR_COMMUNICATION";
inline constexpr const char* kKeyProtocol = "RFC_ERROR_PROTOCOL";
inline constexpr const char* kKeyLogon = "RFC_ERROR_LOGON_FAILURE";
inline constexpr const char* kKeySystem = "RFC_ERROR_SYSTEM_FAILURE";
inline constexpr const char* kKeyException = "RFC_ERROR_APPLICATION_EXCEPTION";
inline constexpr const char* kKeyCall = "RFC_ERROR_CALL_FAILURE";
inline constexpr const char* kKeyResource = "RFC_ERROR_RESOURCE";

/// One error of one operation.
struct Failure {
  const char* operation = "";  ///< the C function, e.g. "RfcCall"
  RFC_RC rc = RFC_FAILURE;     ///< what the operation returns
  const char* key = kKeyProgram;
  std::string text{};     ///< the error text
  std::string detail{};   ///< the system's reason, when there is one
  std::string partner{};  ///< "HOST:PORT" when the text comes from the partner
  bool call_handler = false;  ///< unknown handle, memory, abort
};

/// The last error, as RfcLastError hands it out.
struct LastError {
  std::string key, status, message, intstat;
};

/// What reporting an error reads and changes: the registered environment, the last error
/// and the trace file's bookkeeping.
struct ErrorState {
  RFC_ENV environment{nullptr, nullptr};
  LastError last_error;
  TraceState trace;
};

/*
 * The group of RFC_ERROR_INFO_EX for a key.
 */
int group_of(const char* key);

/*
 * Records `failure` as the last error of `errors` and appends it to the trace file; then, when
 * the kind calls for it (memory insufficient always does), calls the registered error
 * handler with the operation's name. Returns failure.rc. Never throws.
 */
RFC_RC report_error(const Failure& failure, Where where, ErrorState& errors) noexcept;

/*
 * report_error for the library's own state.
 */
RFC_RC report_error(const Failure& failure, Where where) noexcept;

/*
 * Fills `info` with `last` and returns 0; returns 1 (fields empty) when `last` holds no
 * error. A NULL record gives 1.
 */
int copy_last_error(const LastError& last, RFC_ERROR_INFO* info);

/*
 * Fills the error record of RfcOpenEx, when there is one: the group of `key`, the key and
 * the message, each cut to its field.
 */
void fill_error_info(RFC_ERROR_INFO_EX* info, const std::string& key, const std::string& message);

}  // namespace tw::rfclib
