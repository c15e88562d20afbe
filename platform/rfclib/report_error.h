// How an operation reports its error: the last error, the trace file and the error handler.
#pragma once

#include <string>

#include "saprfc.h"

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

/*
 * The group of RFC_ERROR_INFO_EX for a key.
 */
int group_of(const char* key);

/*
 * Records `failure` as the last error and appends it to the trace file; then, when the kind
 * calls for it (memory insufficient always does), calls the registered error handler with
 * the operation's name. Returns failure.rc. Never throws.
 */
RFC_RC report_error(const Failure& failure, Where where) noexcept;

}  // namespace tw::rfclib
