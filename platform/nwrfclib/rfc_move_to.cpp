// The operations on a table: RfcGetRowCount, RfcGetRowType, the cursor (RfcMoveTo,
// RfcMoveToFirstRow, RfcMoveToLastRow, RfcMoveToNextRow, RfcMoveToPreviousRow),
// RfcGetCurrentRow, RfcAppendNewRow and RfcDeleteAllRows. Rows count from 0; the cursor on
// no row is -1.
#include "error.h"
#include "nw_state.h"
#include "sapnwrfc.h"

namespace tw::nwrfclib {

namespace {

/*
 * Runs `body` with the table of `handle`, or reports RFC_INVALID_HANDLE for a handle that
 * is no live table.
 */
template <typename Body>
RFC_RC with_table(RFC_TABLE_HANDLE handle, RFC_ERROR_INFO* info, Body&& body) {
  return guarded(info, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    Container* table = find_container(handle);
    if (table == nullptr || table->kind() != Container::Kind::kTable)
      return report(info, invalid_handle("table"));
    return body(*table);
  });
}

/*
 * Puts the cursor on `row` when the table has it; else leaves it and reports
 * RFC_TABLE_MOVE_BOF (before the first row) or RFC_TABLE_MOVE_EOF (past the last).
 */
RFC_RC move(Container& table, long long row, RFC_ERROR_INFO* info) {
  if (row < 0)
    return report(info, make_error(RFC_TABLE_MOVE_BOF, EXTERNAL_RUNTIME_FAILURE,
                                   "the cursor cannot move before the first row"));
  if (static_cast<std::size_t>(row) >= table.rows.size())
    return report(info, make_error(RFC_TABLE_MOVE_EOF, EXTERNAL_RUNTIME_FAILURE,
                                   "the cursor cannot move past the last row"));
  table.cursor = static_cast<long>(row);
  return succeed(info);
}

/*
 * The handle of the row under the cursor; NULL with RFC_ILLEGAL_STATE on no row.
 */
RFC_STRUCTURE_HANDLE current_row(Container& table, RFC_ERROR_INFO* info) {
  Error error;
  Container* row = fields_of(table, error);
  if (row == nullptr) {
    report(info, error);
    return nullptr;
  }
  succeed(info);
  return handle_of(*row);
}

/*
 * Runs `step` on the table of `handle`, then hands out the row under the cursor; NULL with
 * the error of with_table or current_row.
 */
template <typename Step>
RFC_STRUCTURE_HANDLE row_after(RFC_TABLE_HANDLE handle, RFC_ERROR_INFO* info, Step&& step) {
  RFC_STRUCTURE_HANDLE row = nullptr;
  with_table(handle, info, [&](Container& table) {
    step(table);
    row = current_row(table, info);
    return RFC_OK;
  });
  return row;
}

}  // namespace

}  // namespace tw::nwrfclib

using tw::nwrfclib::Container;

extern "C" RFC_RC SAP_API RfcGetRowCount(RFC_TABLE_HANDLE tableHandle, unsigned* rowCount,
                                         RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_table(tableHandle, errorInfo, [&](Container& table) {
    if (rowCount != nullptr) *rowCount = static_cast<unsigned>(table.rows.size());
    return succeed(errorInfo);
  });
}

/*
 * The type of the table's rows; NULL with RFC_INVALID_HANDLE for a handle that is no table.
 */
extern "C" RFC_TYPE_DESC_HANDLE SAP_API RfcGetRowType(RFC_TABLE_HANDLE tableHandle,
                                                      RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  RFC_TYPE_DESC_HANDLE type = nullptr;
  with_table(tableHandle, errorInfo, [&](Container& table) {
    type = handle_from_id<RFC_TYPE_DESC_HANDLE>(table.type_desc()->id);
    return succeed(errorInfo);
  });
  return type;
}

extern "C" RFC_RC SAP_API RfcMoveTo(RFC_TABLE_HANDLE tableHandle, unsigned index,
                                    RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_table(tableHandle, errorInfo, [&](Container& table) {
    return move(table, index, errorInfo);
  });
}

/*
 * To row 0, or on an empty table to no row (RFC_OK both).
 */
extern "C" RFC_RC SAP_API RfcMoveToFirstRow(RFC_TABLE_HANDLE tableHandle,
                                            RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_table(tableHandle, errorInfo, [&](Container& table) {
    table.cursor = table.rows.empty() ? -1 : 0;
    return succeed(errorInfo);
  });
}

/*
 * To the last row, or on an empty table to no row (RFC_OK both).
 */
extern "C" RFC_RC SAP_API RfcMoveToLastRow(RFC_TABLE_HANDLE tableHandle,
                                           RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_table(tableHandle, errorInfo, [&](Container& table) {
    table.cursor = static_cast<long>(table.rows.size()) - 1;
    return succeed(errorInfo);
  });
}

extern "C" RFC_RC SAP_API RfcMoveToNextRow(RFC_TABLE_HANDLE tableHandle,
                                           RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_table(tableHandle, errorInfo, [&](Container& table) {
    return move(table, table.cursor + 1LL, errorInfo);
  });
}

extern "C" RFC_RC SAP_API RfcMoveToPreviousRow(RFC_TABLE_HANDLE tableHandle,
                                               RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_table(tableHandle, errorInfo, [&](Container& table) {
    // From no row (-1) there is nothing before either.
    return move(table, table.cursor < 0 ? -1LL : table.cursor - 1LL, errorInfo);
  });
}

extern "C" RFC_STRUCTURE_HANDLE SAP_API RfcGetCurrentRow(RFC_TABLE_HANDLE tableHandle,
                                                         RFC_ERROR_INFO* errorInfo) {
  return tw::nwrfclib::row_after(tableHandle, errorInfo, [](Container&) {});
}

extern "C" RFC_STRUCTURE_HANDLE SAP_API RfcAppendNewRow(RFC_TABLE_HANDLE tableHandle,
                                                        RFC_ERROR_INFO* errorInfo) {
  return tw::nwrfclib::row_after(tableHandle, errorInfo, [](Container& table) {
    table.rows.push_back(Container::structure(*table.type_desc()));
    table.cursor = static_cast<long>(table.rows.size()) - 1;
  });
}

extern "C" RFC_RC SAP_API RfcDeleteAllRows(RFC_TABLE_HANDLE tableHandle,
                                           RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return with_table(tableHandle, errorInfo, [&](Container& table) {
    for (const auto& row : table.rows) forget_handles(*row);
    table.rows.clear();
    table.cursor = -1;
    return succeed(errorInfo);
  });
}
