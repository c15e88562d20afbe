#include "support/fake_nw_library.h"

#include <memory>
#include <optional>
#include <set>

#include "os/windows_1252.h"
#include "rfc/nw/nw_api.h"

namespace tw::testing {

namespace {

using Kind = FakeField::Kind;

/// A container: a function, a structure or a table with its rows.
struct Node {
  const FakeField* type = nullptr;  ///< the function, the structure, or the table's field
  bool table = false;
  std::map<std::string, std::u16string> values;
  std::map<std::string, std::unique_ptr<Node>> children;
  std::vector<std::unique_ptr<Node>> rows;
  long cursor = -1;
};

struct Model {
  std::map<std::string, FakeField> functions;
  std::map<std::string, std::u16string> answers;
  std::map<std::string, std::vector<FakeRow>> answer_rows;
  std::optional<FakeFailure> open_failure, call_failure;
  std::set<int*> connections;
};

Model& model() {
  static Model instance;
  return instance;
}

std::string narrow(const SAP_UC* text) {
  return windows_1252_of_utf16(text != nullptr ? std::u16string(text) : std::u16string());
}

void put(SAP_UC* field, std::size_t size, const std::u16string& text) {
  const std::size_t length = std::min(text.size(), size - 1);
  std::copy(text.begin(), text.begin() + static_cast<long>(length), field);
  field[length] = 0;
}

RFC_RC fail(RFC_ERROR_INFO* info, RFC_RC code, RFC_ERROR_GROUP group, const std::u16string& key,
            const std::u16string& message) {
  if (info != nullptr) {
    *info = RFC_ERROR_INFO{};
    info->code = code;
    info->group = group;
    put(info->key, 128, key);
    put(info->message, 512, message);
  }
  return code;
}

RFC_RC ok(RFC_ERROR_INFO* info) {
  if (info != nullptr) *info = RFC_ERROR_INFO{};
  return RFC_OK;
}

RFC_RC unknown_name(RFC_ERROR_INFO* info, const SAP_UC* name) {
  return fail(info, RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE, u"RFC_INVALID_PARAMETER",
              u"field '" + std::u16string(name) + u"' not found");
}

Node* node_of(DATA_CONTAINER_HANDLE handle) {
  Node* node = reinterpret_cast<Node*>(handle);
  // Field access on a table reaches the row under the cursor.
  if (node->table) {
    return node->cursor >= 0 && node->cursor < static_cast<long>(node->rows.size())
               ? node->rows[static_cast<std::size_t>(node->cursor)].get()
               : nullptr;
  }
  return node;
}

const FakeField* field_of(const FakeField* type, const std::string& name) {
  for (const FakeField& field : type->fields)
    if (field.name == name) return &field;
  return nullptr;
}

RFCTYPE type_code(Kind kind) {
  switch (kind) {
    case Kind::kChars: return RFCTYPE_CHAR;
    case Kind::kInteger: return RFCTYPE_INT;
    case Kind::kString: return RFCTYPE_STRING;
    case Kind::kStructure: return RFCTYPE_STRUCTURE;
    case Kind::kTable: return RFCTYPE_TABLE;
  }
  return RFCTYPE_NULL;
}

unsigned nuc_length(const FakeField& field) {
  return field.kind == Kind::kInteger ? 4 : field.kind == Kind::kChars ? field.length : 0;
}

/// The text of a value of `field` as the library holds it: blank-padded characters.
std::u16string value_of(const Node& node, const FakeField& field) {
  const auto found = node.values.find(field.name);
  std::u16string value = found != node.values.end() ? found->second : u"";
  if (field.kind == Kind::kInteger && value.empty()) value = u"0";
  if (field.kind == Kind::kChars && value.size() < field.length) value.resize(field.length, u' ');
  return value;
}

Node& child(Node& node, const FakeField& field) {
  auto& slot = node.children[field.name];
  if (!slot) {
    slot = std::make_unique<Node>();
    slot->type = &field;
    slot->table = field.kind == Kind::kTable;
  }
  return *slot;
}

// ---- The entry points -------------------------------------------------------------------

RFC_CONNECTION_HANDLE SAP_API open_connection(RFC_CONNECTION_PARAMETER const* parameters,
                                              unsigned count, RFC_ERROR_INFO* info) {
  FakeNwLibrary& library = FakeNwLibrary::instance();
  ++library.opens;
  library.open_parameters.clear();
  for (unsigned i = 0; i < count; ++i)
    library.open_parameters.emplace_back(parameters[i].name, parameters[i].value);
  if (auto failure = std::exchange(model().open_failure, std::nullopt)) {
    fail(info, static_cast<RFC_RC>(failure->code), static_cast<RFC_ERROR_GROUP>(failure->group),
         failure->key, failure->message);
    return nullptr;
  }
  int* connection = new int(0);
  model().connections.insert(connection);
  ok(info);
  return reinterpret_cast<RFC_CONNECTION_HANDLE>(connection);
}

RFC_RC SAP_API close_connection(RFC_CONNECTION_HANDLE handle, RFC_ERROR_INFO* info) {
  ++FakeNwLibrary::instance().closes;
  int* connection = reinterpret_cast<int*>(handle);
  if (model().connections.erase(connection) == 0)
    return fail(info, RFC_INVALID_HANDLE, EXTERNAL_RUNTIME_FAILURE, u"RFC_INVALID_HANDLE", u"");
  delete connection;
  return ok(info);
}

RFC_FUNCTION_DESC_HANDLE SAP_API get_function_desc(RFC_CONNECTION_HANDLE, SAP_UC const* name,
                                                   RFC_ERROR_INFO* info) {
  const auto found = model().functions.find(narrow(name));
  if (found == model().functions.end()) {
    fail(info, RFC_NOT_FOUND, ABAP_APPLICATION_FAILURE, u"FU_NOT_FOUND", u"");
    return nullptr;
  }
  ok(info);
  return reinterpret_cast<RFC_FUNCTION_DESC_HANDLE>(const_cast<FakeField*>(&found->second));
}

RFC_RC SAP_API get_parameter_desc_by_name(RFC_FUNCTION_DESC_HANDLE description,
                                          SAP_UC const* name, RFC_PARAMETER_DESC* parameter,
                                          RFC_ERROR_INFO* info) {
  const FakeField* field = field_of(reinterpret_cast<const FakeField*>(description), narrow(name));
  if (field == nullptr) return unknown_name(info, name);
  *parameter = RFC_PARAMETER_DESC{};
  put(parameter->name, 31, name);
  parameter->type = type_code(field->kind);
  parameter->direction = field->kind == Kind::kTable ? RFC_TABLES : RFC_EXPORT;
  parameter->nucLength = nuc_length(*field);
  parameter->ucLength = field->kind == Kind::kChars ? 2 * field->length : nuc_length(*field);
  parameter->typeDescHandle = reinterpret_cast<RFC_TYPE_DESC_HANDLE>(const_cast<FakeField*>(field));
  return ok(info);
}

RFC_RC SAP_API get_field_desc_by_name(RFC_TYPE_DESC_HANDLE type, SAP_UC const* name,
                                      RFC_FIELD_DESC* description, RFC_ERROR_INFO* info) {
  const FakeField* field = field_of(reinterpret_cast<const FakeField*>(type), narrow(name));
  if (field == nullptr) return unknown_name(info, name);
  *description = RFC_FIELD_DESC{};
  put(description->name, 31, name);
  description->type = type_code(field->kind);
  description->nucLength = nuc_length(*field);
  description->ucLength = field->kind == Kind::kChars ? 2 * field->length : nuc_length(*field);
  return ok(info);
}

RFC_FUNCTION_HANDLE SAP_API create_function(RFC_FUNCTION_DESC_HANDLE description,
                                            RFC_ERROR_INFO* info) {
  auto* node = new Node;
  node->type = reinterpret_cast<const FakeField*>(description);
  ok(info);
  return reinterpret_cast<RFC_FUNCTION_HANDLE>(node);
}

RFC_RC SAP_API destroy_function(RFC_FUNCTION_HANDLE function, RFC_ERROR_INFO* info) {
  delete reinterpret_cast<Node*>(function);
  return ok(info);
}

RFC_TYPE_DESC_HANDLE SAP_API describe_type(DATA_CONTAINER_HANDLE handle, RFC_ERROR_INFO* info) {
  ok(info);
  return reinterpret_cast<RFC_TYPE_DESC_HANDLE>(
      const_cast<FakeField*>(reinterpret_cast<Node*>(handle)->type));
}

RFC_RC SAP_API get_structure(DATA_CONTAINER_HANDLE handle, SAP_UC const* name,
                             RFC_STRUCTURE_HANDLE* structure, RFC_ERROR_INFO* info) {
  Node* node = node_of(handle);
  const FakeField* field = node != nullptr ? field_of(node->type, narrow(name)) : nullptr;
  if (field == nullptr || field->kind != Kind::kStructure) return unknown_name(info, name);
  *structure = reinterpret_cast<RFC_STRUCTURE_HANDLE>(&child(*node, *field));
  return ok(info);
}

RFC_RC SAP_API get_table(DATA_CONTAINER_HANDLE handle, SAP_UC const* name,
                         RFC_TABLE_HANDLE* table, RFC_ERROR_INFO* info) {
  Node* node = node_of(handle);
  const FakeField* field = node != nullptr ? field_of(node->type, narrow(name)) : nullptr;
  if (field == nullptr || field->kind != Kind::kTable) return unknown_name(info, name);
  *table = reinterpret_cast<RFC_TABLE_HANDLE>(&child(*node, *field));
  return ok(info);
}

RFC_TYPE_DESC_HANDLE SAP_API get_row_type(RFC_TABLE_HANDLE table, RFC_ERROR_INFO* info) {
  return describe_type(table, info);
}

RFC_RC SAP_API get_row_count(RFC_TABLE_HANDLE table, unsigned* count, RFC_ERROR_INFO* info) {
  *count = static_cast<unsigned>(reinterpret_cast<Node*>(table)->rows.size());
  return ok(info);
}

RFC_RC SAP_API move_to(RFC_TABLE_HANDLE table, unsigned index, RFC_ERROR_INFO* info) {
  Node* node = reinterpret_cast<Node*>(table);
  if (index >= node->rows.size())
    return fail(info, RFC_TABLE_MOVE_EOF, EXTERNAL_RUNTIME_FAILURE, u"RFC_TABLE_MOVE_EOF", u"");
  node->cursor = static_cast<long>(index);
  return ok(info);
}

RFC_STRUCTURE_HANDLE SAP_API append_new_row(RFC_TABLE_HANDLE table, RFC_ERROR_INFO* info) {
  Node* node = reinterpret_cast<Node*>(table);
  node->rows.push_back(std::make_unique<Node>());
  node->rows.back()->type = node->type;
  node->cursor = static_cast<long>(node->rows.size()) - 1;
  ok(info);
  return reinterpret_cast<RFC_STRUCTURE_HANDLE>(node->rows.back().get());
}

RFC_RC SAP_API get_chars(DATA_CONTAINER_HANDLE handle, SAP_UC const* name, RFC_CHAR* buffer,
                         unsigned length, RFC_ERROR_INFO* info) {
  Node* node = node_of(handle);
  const FakeField* field = node != nullptr ? field_of(node->type, narrow(name)) : nullptr;
  if (field == nullptr) return unknown_name(info, name);
  const std::u16string value = value_of(*node, *field);
  if (value.size() > length)
    return fail(info, RFC_BUFFER_TOO_SMALL, EXTERNAL_RUNTIME_FAILURE, u"RFC_BUFFER_TOO_SMALL", u"");
  std::u16string padded = value;
  padded.resize(length, u' ');
  std::copy(padded.begin(), padded.end(), buffer);
  return ok(info);
}

RFC_RC SAP_API get_string(DATA_CONTAINER_HANDLE handle, SAP_UC const* name, SAP_UC* buffer,
                          unsigned length, unsigned* string_length, RFC_ERROR_INFO* info) {
  Node* node = node_of(handle);
  const FakeField* field = node != nullptr ? field_of(node->type, narrow(name)) : nullptr;
  if (field == nullptr) return unknown_name(info, name);
  const std::u16string value = value_of(*node, *field);
  *string_length = static_cast<unsigned>(value.size());
  if (value.size() + 1 > length)
    return fail(info, RFC_BUFFER_TOO_SMALL, EXTERNAL_RUNTIME_FAILURE, u"RFC_BUFFER_TOO_SMALL", u"");
  put(buffer, length, value);
  return ok(info);
}

RFC_RC SAP_API get_int(DATA_CONTAINER_HANDLE handle, SAP_UC const* name, RFC_INT* value,
                       RFC_ERROR_INFO* info) {
  Node* node = node_of(handle);
  const FakeField* field = node != nullptr ? field_of(node->type, narrow(name)) : nullptr;
  if (field == nullptr) return unknown_name(info, name);
  *value = std::stoi(narrow(value_of(*node, *field).c_str()) + " ");
  return ok(info);
}

RFC_RC SAP_API set_chars(DATA_CONTAINER_HANDLE handle, SAP_UC const* name, const RFC_CHAR* value,
                         unsigned length, RFC_ERROR_INFO* info) {
  Node* node = node_of(handle);
  const FakeField* field = node != nullptr ? field_of(node->type, narrow(name)) : nullptr;
  if (field == nullptr) return unknown_name(info, name);
  if (field->kind == Kind::kChars && length > field->length)
    return fail(info, RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE, u"RFC_INVALID_PARAMETER",
                u"value too long");
  node->values[field->name] = std::u16string(value, length);
  return ok(info);
}

RFC_RC SAP_API set_int(DATA_CONTAINER_HANDLE handle, SAP_UC const* name, const RFC_INT value,
                       RFC_ERROR_INFO* info) {
  Node* node = node_of(handle);
  const FakeField* field = node != nullptr ? field_of(node->type, narrow(name)) : nullptr;
  if (field == nullptr) return unknown_name(info, name);
  node->values[field->name] = utf16_of_windows_1252(std::to_string(value));
  return ok(info);
}

/// The values of a container as paths, and the rows of its tables.
void record(const Node& node, const std::string& prefix, FakeNwLibrary& library) {
  for (const auto& [name, value] : node.values) library.inputs[prefix + name] = value;
  for (const auto& [name, sub] : node.children) {
    if (!sub->table) {
      record(*sub, prefix + name + ".", library);
      continue;
    }
    for (const auto& row : sub->rows) library.input_rows[name].push_back(row->values);
  }
}

RFC_RC SAP_API invoke(RFC_CONNECTION_HANDLE handle, RFC_FUNCTION_HANDLE function,
                      RFC_ERROR_INFO* info) {
  FakeNwLibrary& library = FakeNwLibrary::instance();
  ++library.calls;
  if (model().connections.count(reinterpret_cast<int*>(handle)) == 0)
    return fail(info, RFC_INVALID_HANDLE, EXTERNAL_RUNTIME_FAILURE, u"RFC_INVALID_HANDLE", u"");
  Node& node = *reinterpret_cast<Node*>(function);
  library.inputs.clear();
  library.input_rows.clear();
  record(node, "", library);
  if (auto failure = std::exchange(model().call_failure, std::nullopt)) {
    return fail(info, static_cast<RFC_RC>(failure->code),
                static_cast<RFC_ERROR_GROUP>(failure->group), failure->key, failure->message);
  }
  for (const auto& [path, value] : model().answers) {
    const std::size_t dot = path.find('.');
    if (dot == std::string::npos) {
      node.values[path] = value;
    } else if (const FakeField* field = field_of(node.type, path.substr(0, dot))) {
      child(node, *field).values[path.substr(dot + 1)] = value;
    }
  }
  for (const auto& [table, rows] : model().answer_rows) {
    const FakeField* field = field_of(node.type, table);
    for (const FakeRow& row : rows) {
      Node& target = child(node, *field);
      target.rows.push_back(std::make_unique<Node>());
      target.rows.back()->type = field;
      target.rows.back()->values = row;
    }
  }
  return ok(info);
}

const nw::NwApi kApi{open_connection, close_connection, invoke,       get_function_desc,
                     get_parameter_desc_by_name, get_field_desc_by_name, create_function,
                     destroy_function, describe_type, get_structure, get_table, get_row_type,
                     get_row_count,    move_to,      append_new_row, get_chars,  get_string,
                     get_int,          set_chars,    set_int};

}  // namespace

FakeNwLibrary& FakeNwLibrary::instance() {
  static FakeNwLibrary library;
  return library;
}

void FakeNwLibrary::reset() {
  for (int* connection : model().connections) delete connection;
  model() = Model{};
  open_parameters.clear();
  inputs.clear();
  input_rows.clear();
  opens = calls = closes = 0;
}

const nw::NwApi* FakeNwLibrary::api() const { return &kApi; }

void FakeNwLibrary::add_function(const std::string& name, std::vector<FakeField> parameters) {
  model().functions[name] = FakeField{name, Kind::kStructure, 0, std::move(parameters)};
}

void FakeNwLibrary::answer(const std::string& path, std::u16string value) {
  model().answers[path] = std::move(value);
}

void FakeNwLibrary::answer_row(const std::string& table, FakeRow row) {
  model().answer_rows[table].push_back(std::move(row));
}

void FakeNwLibrary::fail_next_open(FakeFailure failure) { model().open_failure = failure; }
void FakeNwLibrary::fail_next_call(FakeFailure failure) { model().call_failure = failure; }

}  // namespace tw::testing
