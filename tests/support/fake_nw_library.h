// A NetWeaver RFC library of the tests' own, behind the bridge's table of entry points: a
// system with the function interfaces a test gives, answering each call with the values a
// test sets, or failing the way a test asks. It keeps what the bridge sent. No SAP header is
// needed to use it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tw::nw {
struct NwApi;
}

namespace tw::testing {

/// A parameter of a function, or a field of a structure or of a table's rows.
struct FakeField {
  enum class Kind { kChars, kInteger, kString, kStructure, kTable };
  std::string name;
  Kind kind = Kind::kChars;
  unsigned length = 0;             ///< characters of a kChars field
  std::vector<FakeField> fields{};  ///< of a structure, or of a table's rows
};

/// One row: field name to value (an integer as its decimal digits).
using FakeRow = std::map<std::string, std::u16string>;

/// A failure as the library reports it.
struct FakeFailure {
  int code = 0;
  int group = 0;
  std::u16string key{};
  std::u16string message{};
};

class FakeNwLibrary {
 public:
  /// The one library of the process, as a loaded library is; reset() before each test.
  static FakeNwLibrary& instance();

  /// Forgets every function, answer, failure and record.
  void reset();

  /// The entry points, for nw::use_api.
  const nw::NwApi* api() const;

  /// The system has function `name` with these parameters.
  void add_function(const std::string& name, std::vector<FakeField> parameters);

  /// Each call answers `path` ("PARAMETER" or "STRUCTURE.FIELD") with `value`.
  void answer(const std::string& path, std::u16string value);

  /// Each call appends `row` to the table parameter `table`.
  void answer_row(const std::string& table, FakeRow row);

  /// The next open, or the next call, fails so.
  void fail_next_open(FakeFailure failure);
  void fail_next_call(FakeFailure failure);

  /// What the bridge did: the logon parameters of the last open (names as given), the
  /// values set in the last call's container ("PARAMETER", "STRUCTURE.FIELD") and its
  /// tables' rows, and how many opens, calls and closes there were.
  std::vector<std::pair<std::u16string, std::u16string>> open_parameters;
  std::map<std::string, std::u16string> inputs;
  std::map<std::string, std::vector<FakeRow>> input_rows;
  int opens = 0, calls = 0, closes = 0;

 private:
  FakeNwLibrary() = default;
};

}  // namespace tw::testing
