// The data containers of the NetWeaver stand-in: a function's parameters, a structure's
// fields, a table's rows with its cursor.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "error.h"
#include "metadata.h"

namespace tw::nwrfclib {

class Container;

/// The value of one parameter or field.
struct Value {
  std::u16string chars{};             ///< a character element, always of its length
  std::int32_t number = 0;            ///< an integer
  std::unique_ptr<Container> child{};  ///< a structure or table
  bool set = false;                   ///< given by the caller (an importing parameter)
};

class Container {
 public:
  enum class Kind { kFunction, kStructure, kTable };

  /*
   * A container with every value initial (blanks, 0, empty structures and tables).
   */
  static std::unique_ptr<Container> function(const FunctionDesc& function);
  static std::unique_ptr<Container> structure(const TypeDesc& type);
  static std::unique_ptr<Container> table(const TypeDesc& row_type);

  Kind kind() const { return kind_; }
  /*
   * The function of a function container; NULL for the others.
   */
  const FunctionDesc* function_desc() const { return function_; }
  /*
   * The type of a structure, the row type of a table; NULL for a function.
   */
  const TypeDesc* type_desc() const { return type_; }
  /*
   * The parameters of a function, the fields of a structure or table row.
   */
  const std::vector<Element>& elements() const;

  /// The handle once one was handed out; 0 before.
  std::uintptr_t id = 0;
  /// One value per element (function, structure).
  std::vector<Value> values;
  /// The rows of a table, and its cursor (-1: on no row).
  std::vector<std::unique_ptr<Container>> rows;
  long cursor = -1;

 private:
  Container(Kind kind, const FunctionDesc* function, const TypeDesc* type);

  Kind kind_;
  const FunctionDesc* function_;
  const TypeDesc* type_;
};

/*
 * Sets a value to the initial one of its element.
 */
void make_initial(Value& value, const Element& element);

/*
 * The container whose fields a getter or setter of `container` reaches: a table's current
 * row, else the container itself. NULL with `error` set when a table's cursor is on no row.
 */
Container* fields_of(Container& container, Error& error);

/*
 * The value of the element `name` of `container` with its element; NULL with `error` set
 * (RFC_INVALID_PARAMETER, "field 'NAME' not found") when there is none.
 */
Value* find_value(Container& container, std::u16string_view name, const Element*& element,
                  Error& error);

/*
 * Fills the fields of a structure (or row) from its flat record as the partner sends it:
 * each field the bytes at its "nuc" offset and length, a character field decoded and
 * padded or cut to its length, an integer field read as decimal text (0 when it is none).
 */
void fill_from_record(Container& structure, std::string_view record);

/*
 * The flat record of a structure (or row) as the partner expects it: each character field
 * in UTF-8, cut to whole characters within its "nuc" length and padded with blanks; each
 * integer field as decimal text, padded alike.
 */
std::string record_of(const Container& structure);

/*
 * A value of a character element in the partner's bytes, as record_of writes a field.
 */
std::string bytes_of(std::u16string_view chars, std::size_t length);

}  // namespace tw::nwrfclib
