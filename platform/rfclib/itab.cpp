// The internal table functions of the C API.
#include "itab.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "api_guard.h"
#include "library_state.h"
#include "report_error.h"
#include "saprfc.h"

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

/*
 * Reports that memory ran out in `operation` (the error handler is called).
 */
void out_of_memory(const char* operation) {
  report_error({.operation = operation, .rc = RFC_MEMORY_INSUFFICIENT, .key = kKeyResource,
                .text = "memory insufficient", .call_handler = true},
               RFC_HERE);
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

}  // namespace tw::rfclib

using tw::rfclib::guarded;
using tw::rfclib::Itab;

/*
 * A new empty table of lines of `line_length` bytes; NULL for a line length of 0, or when
 * memory runs out (the error handler is called). `occurs` and `memory` are hints only.
 */
extern "C" ITAB_H SAP_API ItCreate(char* name, unsigned line_length, unsigned /*occurs*/,
                           unsigned /*memory*/) {
  return guarded("ItCreate", ITAB_H{nullptr}, [&]() -> ITAB_H {
    if (line_length == 0) return nullptr;
    auto* table = new Itab;
    if (name != nullptr) table->name = name;
    table->line_length = line_length;
    table->allocate = tw::rfclib::state().environment.allocate;
    return table;
  });
}

/*
 * The number of lines; 0 for NULL.
 */
extern "C" unsigned SAP_API ItFill(ITAB_H table) {
  return guarded("ItFill", 0u,
                 [&] { return table == nullptr ? 0u : static_cast<Itab*>(table)->lines; });
}

/*
 * Line `line` (from 1); NULL for NULL or a line out of range.
 */
extern "C" void* SAP_API ItGetLine(ITAB_H handle, unsigned line) {
  return guarded("ItGetLine", static_cast<void*>(nullptr), [&]() -> void* {
    if (handle == nullptr) return nullptr;
    const auto* table = static_cast<const Itab*>(handle);
    if (line < 1 || line > table->lines) return nullptr;
    return table->data + static_cast<std::size_t>(line - 1) * table->line_length;
  });
}

/*
 * Appends a zero-filled line and returns it; NULL for NULL, or when memory runs out (the
 * error handler is called).
 */
extern "C" void* SAP_API ItAppLine(ITAB_H handle) {
  if (handle == nullptr) return nullptr;
  return guarded("ItAppLine", static_cast<void*>(nullptr), [&]() -> void* {
    void* line = tw::rfclib::append_line(*static_cast<Itab*>(handle));
    if (line == nullptr) tw::rfclib::out_of_memory("ItAppLine");
    return line;
  });
}

/*
 * Frees a table and its lines. Returns 0, or 1 for NULL.
 */
extern "C" int SAP_API ItDelete(ITAB_H handle) {
  if (handle == nullptr) return 1;
  return guarded("ItDelete", 1, [&] {
    auto* table = static_cast<Itab*>(handle);
    tw::rfclib::free_lines(*table);
    delete table;
    return 0;
  });
}
