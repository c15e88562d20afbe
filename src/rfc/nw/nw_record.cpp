#include "rfc/nw/nw_record.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "os/ascii_text.h"
#include "os/windows_1252.h"

namespace tw::nw {

namespace {

bool char_like(RFCTYPE type) {
  return type == RFCTYPE_CHAR || type == RFCTYPE_NUM || type == RFCTYPE_DATE ||
         type == RFCTYPE_TIME;
}

bool integer_like(RFCTYPE type) {
  return type == RFCTYPE_INT || type == RFCTYPE_INT2 || type == RFCTYPE_INT1;
}

/// The field `name` (of type `type`, `uc_length` bytes with two-byte characters) as text,
/// appended to `text`; `buffer` is room to reuse from one field to the next.
bool read_text(const NwApi& api, DATA_CONTAINER_HANDLE container, const std::u16string& name,
               RFCTYPE type, unsigned uc_length, std::u16string& buffer, std::string& text,
               NwError& error) {
  RFC_ERROR_INFO info{};
  if (char_like(type)) {
    buffer.assign(std::max(uc_length / 2, 1u), u' ');
    if (!succeeded(api.get_chars(container, name.c_str(), buffer.data(),
                                 static_cast<unsigned>(buffer.size()), &info),
                   info, error)) {
      return false;
    }
    append_windows_1252_of_utf16(text, buffer);
    return true;
  }
  // Other types as the library writes them as text, of any length.
  buffer.assign(64, u'\0');
  unsigned length = 0;
  RFC_RC rc = api.get_string(container, name.c_str(), buffer.data(),
                             static_cast<unsigned>(buffer.size()), &length, &info);
  if (rc == RFC_BUFFER_TOO_SMALL) {
    buffer.assign(length + 1, u'\0');
    rc = api.get_string(container, name.c_str(), buffer.data(),
                        static_cast<unsigned>(buffer.size()), &length, &info);
  }
  if (!succeeded(rc, info, error)) return false;
  append_windows_1252_of_utf16(text, std::u16string_view(buffer).substr(0, length));
  return true;
}

/// Pads or cuts what was appended to `bytes` from `start` on to `length` bytes.
void fit_text(std::string& bytes, std::size_t start, unsigned length) {
  bytes.resize(start + length, ' ');
}

/// Appends `text` cut or padded with blanks to `length` bytes.
void put_text(std::string& bytes, std::string_view text, unsigned length) {
  const std::size_t start = bytes.size();
  bytes.append(text.substr(0, length));
  fit_text(bytes, start, length);
}

/// Appends `value` as 4 host-order bytes, cut or padded with zeros to `length` bytes.
void put_integer(std::string& bytes, std::int32_t value, unsigned length) {
  char raw[sizeof value];
  std::memcpy(raw, &value, sizeof value);
  const std::size_t taken = std::min<std::size_t>(sizeof raw, length);
  bytes.append(raw, taken);
  bytes.append(length - taken, '\0');
}

/// Reads one field of a record and appends its `field.length` bytes.
bool read_field(const NwApi& api, DATA_CONTAINER_HANDLE container, const RecordPlan::Item& item,
                std::u16string& buffer, std::string& bytes, NwError& error) {
  const Field& field = *item.field;
  if (!item.known) {
    // A field the system does not send keeps the look of an initial one.
    field.integer ? put_integer(bytes, 0, field.length) : put_text(bytes, "", field.length);
    return true;
  }
  if (field.integer || integer_like(item.type)) {
    RFC_ERROR_INFO info{};
    RFC_INT value = 0;
    if (!succeeded(api.get_int(container, item.name.c_str(), &value, &info), info, error)) {
      return false;
    }
    field.integer ? put_integer(bytes, value, field.length)
                  : put_text(bytes, std::to_string(value), field.length);
    return true;
  }
  const std::size_t start = bytes.size();
  if (!read_text(api, container, item.name, item.type, item.uc_length, buffer, bytes, error)) {
    return false;
  }
  fit_text(bytes, start, field.length);
  return true;
}

/// Sets the field `name` (of type `type`, `uc_length` bytes with two-byte characters) from
/// classic text; an integer field from the decimal number the text begins with.
bool write_text(const NwApi& api, DATA_CONTAINER_HANDLE container, const std::u16string& name,
                RFCTYPE type, unsigned uc_length, std::string_view text, NwError& error) {
  RFC_ERROR_INFO info{};
  if (integer_like(type)) {
    const auto value = static_cast<RFC_INT>(std::clamp<long long>(leading_decimal(text),
                                                                  INT32_MIN, INT32_MAX));
    return succeeded(api.set_int(container, name.c_str(), value, &info), info, error);
  }
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  std::u16string value = utf16_of_windows_1252(text);
  if (char_like(type) && value.size() > uc_length / 2) value.resize(uc_length / 2);
  return succeeded(api.set_chars(container, name.c_str(), value.data(),
                                 static_cast<unsigned>(value.size()), &info),
                   info, error);
}

/// The host-order integer of up to 4 bytes at `at`.
std::int32_t integer_at(const std::string& bytes, std::size_t at, unsigned length) {
  std::int32_t value = 0;
  if (at < bytes.size()) {
    std::memcpy(&value, bytes.data() + at,
                std::min<std::size_t>({sizeof value, length, bytes.size() - at}));
  }
  return value;
}

/// The structure parameter `name` of a function container, with its type; false with
/// `error` set when the library fails.
bool structure_parameter(const NwApi& api, RFC_FUNCTION_HANDLE function,
                         const std::u16string& name, Container& container, NwError& error) {
  RFC_ERROR_INFO info{};
  RFC_STRUCTURE_HANDLE structure = nullptr;
  if (!succeeded(api.get_structure(function, name.c_str(), &structure, &info), info, error)) {
    return false;
  }
  container = {structure, api.describe_type(structure, &info)};
  return container.type != nullptr || no_handle(info, error);
}

}  // namespace

RecordPlan plan_record(const NwApi& api, RFC_TYPE_DESC_HANDLE type, const Shape& shape) {
  RecordPlan plan;
  plan.length = shape.length;
  plan.items.reserve(shape.fields.size());
  for (const Field& field : shape.fields) {
    RecordPlan::Item item{&field, utf16_of_windows_1252(field.name), false, RFCTYPE_CHAR, 0};
    RFC_FIELD_DESC description{};
    RFC_ERROR_INFO info{};
    if (api.get_field_desc_by_name(type, item.name.c_str(), &description, &info) == RFC_OK) {
      item.known = true;
      item.type = description.type;
      item.uc_length = description.ucLength;
    }
    plan.items.push_back(std::move(item));
  }
  return plan;
}

bool read_record(const NwApi& api, DATA_CONTAINER_HANDLE container, const RecordPlan& plan,
                 std::string& bytes, NwError& error) {
  bytes.clear();
  bytes.reserve(plan.length);
  std::u16string buffer;
  buffer.reserve(plan.length);  // each field's characters, one field after the other
  for (const RecordPlan::Item& item : plan.items) {
    if (!read_field(api, container, item, buffer, bytes, error)) return false;
  }
  bytes.resize(plan.length, ' ');
  return true;
}

bool write_record(const NwApi& api, DATA_CONTAINER_HANDLE container, const RecordPlan& plan,
                  const std::string& bytes, NwError& error) {
  std::size_t at = 0;
  for (const RecordPlan::Item& item : plan.items) {
    const Field& field = *item.field;
    RFC_ERROR_INFO info{};
    if (item.known && field.integer) {
      if (!succeeded(api.set_int(container, item.name.c_str(),
                                 integer_at(bytes, at, field.length), &info),
                     info, error)) {
        return false;
      }
    } else if (item.known) {
      const std::string_view text =
          at < bytes.size() ? std::string_view(bytes).substr(at, field.length) : "";
      if (!write_text(api, container, item.name, item.type, item.uc_length, text, error)) {
        return false;
      }
    }
    at += field.length;
  }
  return true;
}

bool read_value(const NwApi& api, RFC_FUNCTION_HANDLE function,
                RFC_FUNCTION_DESC_HANDLE description, const Shape& shape, wire::Value& value,
                NwError& error) {
  const std::u16string name = utf16_of_windows_1252(shape.name);
  RFC_PARAMETER_DESC parameter{};
  RFC_ERROR_INFO info{};
  if (api.get_parameter_desc_by_name(description, name.c_str(), &parameter, &info) != RFC_OK) {
    return false;
  }
  value = wire::Value{shape.name, wire::ValueKind::kChar, {}};
  if (shape.structure && parameter.type == RFCTYPE_STRUCTURE) {
    Container structure{};
    return structure_parameter(api, function, name, structure, error) &&
           read_record(api, structure.handle, plan_record(api, structure.type, shape),
                       value.bytes, error);
  }
  const bool integer = shape.fields.size() == 1 && shape.fields.front().integer;
  if (integer || integer_like(parameter.type)) {
    RFC_INT number = 0;
    if (!succeeded(api.get_int(function, name.c_str(), &number, &info), info, error)) {
      return false;
    }
    value.kind = wire::ValueKind::kInt;
    value.bytes = wire::int_bytes(number);
    return true;
  }
  std::u16string buffer;
  return read_text(api, function, name, parameter.type, parameter.ucLength, buffer, value.bytes,
                   error);
}

bool write_value(const NwApi& api, RFC_FUNCTION_HANDLE function,
                 RFC_FUNCTION_DESC_HANDLE description, const Shape& shape,
                 const wire::Value& value, NwError& error) {
  const std::u16string name = utf16_of_windows_1252(shape.name);
  RFC_PARAMETER_DESC parameter{};
  RFC_ERROR_INFO info{};
  if (api.get_parameter_desc_by_name(description, name.c_str(), &parameter, &info) != RFC_OK) {
    return true;
  }
  if (shape.structure && parameter.type == RFCTYPE_STRUCTURE) {
    Container structure{};
    return structure_parameter(api, function, name, structure, error) &&
           write_record(api, structure.handle, plan_record(api, structure.type, shape),
                        value.bytes, error);
  }
  if (value.kind == wire::ValueKind::kInt) {
    return succeeded(api.set_int(function, name.c_str(), wire::int_of(value.bytes), &info),
                     info, error);
  }
  return write_text(api, function, name, parameter.type, parameter.ucLength, value.bytes, error);
}

}  // namespace tw::nw
