#include "wire.h"

#include <algorithm>
#include <limits>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace tw::wire {

namespace {

/*
 * Appends fields to a payload. Every append checks the limit that the decoder will check;
 * the first breach is kept in `error` and makes the writer fail.
 */
class Writer {
 public:
  void u8(std::uint8_t value) { out_.push_back(static_cast<char>(value)); }
  void u32(std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) u8(static_cast<std::uint8_t>(value >> shift));
  }
  void text(std::string_view value, std::size_t limit, const char* what) {
    if (value.size() > limit) fail(std::string(what) + " longer than " + std::to_string(limit));
    u32(static_cast<std::uint32_t>(value.size()));
    out_.append(value);
  }
  void name(std::string_view value, const char* what) {
    if (value.empty()) fail(std::string(what) + " without a name");
    text(value, kMaxName, what);
  }
  void count(std::size_t value, std::uint32_t limit, const char* what) {
    if (value > limit) fail("more than " + std::to_string(limit) + " " + what);
    u32(static_cast<std::uint32_t>(value));
  }
  void fail(std::string error) {
    if (error_.empty()) error_ = std::move(error);
  }
  std::string& out() { return out_; }
  const std::string& error() const { return error_; }

 private:
  std::string out_;
  std::string error_;
};

/*
 * Reads fields from a payload. Every read checks the bytes that remain; the first failure
 * is kept in `error` and every later read yields empty values, so a decoder can read on
 * and test `ok()` at its decision points.
 */
class Reader {
 public:
  explicit Reader(std::string_view bytes) : rest_(bytes) {}
  bool ok() const { return error_.empty(); }
  std::size_t remaining() const { return rest_.size(); }
  const std::string& error() const { return error_; }
  void fail(std::string error) {
    if (error_.empty()) error_ = std::move(error);
    rest_ = {};
  }

  std::uint8_t u8(const char* what) {
    if (rest_.empty()) {
      fail(std::string(what) + " runs past the end of the frame");
      return 0;
    }
    const auto value = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return value;
  }
  std::uint32_t u32(const char* what) {
    if (rest_.size() < 4) {
      fail(std::string(what) + " runs past the end of the frame");
      return 0;
    }
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<std::uint8_t>(rest_[i]);
    rest_.remove_prefix(4);
    return value;
  }
  std::string text(std::size_t limit, const char* what) {
    const std::uint32_t length = u32(what);
    if (!ok()) return {};
    if (length > limit) {
      fail(std::string(what) + " of " + std::to_string(length) + " bytes exceeds " +
           std::to_string(limit));
      return {};
    }
    if (length > rest_.size()) {
      fail(std::string(what) + " of " + std::to_string(length) + " bytes runs past the end" +
           " of the frame (" + std::to_string(rest_.size()) + " left)");
      return {};
    }
    std::string value(rest_.substr(0, length));
    rest_.remove_prefix(length);
    return value;
  }
  std::string name(const char* what) {
    std::string value = text(kMaxName, what);
    if (ok() && value.empty()) fail(std::string(what) + " is empty");
    return value;
  }
  /* A count of items each taking at least `min_item` bytes: never more than can fit. */
  std::uint32_t count(std::uint32_t limit, std::size_t min_item, const char* what) {
    const std::uint32_t value = u32(what);
    if (!ok()) return 0;
    if (value > limit) {
      fail(std::string(what) + " " + std::to_string(value) + " exceeds " + std::to_string(limit));
      return 0;
    }
    if (value > rest_.size() / min_item) {
      fail(std::string(what) + " " + std::to_string(value) + " cannot fit in the " +
           std::to_string(rest_.size()) + " bytes left");
      return 0;
    }
    return value;
  }

 private:
  std::string_view rest_;
  std::string error_;
};

/*
 * Writes a parameter list: its count, then name, kind and value of each parameter.
 */
void write_values(Writer& w, const std::vector<Value>& values) {
  w.count(values.size(), kMaxParameters, "parameters");
  for (const Value& value : values) {
    w.name(value.name, "parameter");
    if (value.kind != ValueKind::kChar && value.kind != ValueKind::kInt)
      w.fail("parameter " + value.name + " of an unknown kind");
    if (value.kind == ValueKind::kInt && value.bytes.size() != 4)
      w.fail("integer parameter " + value.name + " not of 4 bytes");
    w.u8(static_cast<std::uint8_t>(value.kind));
    w.text(value.bytes, kMaxPayload, "parameter value");
  }
}

/*
 * Writes a table list: its count, then name, line length, row count and rows of each.
 */
void write_tables(Writer& w, const std::vector<Table>& tables) {
  w.count(tables.size(), kMaxTables, "tables");
  for (const Table& table : tables) {
    w.name(table.name, "table");
    if (table.line_length == 0 || table.line_length > kMaxLineLength)
      w.fail("table " + table.name + " with a line length of " +
             std::to_string(table.line_length));
    w.u32(table.line_length);
    w.u32(static_cast<std::uint32_t>(table.rows.size()));
    for (const std::string& row : table.rows) {
      if (row.size() > table.line_length)
        w.fail("row of table " + table.name + " longer than its line");
      w.text(row, kMaxLineLength, "row");
    }
  }
}

/* Smallest encodings: a name of one byte; a value; a table without rows; a field; a
   parameter without type and fields. */
constexpr std::size_t kMinValue = 4 + 1 + 1 + 4;
constexpr std::size_t kMinTable = 4 + 1 + 4 + 4;
constexpr std::size_t kMinRow = 4;
constexpr std::size_t kMinField = 4 + 1 + 1 + 4;
constexpr std::size_t kMinParameter = 4 + 1 + 1 + 1 + 4 + 4 + 4;

/*
 * Reads a list of named items: its count (at most `limit`, each item taking at least
 * `min_item` bytes; `what` names the count), then each item by `read_item`. A name given
 * twice fails the reader ("KIND NAME given twice").
 */
template <typename ReadItem>
auto read_list(Reader& r, std::uint32_t limit, std::size_t min_item, const char* what,
               const char* kind, ReadItem read_item) {
  std::vector<decltype(read_item())> items;
  const std::uint32_t count = r.count(limit, min_item, what);
  std::set<std::string> seen;
  for (std::uint32_t i = 0; i < count && r.ok(); ++i) {
    items.push_back(read_item());
    const std::string& name = items.back().name;
    if (r.ok() && !seen.insert(name).second)
      r.fail(std::string(kind) + " " + name + " given twice");
  }
  return items;
}

/*
 * Reads a parameter list as write_values writes it; a name given twice, an unknown kind
 * or an integer of other than 4 bytes fails the reader.
 */
std::vector<Value> read_values(Reader& r) {
  return read_list(r, kMaxParameters, kMinValue, "parameter count", "parameter", [&r] {
    Value value;
    value.name = r.name("parameter name");
    const std::uint8_t kind = r.u8("parameter kind");
    value.bytes = r.text(kMaxPayload, "parameter value");
    if (!r.ok()) return value;
    if (kind == static_cast<std::uint8_t>(ValueKind::kChar)) {
      value.kind = ValueKind::kChar;
    } else if (kind == static_cast<std::uint8_t>(ValueKind::kInt)) {
      value.kind = ValueKind::kInt;
      if (value.bytes.size() != 4)
        r.fail("integer parameter " + value.name + " has " + std::to_string(value.bytes.size()) +
               " bytes, not 4");
    } else {
      r.fail("parameter " + value.name + " has the unknown kind " + std::to_string(kind));
    }
    return value;
  });
}

/*
 * Reads a table list as write_tables writes it; a line length out of range, a name given
 * twice or a row longer than its line fails the reader.
 */
std::vector<Table> read_tables(Reader& r) {
  return read_list(r, kMaxTables, kMinTable, "table count", "table", [&r] {
    Table table;
    table.name = r.name("table name");
    table.line_length = r.u32("line length");
    if (r.ok() && (table.line_length == 0 || table.line_length > kMaxLineLength))
      r.fail("table " + table.name + " has the line length " + std::to_string(table.line_length));
    const std::uint32_t rows = r.count(std::numeric_limits<std::uint32_t>::max(), kMinRow, "row count");
    table.rows.reserve(rows);
    for (std::uint32_t k = 0; k < rows && r.ok(); ++k) {
      std::string row = r.text(kMaxLineLength, "row");
      if (r.ok() && row.size() > table.line_length)
        r.fail("row " + std::to_string(k + 1) + " of table " + table.name + " has " +
               std::to_string(row.size()) + " bytes, its line " +
               std::to_string(table.line_length));
      table.rows.push_back(std::move(row));
    }
    return table;
  });
}

/*
 * The index of the first field whose name an earlier field has too; the number of fields
 * when all names differ.
 */
std::size_t first_repeated_name(const std::vector<Field>& fields) {
  std::vector<std::string_view> names;
  names.reserve(fields.size());
  for (const Field& f : fields) names.push_back(f.name);
  std::sort(names.begin(), names.end());
  if (std::adjacent_find(names.begin(), names.end()) == names.end()) return fields.size();
  std::set<std::string_view> seen;
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (!seen.insert(fields[i].name).second) return i;
  return fields.size();
}

/*
 * Why a parameter of an interface breaks the rules, or empty when it keeps them: a known
 * direction and kind, a table exactly for direction kTables; a character length of 1 to
 * kMaxLineLength, 4 for an integer; a structure or table with a type name and 1 to
 * kMaxFields fields of unique names whose lengths add up to at most kMaxLineLength, every
 * other parameter without them.
 */
std::string parameter_problem(const Parameter& p) {
  // Built only for a problem: most parameters have none.
  const auto what = [&p] { return "parameter " + p.name; };
  const auto direction = static_cast<std::uint8_t>(p.direction);
  if (direction != 1 && direction != 2 && direction != 3 && direction != 7)
    return what() + " has the unknown direction " + std::to_string(direction);
  const bool tables = p.direction == Direction::kTables;
  switch (p.kind) {
    case ElementKind::kChar:
    case ElementKind::kInt:
      if (tables) return what() + " of direction tables is no table";
      if (!p.type.empty() || !p.fields.empty()) return what() + " has fields but no structure";
      if (p.kind == ElementKind::kInt ? p.length != 4
                                      : p.length == 0 || p.length > kMaxLineLength)
        return what() + " has the length " + std::to_string(p.length);
      return {};
    case ElementKind::kStructure:
    case ElementKind::kTable:
      break;
    default:
      return what() + " has the unknown kind " + std::to_string(static_cast<int>(p.kind));
  }
  if (tables != (p.kind == ElementKind::kTable)) return what() + " is a table of another direction";
  if (p.length != 0) return what() + " has a length of its own";
  if (p.type.empty() || p.type.size() > kMaxName) return what() + " has no valid type name";
  if (p.fields.empty() || p.fields.size() > kMaxFields)
    return what() + " has " + std::to_string(p.fields.size()) + " fields";
  const std::size_t repeated = first_repeated_name(p.fields);
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < p.fields.size(); ++i) {
    const Field& f = p.fields[i];
    if (f.name.empty() || f.name.size() > kMaxName) return what() + " has a field without a name";
    if (i == repeated) return what() + " has the field " + f.name + " twice";
    const bool fits = f.kind == ElementKind::kInt
                          ? f.length == 4
                          : f.kind == ElementKind::kChar && f.length >= 1 &&
                                f.length <= kMaxLineLength;
    if (!fits)
      return what() + " has the field " + f.name + " of kind " +
             std::to_string(static_cast<int>(f.kind)) + " and length " + std::to_string(f.length);
    total += f.length;
  }
  if (total > kMaxLineLength) return what() + " is longer than " + std::to_string(kMaxLineLength);
  return {};
}

/*
 * Writes a parameter list: its count, then name, direction, kind, length, type name and
 * fields (each name, kind, length) of each parameter.
 */
void write_parameters(Writer& w, const std::vector<Parameter>& parameters) {
  w.count(parameters.size(), kMaxParameters, "parameters");
  std::set<std::string> seen;
  for (const Parameter& p : parameters) {
    w.name(p.name, "parameter");
    if (!seen.insert(p.name).second) w.fail("parameter " + p.name + " given twice");
    const std::string problem = parameter_problem(p);
    if (!problem.empty()) w.fail(problem);
    w.u8(static_cast<std::uint8_t>(p.direction));
    w.u8(static_cast<std::uint8_t>(p.kind));
    w.u32(p.length);
    w.text(p.type, kMaxName, "type name");
    w.count(p.fields.size(), kMaxFields, "fields");
    for (const Field& f : p.fields) {
      w.name(f.name, "field");
      w.u8(static_cast<std::uint8_t>(f.kind));
      w.u32(f.length);
    }
  }
}

/*
 * Reads a parameter list as write_parameters writes it; a parameter that breaks the rules
 * of parameter_problem, or a name given twice, fails the reader.
 */
std::vector<Parameter> read_parameters(Reader& r) {
  return read_list(r, kMaxParameters, kMinParameter, "parameter count", "parameter", [&r] {
    Parameter p;
    p.name = r.name("parameter name");
    p.direction = static_cast<Direction>(r.u8("direction"));
    p.kind = static_cast<ElementKind>(r.u8("kind"));
    p.length = r.u32("length");
    p.type = r.text(kMaxName, "type name");
    const std::uint32_t fields = r.count(kMaxFields, kMinField, "field count");
    for (std::uint32_t k = 0; k < fields && r.ok(); ++k) {
      Field f;
      f.name = r.name("field name");
      f.kind = static_cast<ElementKind>(r.u8("field kind"));
      f.length = r.u32("field length");
      p.fields.push_back(std::move(f));
    }
    if (r.ok()) {
      const std::string problem = parameter_problem(p);
      if (!problem.empty()) r.fail(problem);
    }
    return p;
  });
}

/*
 * The payload of each message type, field by field in wire order.
 */
void write_payload(Writer& w, const Logon& m) {
  w.text(m.ashost, kMaxLogonText, "ashost");
  w.text(m.sysnr, kMaxLogonText, "sysnr");
  w.text(m.client, kMaxLogonText, "client");
  w.text(m.user, kMaxLogonText, "user");
  w.text(m.password, kMaxLogonText, "password");
  w.text(m.language, kMaxLogonText, "language");
  w.u8(m.check_now ? 1 : 0);
}
void write_payload(Writer& w, const LogonAccepted& m) { w.text(m.system, kMaxLogonText, "system"); }
void write_payload(Writer& w, const LogonRefused& m) {
  w.u8(static_cast<std::uint8_t>(m.reason));
  w.text(m.text, kMaxText, "text");
}
void write_payload(Writer& w, const Call& m) {
  w.name(m.function, "function");
  write_values(w, m.parameters);
  write_tables(w, m.tables);
}
void write_payload(Writer& w, const Reply& m) {
  write_values(w, m.parameters);
  write_tables(w, m.tables);
}
void write_payload(Writer& w, const Fault& m) {
  if (m.code == 0 || m.code > kMaxFaultCode)
    w.fail("fault with the return code " + std::to_string(m.code));
  w.u32(m.code);
  w.text(m.exception, kMaxText, "exception");
  w.text(m.text, kMaxText, "text");
}
void write_payload(Writer& w, const Abort& m) { w.text(m.text, kMaxText, "text"); }
void write_payload(Writer& w, const Describe& m) { w.name(m.function, "function"); }
void write_payload(Writer& w, const Interface& m) {
  w.name(m.function, "function");
  write_parameters(w, m.parameters);
}

/*
 * The readers of the payloads with fields beyond plain texts; each mirrors its
 * write_payload and fails the reader on a value out of range.
 */
Message read_logon(Reader& r) {
  Logon m;
  m.ashost = r.text(kMaxLogonText, "ashost");
  m.sysnr = r.text(kMaxLogonText, "sysnr");
  m.client = r.text(kMaxLogonText, "client");
  m.user = r.text(kMaxLogonText, "user");
  m.password = r.text(kMaxLogonText, "password");
  m.language = r.text(kMaxLogonText, "language");
  const std::uint8_t check = r.u8("check flag");
  if (r.ok() && check > 1) r.fail("check flag " + std::to_string(check) + " is neither 0 nor 1");
  m.check_now = check == 1;
  return m;
}

Message read_refused(Reader& r) {
  LogonRefused m;
  const std::uint8_t reason = r.u8("refusal reason");
  if (r.ok() && reason != 1 && reason != 2)
    r.fail("unknown refusal reason " + std::to_string(reason));
  m.reason = static_cast<RefusalReason>(reason);
  m.text = r.text(kMaxText, "text");
  return m;
}

Message read_call(Reader& r) {
  Call m;
  m.function = r.name("function name");
  m.parameters = read_values(r);
  m.tables = read_tables(r);
  return m;
}

Message read_reply(Reader& r) {
  Reply m;
  m.parameters = read_values(r);
  m.tables = read_tables(r);
  return m;
}

Message read_fault(Reader& r) {
  Fault m;
  m.code = r.u32("return code");
  if (r.ok() && (m.code == 0 || m.code > kMaxFaultCode))
    r.fail("fault with the return code " + std::to_string(m.code) + ", not 1 to " +
           std::to_string(kMaxFaultCode));
  m.exception = r.text(kMaxText, "exception");
  m.text = r.text(kMaxText, "text");
  return m;
}

}  // namespace

static_assert(std::variant_size_v<Message> == static_cast<std::size_t>(Type::kInterface));

std::string int_bytes(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return {static_cast<char>(bits >> 24), static_cast<char>(bits >> 16),
          static_cast<char>(bits >> 8), static_cast<char>(bits)};
}

std::int32_t int_of(std::string_view bytes) {
  std::uint32_t bits = 0;
  for (char c : bytes) bits = (bits << 8) | static_cast<std::uint8_t>(c);
  return static_cast<std::int32_t>(bits);
}

Type type_of(const Message& message) {
  // The alternatives of Message are in the order of their type numbers.
  return static_cast<Type>(message.index() + 1);
}

bool encode(const Message& message, std::string& frame, std::string& error) {
  Writer w;
  for (char c : kMagic) w.u8(static_cast<std::uint8_t>(c));
  w.u8(kVersion);
  w.u8(static_cast<std::uint8_t>(type_of(message)));
  w.u8(0);
  w.u8(0);
  w.u32(0);  // length, set below
  std::visit([&w](const auto& m) { write_payload(w, m); }, message);
  const std::size_t payload = w.out().size() - kHeaderSize;
  if (payload > kMaxPayload)
    w.fail("payload of " + std::to_string(payload) + " bytes exceeds " +
           std::to_string(kMaxPayload));
  if (!w.error().empty()) {
    error = w.error();
    return false;
  }
  for (int i = 0; i < 4; ++i)
    w.out()[8 + i] = static_cast<char>(static_cast<std::uint32_t>(payload) >> (24 - 8 * i));
  frame = std::move(w.out());
  return true;
}

bool decode_header(std::string_view bytes, Header& header, std::string& error) {
  if (bytes.size() < kHeaderSize) {
    error = "header of " + std::to_string(bytes.size()) + " bytes, not " +
            std::to_string(kHeaderSize);
    return false;
  }
  if (bytes.substr(0, 4) != std::string_view(kMagic, 4)) {
    error = "bad magic";
    return false;
  }
  Reader r(bytes.substr(4, kHeaderSize - 4));
  const std::uint8_t version = r.u8("version");
  const std::uint8_t type = r.u8("type");
  const std::uint8_t reserved1 = r.u8("reserved");
  const std::uint8_t reserved2 = r.u8("reserved");
  const std::uint32_t length = r.u32("length");
  if (version != kVersion) {
    error = "unsupported protocol version " + std::to_string(version);
    return false;
  }
  if (type < static_cast<std::uint8_t>(Type::kLogon) ||
      type > static_cast<std::uint8_t>(Type::kInterface)) {
    error = "unknown message type " + std::to_string(type);
    return false;
  }
  if (reserved1 != 0 || reserved2 != 0) {
    error = "reserved header bytes not zero";
    return false;
  }
  if (length > kMaxPayload) {
    error = "frame of " + std::to_string(length) + " bytes exceeds the limit of " +
            std::to_string(kMaxPayload);
    return false;
  }
  header.type = static_cast<Type>(type);
  header.length = length;
  return true;
}

bool decode_payload(Type type, std::string_view payload, Message& message, std::string& error) {
  if (payload.size() > kMaxPayload) {
    error = "payload exceeds the limit of " + std::to_string(kMaxPayload) + " bytes";
    return false;
  }
  Reader r(payload);
  Message decoded;
  switch (type) {
    case Type::kLogon: decoded = read_logon(r); break;
    case Type::kLogonAccepted: decoded = LogonAccepted{r.text(kMaxLogonText, "system")}; break;
    case Type::kLogonRefused: decoded = read_refused(r); break;
    case Type::kCall: decoded = read_call(r); break;
    case Type::kReply: decoded = read_reply(r); break;
    case Type::kFault: decoded = read_fault(r); break;
    case Type::kAbort: decoded = Abort{r.text(kMaxText, "text")}; break;
    case Type::kDescribe: decoded = Describe{r.name("function name")}; break;
    case Type::kInterface: {
      Interface m;
      m.function = r.name("function name");
      m.parameters = read_parameters(r);
      decoded = std::move(m);
      break;
    }
    default: r.fail("unknown message type " + std::to_string(static_cast<int>(type)));
  }
  if (r.ok() && r.remaining() != 0)
    r.fail(std::to_string(r.remaining()) + " bytes left over after the last field");
  if (!r.ok()) {
    error = r.error();
    return false;
  }
  message = std::move(decoded);
  return true;
}

bool decode_frame(std::string_view frame, Message& message, std::string& error) {
  Header header;
  if (!decode_header(frame, header, error)) return false;
  const std::string_view payload = frame.substr(kHeaderSize);
  if (payload.size() != header.length) {
    error = "frame announces " + std::to_string(header.length) + " payload bytes but has " +
            std::to_string(payload.size());
    return false;
  }
  return decode_payload(header.type, payload, message, error);
}

}  // namespace tw::wire
