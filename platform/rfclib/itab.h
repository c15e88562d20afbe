// Internal tables: lines of a fixed length in one growing block of memory.
#pragma once

#include <string>

#include "saprfc.h"

namespace tw::rfclib {

/// The allocator of RFC_ENV: realloc-like, size 0 frees.
using Allocator = RFC_ALLOCATE;

/// What an ITAB_H points to.
struct Itab {
  std::string name;
  unsigned line_length = 0;
  unsigned lines = 0;
  unsigned capacity = 0;  ///< lines that fit in `data`
  char* data = nullptr;
  Allocator allocate = nullptr;  ///< NULL: the C library's realloc and free
};

/*
 * Appends a zero-filled line and returns it; NULL when memory runs out (the table is then
 * unchanged). Pointers to earlier lines may move.
 */
void* append_line(Itab& table);

/*
 * Frees the lines of a table (not the table itself).
 */
void free_lines(Itab& table);

/*
 * A new empty table of lines of `line_length` bytes whose memory comes from `allocate`;
 * NULL for a line length of 0. Throws std::bad_alloc when memory runs out.
 */
Itab* new_itab(const char* name, unsigned line_length, Allocator allocate);

/*
 * Line `line` (from 1); NULL for NULL or a line out of range.
 */
void* itab_line(const Itab* table, unsigned line);

/*
 * Frees a table and its lines. Returns 0, or 1 for NULL.
 */
int delete_itab(Itab* table);

}  // namespace tw::rfclib

/* Appends a zero-filled row to a table and returns it; NULL for NULL, or when memory runs
 * out (the error handler is called). The library's own: it fills the tables of a call. */
extern "C" void* SAP_API ItAppLine(ITAB_H table);

