// Values of NetWeaver containers in the classic caller's layout, field by field by name.
#pragma once

#include <string>
#include <vector>

#include "rfc/nw/nw_api.h"

namespace tw::nw {

/// A container of the library with the type of its fields (of a table: of its rows).
struct Container {
  DATA_CONTAINER_HANDLE handle;
  RFC_TYPE_DESC_HANDLE type;
};

/// How the fields of a classic shape lie in containers of one type. Made once per type,
/// so that the rows of a table do not look up each field's description again.
struct RecordPlan {
  struct Item {
    const Field* field;
    std::u16string name;
    bool known;           ///< the type has a field of this name
    RFCTYPE type;         ///< its type and length (bytes, two per character) when known
    unsigned uc_length;
  };
  std::vector<Item> items;
  unsigned length = 0;  ///< bytes of the classic record
};

/*
 * The plan of `shape` (which must outlive it) for containers of the type `type`.
 */
RecordPlan plan_record(const NwApi& api, RFC_TYPE_DESC_HANDLE type, const Shape& shape);

/*
 * The fields of a plan read from `container` (of a table: its current row) into `bytes`,
 * `plan.length` bytes in all: characters converted to Windows-1252 ("?" for any other),
 * cut or padded with blanks to the field's length; integers as 4 host-order bytes. A field
 * the container lacks stays blank (characters) or 0. False with `error` set when the
 * library fails.
 */
bool read_record(const NwApi& api, DATA_CONTAINER_HANDLE container, const RecordPlan& plan,
                 std::string& bytes, NwError& error);

/*
 * Sets the fields of a plan in `container` from the classic `bytes`; fields the container
 * lacks are passed over, texts lose their trailing blanks and are cut to the field.
 */
bool write_record(const NwApi& api, DATA_CONTAINER_HANDLE container, const RecordPlan& plan,
                  const std::string& bytes, NwError& error);

/*
 * The parameter `name` of the function container `function` (RFC_FUNCTION_DESC_HANDLE
 * `description`) read as the classic value of `shape`: a structure as its record, an
 * integer field as kInt, anything else as text. False when the function has no such
 * parameter (`error` untouched) or the library fails (`error` set).
 */
bool read_value(const NwApi& api, RFC_FUNCTION_HANDLE function,
                RFC_FUNCTION_DESC_HANDLE description, const Shape& shape, wire::Value& value,
                NwError& error);

/*
 * Sets the parameter of `value` in the function container from its classic bytes; a
 * parameter the function lacks is passed over.
 */
bool write_value(const NwApi& api, RFC_FUNCTION_HANDLE function,
                 RFC_FUNCTION_DESC_HANDLE description, const Shape& shape,
                 const wire::Value& value, NwError& error);

}  // namespace tw::nw
