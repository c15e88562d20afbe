// Internal tables: lines of a fixed length in one growing block of memory.
#include <climits>
#include <cstdlib>
#include <cstring>

#include "itab.h"

namespace tw::rfclib {

namespace {

/*
 * Grows, shrinks or (size 0) frees a block through `allocate`, or the C library without
 * one.
 */
void* reallocate(Allocator allocate, void* old, unsigned long size) {
  if (allocate != nullptr) return allocate(old, size);
  if (size == 0) {
    std::free(old);
    return nullptr;
  }
  return std::realloc(old, size);
}

}  // namespace

void* append_line(Itab& table) {
  if (table.lines == table.capacity) {
    const unsigned grown = table.capacity < 16 ? 16 : table.capacity * 2;
    if (grown <= table.capacity || grown > ULONG_MAX / table.line_length) return nullptr;
    void* data = reallocate(table.allocate, table.data,
                            static_cast<unsigned long>(grown) * table.line_length);
    if (data == nullptr) return nullptr;
    table.data = static_cast<char*>(data);
    table.capacity = grown;
  }
  char* line = table.data + static_cast<std::size_t>(table.lines) * table.line_length;
  std::memset(line, 0, table.line_length);
  ++table.lines;
  return line;
}

void free_lines(Itab& table) {
  if (table.data != nullptr) reallocate(table.allocate, table.data, 0);
  table.data = nullptr;
  table.lines = table.capacity = 0;
}

Itab* new_itab(const char* name, unsigned line_length, Allocator allocate) {
  if (line_length == 0) return nullptr;
  auto* table = new Itab;
  if (name != nullptr) table->name = name;
  table->line_length = line_length;
  table->allocate = allocate;
  return table;
}

void* itab_line(const Itab* table, unsigned line) {
  if (table == nullptr || line < 1 || line > table->lines) return nullptr;
  return table->data + static_cast<std::size_t>(line - 1) * table->line_length;
}

int delete_itab(Itab* table) {
  if (table == nullptr) return 1;
  free_lines(*table);
  delete table;
  return 0;
}

}  // namespace tw::rfclib
