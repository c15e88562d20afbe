// The data of a call between the C records of the API and the messages on the wire:
// exporting parameters and tables into a call, importing parameters and rows out of a reply.
#pragma once

#include <string>

#include "itab.h"
#include "saprfc.h"
#include "wire.h"

namespace tw::rfclib {

/*
 * The name of a parameter or table: `nlen` bytes (up to a NUL), or the whole text when
 * `nlen` is 0, without trailing blanks.
 */
std::string name_of(const void* name, unsigned nlen);

/*
 * Builds the call of `function`: each exporting parameter (TYPINT as an integer, any other
 * type as its `leng` bytes) and each table with its line length and current rows. Either
 * list may be NULL. Returns false with `error` set for a parameter without a value.
 */
bool build_call(const char* function, const RFC_PARAMETER* exporting, const RFC_TABLE* tables,
                wire::Call& call, std::string& error);

/*
 * Checks that every row the reply holds for a table of `tables` fits that table's line.
 * Returns false with `error` set otherwise.
 */
bool check_reply(const wire::Reply& reply, const RFC_TABLE* tables, std::string& error);

/*
 * Fills the importing parameters that the reply names (names compared without regard to
 * letter case); the others keep their values. A TYPINT parameter gets a native int
 * (a character value is read as a decimal number); any other type gets up to `leng` bytes,
 * blank-padded (an integer value as decimal digits).
 */
void fill_importing(const wire::Reply& reply, RFC_PARAMETER* importing);

/*
 * Appends the reply's rows to the tables of the same names, each row blank-padded to the
 * line length; a table without an internal table gets a new one, its memory from `allocate`.
 * Returns false when memory runs out (the rows appended so far stay).
 */
bool append_rows(const wire::Reply& reply, RFC_TABLE* tables, Allocator allocate);

}  // namespace tw::rfclib
