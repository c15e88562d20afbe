#include "rfc/nw/nw_api.h"

#include "os/windows_1252.h"
#include "rfc/library_entry.h"

namespace tw::nw {

// The codes and groups the bridge tells apart are those of the library.
static_assert(+kNwOk == +RFC_OK && +kNwCommunicationFailure == +RFC_COMMUNICATION_FAILURE &&
              +kNwLogonFailure == +RFC_LOGON_FAILURE &&
              +kNwAbapRuntimeFailure == +RFC_ABAP_RUNTIME_FAILURE &&
              +kNwAbapMessage == +RFC_ABAP_MESSAGE && +kNwAbapException == +RFC_ABAP_EXCEPTION &&
              +kNwClosed == +RFC_CLOSED && +kNwCanceled == +RFC_CANCELED &&
              +kNwTimeout == +RFC_TIMEOUT && +kNwMemoryInsufficient == +RFC_MEMORY_INSUFFICIENT &&
              +kNwVersionMismatch == +RFC_VERSION_MISMATCH &&
              +kNwInvalidProtocol == +RFC_INVALID_PROTOCOL &&
              +kNwSerializationFailure == +RFC_SERIALIZATION_FAILURE &&
              +kNwInvalidHandle == +RFC_INVALID_HANDLE &&
              +kNwExternalFailure == +RFC_EXTERNAL_FAILURE &&
              +kNwInvalidParameter == +RFC_INVALID_PARAMETER &&
              +kNwAbapClassException == +RFC_ABAP_CLASS_EXCEPTION &&
              +kNwUnknownError == +RFC_UNKNOWN_ERROR);
static_assert(+kNwGroupApplication == +ABAP_APPLICATION_FAILURE &&
              +kNwGroupRuntime == +ABAP_RUNTIME_FAILURE && +kNwGroupLogon == +LOGON_FAILURE &&
              +kNwGroupCommunication == +COMMUNICATION_FAILURE &&
              +kNwGroupExternalRuntime == +EXTERNAL_RUNTIME_FAILURE);
#if defined(_WIN32) && !defined(_WIN64)
// The decorations "_Name@N" of the 32-bit library, as its callers' import library names them.
static_assert(StackBytes<decltype(&RfcOpenConnection)>::value == 12);
static_assert(StackBytes<decltype(&RfcCloseConnection)>::value == 8);
static_assert(StackBytes<decltype(&RfcInvoke)>::value == 12);
static_assert(StackBytes<decltype(&RfcGetChars)>::value == 20);
static_assert(StackBytes<decltype(&RfcGetString)>::value == 24);
static_assert(StackBytes<decltype(&RfcGetInt)>::value == 16);
static_assert(StackBytes<decltype(&RfcMoveTo)>::value == 12);
#endif

NwError error_of(const RFC_ERROR_INFO& error) {
  return {static_cast<int>(error.code), static_cast<int>(error.group),
          windows_1252_of_utf16(text_of(error.key, sizeof error.key / sizeof error.key[0])),
          windows_1252_of_utf16(
              text_of(error.message, sizeof error.message / sizeof error.message[0]))};
}

bool succeeded(RFC_RC rc, const RFC_ERROR_INFO& info, NwError& error) {
  if (rc == RFC_OK) return true;
  error = error_of(info);
  error.code = rc;
  return false;
}

bool no_handle(const RFC_ERROR_INFO& info, NwError& error) {
  error = error_of(info);
  if (error.code == kNwOk) error.code = kNwUnknownError;
  return false;
}

std::u16string text_of(const SAP_UC* text, std::size_t size) {
  std::size_t length = 0;
  while (length < size && text[length] != 0) ++length;
  return std::u16string(text, length);
}

const NwApi* bind_library(void* library, std::string& missing) {
  static NwApi bound{};
  NwApi api{};
  missing.clear();
  const auto need = [&](auto& slot, const char* name) {
    if (missing.empty() && !bind_entry(library, slot, name)) missing = name;
  };
  need(api.open_connection, "RfcOpenConnection");
  need(api.close_connection, "RfcCloseConnection");
  need(api.invoke, "RfcInvoke");
  need(api.get_function_desc, "RfcGetFunctionDesc");
  need(api.get_parameter_desc_by_name, "RfcGetParameterDescByName");
  need(api.get_field_desc_by_name, "RfcGetFieldDescByName");
  need(api.create_function, "RfcCreateFunction");
  need(api.destroy_function, "RfcDestroyFunction");
  need(api.describe_type, "RfcDescribeType");
  need(api.get_structure, "RfcGetStructure");
  need(api.get_table, "RfcGetTable");
  need(api.get_row_type, "RfcGetRowType");
  need(api.get_row_count, "RfcGetRowCount");
  need(api.move_to, "RfcMoveTo");
  need(api.append_new_row, "RfcAppendNewRow");
  need(api.get_chars, "RfcGetChars");
  need(api.get_string, "RfcGetString");
  need(api.get_int, "RfcGetInt");
  need(api.set_chars, "RfcSetChars");
  need(api.set_int, "RfcSetInt");
  if (!missing.empty()) return nullptr;
  bound = api;
  return &bound;
}

}  // namespace tw::nw
