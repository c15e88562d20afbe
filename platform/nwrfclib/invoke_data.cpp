#include "invoke_data.h"

#include <cstdint>

#include "text.h"

namespace tw::nwrfclib {

namespace {

/*
 * The index of the element of a container named as the partner names it; the number of
 * elements when there is none.
 */
std::size_t index_of(const Container& container, const std::string& name) {
  const Element* element = find_element(container.elements(), from_bytes(name));
  return element == nullptr ? container.elements().size()
                            : static_cast<std::size_t>(element - container.elements().data());
}

/*
 * Fills one parameter from a value of the reply.
 */
void fill_parameter(const Element& element, Value& value, const wire::Value& sent) {
  const bool integer = sent.kind == wire::ValueKind::kInt;
  switch (element.type) {
    case RFCTYPE_INT: {
      int number = 0;
      value.number = integer ? wire::int_of(sent.bytes)
                             : parse_decimal(from_bytes(sent.bytes), number) ? number : 0;
      break;
    }
    case RFCTYPE_STRUCTURE:
      fill_from_record(*value.child, sent.bytes);
      break;
    case RFCTYPE_TABLE:
      break;  // tables come as tables
    default:
      value.chars = fixed(
          integer ? decimal(wire::int_of(sent.bytes)) : from_bytes(sent.bytes), element.length);
      break;
  }
}

}  // namespace

wire::Call call_of(const Container& function) {
  wire::Call call;
  call.function = to_utf8(function.function_desc()->name);
  const std::vector<Element>& parameters = function.elements();
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    const Element& parameter = parameters[i];
    const Value& value = function.values[i];
    const std::string name = to_utf8(parameter.name);
    if (parameter.direction == RFC_TABLES) {
      wire::Table table{name, value.child->type_desc()->nuc_length, {}};
      for (const auto& row : value.child->rows) table.rows.push_back(record_of(*row));
      call.tables.push_back(std::move(table));
    } else if (parameter.direction == RFC_IMPORT || parameter.direction == RFC_CHANGING) {
      if (parameter.type == RFCTYPE_STRUCTURE)
        call.parameters.push_back({name, wire::ValueKind::kChar, record_of(*value.child)});
      else if (parameter.type == RFCTYPE_INT && value.set)
        call.parameters.push_back(
            {name, wire::ValueKind::kInt, wire::int_bytes(value.number)});
      else if (value.set)
        call.parameters.push_back({name, wire::ValueKind::kChar,
                                   bytes_of(value.chars, parameter.nuc_length)});
    }
  }
  return call;
}

bool take_reply(Container& function, const wire::Reply& reply, std::string& problem) {
  const std::vector<Element>& parameters = function.elements();
  for (const wire::Table& table : reply.tables) {
    const std::size_t at = index_of(function, table.name);
    if (at == parameters.size() || parameters[at].type != RFCTYPE_TABLE) continue;
    const unsigned line = parameters[at].type_desc->nuc_length;
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
      if (table.rows[row].size() > line) {
        problem = "row " + std::to_string(row + 1) + " of table " + table.name + " has " +
                  std::to_string(table.rows[row].size()) + " bytes, the line " +
                  std::to_string(line);
        return false;
      }
    }
  }
  for (std::size_t i = 0; i < parameters.size(); ++i)
    if (parameters[i].direction == RFC_EXPORT) make_initial(function.values[i], parameters[i]);
  for (const wire::Value& sent : reply.parameters) {
    const std::size_t at = index_of(function, sent.name);
    if (at < parameters.size()) fill_parameter(parameters[at], function.values[at], sent);
  }
  for (const wire::Table& table : reply.tables) {
    const std::size_t at = index_of(function, table.name);
    if (at == parameters.size() || parameters[at].type != RFCTYPE_TABLE) continue;
    Container& target = *function.values[at].child;
    for (const std::string& row : table.rows) {
      target.rows.push_back(Container::structure(*target.type_desc()));
      fill_from_record(*target.rows.back(), row);
    }
    target.cursor = target.rows.empty() ? -1 : 0;
  }
  return true;
}

}  // namespace tw::nwrfclib
