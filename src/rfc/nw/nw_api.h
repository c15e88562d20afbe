// The entry points of the NetWeaver library the bridge uses, as typed pointers. Only the
// bridge's NetWeaver side includes this header: sapnwrfc.h and saprfc.h name different
// things alike and never meet in one file.
#pragma once

#include "rfc/nw/nw_session.h"
#include "sapnwrfc.h"
#include "sapnwrfc_layout.h"

namespace tw::nw {

/// One pointer per operation, bound by bind_library or filled by a test's own library.
struct NwApi {
  decltype(&RfcOpenConnection) open_connection;
  decltype(&RfcCloseConnection) close_connection;
  decltype(&RfcInvoke) invoke;
  decltype(&RfcGetFunctionDesc) get_function_desc;
  decltype(&RfcGetParameterDescByName) get_parameter_desc_by_name;
  decltype(&RfcGetFieldDescByName) get_field_desc_by_name;
  decltype(&RfcCreateFunction) create_function;
  decltype(&RfcDestroyFunction) destroy_function;
  decltype(&RfcDescribeType) describe_type;
  decltype(&RfcGetStructure) get_structure;
  decltype(&RfcGetTable) get_table;
  decltype(&RfcGetRowType) get_row_type;
  decltype(&RfcGetRowCount) get_row_count;
  decltype(&RfcMoveTo) move_to;
  decltype(&RfcAppendNewRow) append_new_row;
  decltype(&RfcGetChars) get_chars;
  decltype(&RfcGetString) get_string;
  decltype(&RfcGetInt) get_int;
  decltype(&RfcSetChars) set_chars;
  decltype(&RfcSetInt) set_int;
};

/*
 * `error` as the bridge keeps it: code, group, key and message in Windows-1252.
 */
NwError error_of(const RFC_ERROR_INFO& error);

/*
 * True for RFC_OK; else false with `error` taken from `info` and its code `rc`.
 */
bool succeeded(RFC_RC rc, const RFC_ERROR_INFO& info, NwError& error);

/*
 * False with `error` taken from `info`, for a handle the library did not give (a library
 * that gave none without saying why counts as kNwUnknownError).
 */
bool no_handle(const RFC_ERROR_INFO& info, NwError& error);

/*
 * A zero-terminated UTF-16 text of at most `size` code units.
 */
std::u16string text_of(const SAP_UC* text, std::size_t size);

}  // namespace tw::nw
