#include "call_data.h"

#include <cstdint>
#include <cstring>

#include "itab.h"
#include "text_util.h"

namespace tw::rfclib {

namespace {

/*
 * A decimal number with optional blanks and sign; 0 for anything else.
 */
std::int32_t parse_int(std::string_view text) {
  text = trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > INT32_MAX) return 0;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

/*
 * The table behind a handle (NULL stays NULL).
 */
Itab* itab_of(ITAB_H handle) { return static_cast<Itab*>(handle); }

/*
 * The line length of a table entry: its `leng`, else that of its internal table, else 0.
 */
unsigned line_length_of(const RFC_TABLE& table) {
  if (table.leng != 0) return table.leng;
  return table.ithandle != nullptr ? itab_of(table.ithandle)->line_length : 0;
}

/*
 * The entry of `tables` named `name` (letter case ignored); NULL when there is none.
 */
template <typename Table>
Table* find_table(Table* tables, const std::string& name) {
  for (Table* t = tables; t != nullptr && t->name != nullptr; ++t)
    if (equal_ignoring_case(name_of(t->name, t->nlen), name)) return t;
  return nullptr;
}

}  // namespace

std::string name_of(const void* name, unsigned nlen) {
  if (name == nullptr) return {};
  const char* text = static_cast<const char*>(name);
  std::size_t length = 0;
  if (nlen == 0) {
    length = std::strlen(text);
  } else {
    const void* nul = std::memchr(text, '\0', nlen);
    length = nul == nullptr ? nlen : static_cast<std::size_t>(static_cast<const char*>(nul) - text);
  }
  while (length > 0 && text[length - 1] == ' ') --length;
  return std::string(text, length);
}

bool build_call(const char* function, const RFC_PARAMETER* exporting, const RFC_TABLE* tables,
                wire::Call& call, std::string& error) {
  call = wire::Call{};
  call.function = name_of(function, 0);
  for (const RFC_PARAMETER* p = exporting; p != nullptr && p->name != nullptr; ++p) {
    wire::Value value;
    value.name = name_of(p->name, p->nlen);
    if (p->addr == nullptr && (p->leng != 0 || p->type == TYPINT)) {
      error = "exporting parameter " + value.name + " has no value";
      return false;
    }
    if (p->type == TYPINT) {
      std::int32_t number = 0;
      std::memcpy(&number, p->addr, sizeof number);
      value.kind = wire::ValueKind::kInt;
      value.bytes = wire::int_bytes(number);
    } else if (p->leng != 0) {
      value.bytes.assign(static_cast<const char*>(p->addr), p->leng);
    }
    call.parameters.push_back(std::move(value));
  }
  for (const RFC_TABLE* t = tables; t != nullptr && t->name != nullptr; ++t) {
    wire::Table table;
    table.name = name_of(t->name, t->nlen);
    table.line_length = line_length_of(*t);
    if (const Itab* itab = itab_of(t->ithandle)) {
      const unsigned width = itab->line_length < table.line_length ? itab->line_length
                                                                    : table.line_length;
      for (unsigned line = 0; line < itab->lines; ++line)
        table.rows.emplace_back(itab->data + static_cast<std::size_t>(line) * itab->line_length,
                                width);
    }
    call.tables.push_back(std::move(table));
  }
  return true;
}

bool check_reply(const wire::Reply& reply, const RFC_TABLE* tables, std::string& error) {
  for (const wire::Table& table : reply.tables) {
    const RFC_TABLE* target = find_table(tables, table.name);
    if (target == nullptr) continue;
    const unsigned line_length = line_length_of(*target);
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
      if (table.rows[i].size() > line_length) {
        error = "row " + std::to_string(i + 1) + " of table " + table.name + " has " +
                std::to_string(table.rows[i].size()) + " bytes, the line " +
                std::to_string(line_length);
        return false;
      }
    }
  }
  return true;
}

void fill_importing(const wire::Reply& reply, RFC_PARAMETER* importing) {
  for (RFC_PARAMETER* p = importing; p != nullptr && p->name != nullptr; ++p) {
    if (p->addr == nullptr) continue;
    const std::string name = name_of(p->name, p->nlen);
    for (const wire::Value& value : reply.parameters) {
      if (!equal_ignoring_case(value.name, name)) continue;
      if (p->type == TYPINT) {
        const std::int32_t number = value.kind == wire::ValueKind::kInt
                                        ? wire::int_of(value.bytes)
                                        : parse_int(value.bytes);
        const std::size_t size = p->leng != 0 && p->leng < sizeof number ? p->leng : sizeof number;
        std::memcpy(p->addr, &number, size);
      } else {
        const std::string bytes = value.kind == wire::ValueKind::kInt
                                      ? std::to_string(wire::int_of(value.bytes))
                                      : value.bytes;
        const std::size_t size = bytes.size() < p->leng ? bytes.size() : p->leng;
        std::memcpy(p->addr, bytes.data(), size);
        std::memset(static_cast<char*>(p->addr) + size, ' ', p->leng - size);
      }
      break;
    }
  }
}

bool append_rows(const wire::Reply& reply, RFC_TABLE* tables, Allocator allocate) {
  for (const wire::Table& table : reply.tables) {
    RFC_TABLE* target = find_table(tables, table.name);
    if (target == nullptr) continue;
    const unsigned line_length = line_length_of(*target);
    if (line_length == 0) continue;
    if (target->ithandle == nullptr) {
      auto* itab = new Itab;
      itab->name = table.name;
      itab->line_length = line_length;
      itab->allocate = allocate;
      target->ithandle = itab;
    }
    Itab& itab = *itab_of(target->ithandle);
    for (const std::string& row : table.rows) {
      void* line = append_line(itab);
      if (line == nullptr) return false;
      const std::size_t width = itab.line_length < line_length ? itab.line_length : line_length;
      const std::size_t size = row.size() < width ? row.size() : width;
      std::memcpy(line, row.data(), size);
      std::memset(static_cast<char*>(line) + size, ' ', itab.line_length - size);
    }
  }
  return true;
}

}  // namespace tw::rfclib
