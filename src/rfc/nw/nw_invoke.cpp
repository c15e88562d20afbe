// One call of a function through the NetWeaver library: its interface from the system, a
// container filled from the classic call, the call, and the answer in the classic layout.
#include "os/windows_1252.h"
#include "rfc/nw/nw_api.h"
#include "rfc/nw/nw_record.h"

namespace tw::nw {

namespace {

/// A function container that is destroyed with this object.
class FunctionContainer {
 public:
  FunctionContainer(const NwApi& api, RFC_FUNCTION_HANDLE handle) : api_(api), handle_(handle) {}
  ~FunctionContainer() {
    RFC_ERROR_INFO info{};
    if (handle_ != nullptr) api_.destroy_function(handle_, &info);
  }
  FunctionContainer(const FunctionContainer&) = delete;
  FunctionContainer& operator=(const FunctionContainer&) = delete;
  RFC_FUNCTION_HANDLE get() const { return handle_; }

 private:
  const NwApi& api_;
  RFC_FUNCTION_HANDLE handle_;
};

/// The table parameter `name` with the type of its rows; false when the function has no
/// such table (`error` untouched) or the library fails (`error` set).
bool find_table(const NwApi& api, RFC_FUNCTION_HANDLE function,
                RFC_FUNCTION_DESC_HANDLE description, const std::string& name,
                Container& table, NwError& error) {
  const std::u16string wide = utf16_of_windows_1252(name);
  RFC_PARAMETER_DESC parameter{};
  RFC_ERROR_INFO info{};
  if (api.get_parameter_desc_by_name(description, wide.c_str(), &parameter, &info) != RFC_OK ||
      parameter.type != RFCTYPE_TABLE) {
    return false;
  }
  RFC_TABLE_HANDLE handle = nullptr;
  if (!succeeded(api.get_table(function, wide.c_str(), &handle, &info), info, error)) {
    return false;
  }
  table = {handle, api.get_row_type(handle, &info)};
  return table.type != nullptr || no_handle(info, error);
}

/// Appends the classic rows of a table to the table parameter of the same name.
bool write_rows(const NwApi& api, RFC_FUNCTION_HANDLE function,
                RFC_FUNCTION_DESC_HANDLE description, const wire::Table& rows,
                const Shape& shape, NwError& error) {
  Container table{};
  error.code = kNwOk;
  if (!find_table(api, function, description, rows.name, table, error)) {
    return error.code == kNwOk;
  }
  const RecordPlan plan = plan_record(api, table.type, shape);
  for (const std::string& row : rows.rows) {
    RFC_ERROR_INFO info{};
    const RFC_STRUCTURE_HANDLE line = api.append_new_row(table.handle, &info);
    if (line == nullptr) return no_handle(info, error);
    if (!write_record(api, line, plan, row, error)) return false;
  }
  return true;
}

/// Reads every row of the table parameter of `shape`, when the function has it.
bool read_rows(const NwApi& api, RFC_FUNCTION_HANDLE function,
               RFC_FUNCTION_DESC_HANDLE description, const Shape& shape, wire::Reply& reply,
               NwError& error) {
  Container table{};
  error.code = kNwOk;
  if (!find_table(api, function, description, shape.name, table, error)) {
    return error.code == kNwOk;
  }
  RFC_ERROR_INFO info{};
  unsigned count = 0;
  if (!succeeded(api.get_row_count(table.handle, &count, &info), info, error)) return false;
  wire::Table rows{shape.name, shape.length, {}};
  rows.rows.reserve(count);
  const RecordPlan plan = plan_record(api, table.type, shape);
  for (unsigned index = 0; index < count; ++index) {
    if (!succeeded(api.move_to(table.handle, index, &info), info, error)) return false;
    std::string row;
    if (!read_record(api, table.handle, plan, row, error)) return false;
    rows.rows.push_back(std::move(row));
  }
  reply.tables.push_back(std::move(rows));
  return true;
}

}  // namespace

int nw_invoke(const NwApi& api, NwConnection connection, const CallPlan& call,
              const ReceivePlan& receive, wire::Reply& reply, NwError& error) {
  const auto handle = static_cast<RFC_CONNECTION_HANDLE>(connection);
  const std::u16string function_name = utf16_of_windows_1252(call.call.function);
  RFC_ERROR_INFO info{};
  const RFC_FUNCTION_DESC_HANDLE description =
      api.get_function_desc(handle, function_name.c_str(), &info);
  if (description == nullptr) {
    no_handle(info, error);
    return error.code;
  }
  const FunctionContainer function(api, api.create_function(description, &info));
  if (function.get() == nullptr) {
    no_handle(info, error);
    return error.code;
  }

  for (std::size_t i = 0; i < call.call.parameters.size(); ++i) {
    if (!write_value(api, function.get(), description, call.exporting[i],
                     call.call.parameters[i], error)) {
      return error.code;
    }
  }
  for (std::size_t i = 0; i < call.call.tables.size(); ++i) {
    if (!write_rows(api, function.get(), description, call.call.tables[i], call.tables[i],
                    error)) {
      return error.code;
    }
  }
  if (!succeeded(api.invoke(handle, function.get(), &info), info, error)) return error.code;
  reply = wire::Reply{};
  for (const Shape& shape : receive.importing) {
    wire::Value value;
    error.code = kNwOk;
    if (read_value(api, function.get(), description, shape, value, error)) {
      reply.parameters.push_back(std::move(value));
    } else if (error.code != kNwOk) {
      return error.code;
    }
  }
  for (const Shape& shape : receive.tables) {
    if (!read_rows(api, function.get(), description, shape, reply, error)) return error.code;
  }
  return kNwOk;
}

}  // namespace tw::nw
