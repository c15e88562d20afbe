// The frames that travel between the RFC library and the gateway (docs/wire-protocol.md):
// a fixed header, then a payload of fields. Pure functions over byte buffers, shared by the
// library and the simulated SAP side; nothing here touches a socket.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tw::wire {

inline constexpr char kMagic[4] = {'T', 'W', 'R', 'F'};
inline constexpr std::uint8_t kVersion = 1;
inline constexpr std::size_t kHeaderSize = 12;
/// Largest payload a frame may announce (1 MiB).
inline constexpr std::uint32_t kMaxPayload = 1u << 20;
/// Longest name of a function, parameter or table.
inline constexpr std::size_t kMaxName = 64;
/// Longest text of a logon field.
inline constexpr std::size_t kMaxLogonText = 256;
/// Longest error or exception text.
inline constexpr std::size_t kMaxText = 1024;
/// Most parameters, and most tables, in one message.
inline constexpr std::uint32_t kMaxParameters = 1024;
inline constexpr std::uint32_t kMaxTables = 256;
/// Longest table line.
inline constexpr std::uint32_t kMaxLineLength = 65535;
/// Most fields of a structure or table row in an interface.
inline constexpr std::uint32_t kMaxFields = 1024;
/// Highest return code of a fault (the lowest is 1).
inline constexpr std::uint32_t kMaxFaultCode = 31;
/// The return codes of a fault that raises an exception, and of a system failure.
inline constexpr std::uint32_t kCodeException = 2;
inline constexpr std::uint32_t kCodeSystemFailure = 3;

/// Message types, the sixth byte of the header.
enum class Type : std::uint8_t {
  kLogon = 1,
  kLogonAccepted = 2,
  kLogonRefused = 3,
  kCall = 4,
  kReply = 5,
  kFault = 6,
  kAbort = 7,
  kDescribe = 8,
  kInterface = 9,
};

/// Kinds of a parameter value: the type codes TYPC and TYPINT.
enum class ValueKind : std::uint8_t { kChar = 0, kInt = 8 };

/// Why a logon was refused.
enum class RefusalReason : std::uint8_t { kUnknownSystem = 1, kLogonRejected = 2 };

/// Client to gateway: the target system and the logon. With `check_now` false the gateway
/// checks only the system now and the credentials at the first call.
struct Logon {
  std::string ashost, sysnr, client, user, password, language;
  bool check_now = true;
  bool operator==(const Logon&) const = default;
};

/// Gateway to client: the logon was taken; `system` names the system.
struct LogonAccepted {
  std::string system;
  bool operator==(const LogonAccepted&) const = default;
};

/// Gateway to client: the system is unknown or the credentials were rejected.
struct LogonRefused {
  RefusalReason reason = RefusalReason::kUnknownSystem;
  std::string text;  ///< error text; empty: the receiver's own
  bool operator==(const LogonRefused&) const = default;
};

/// One parameter: a character value, or an integer as 4 bytes big-endian.
struct Value {
  std::string name;
  ValueKind kind = ValueKind::kChar;
  std::string bytes;
  bool operator==(const Value&) const = default;
};

/// One table with its rows; no row is longer than `line_length`.
struct Table {
  std::string name;
  std::uint32_t line_length = 0;
  std::vector<std::string> rows;
  bool operator==(const Table&) const = default;
};

/// Client to gateway: a function call with its exporting parameters and tables.
struct Call {
  std::string function;
  std::vector<Value> parameters;
  std::vector<Table> tables;
  bool operator==(const Call&) const = default;
};

/// Gateway to client: the successful answer, importing parameters and tables.
struct Reply {
  std::vector<Value> parameters;
  std::vector<Table> tables;
  bool operator==(const Reply&) const = default;
};

/// Gateway to client: the call (or logon) ended with return code `code` (1 to kMaxFaultCode).
struct Fault {
  std::uint32_t code = 1;
  std::string exception;  ///< exception name (code 2), may be empty
  std::string text;       ///< error text; empty: the receiver's own
  bool operator==(const Fault&) const = default;
};

/// Gateway to client: the partner gave up; the connection ends.
struct Abort {
  std::string text;
  bool operator==(const Abort&) const = default;
};

/// Client to gateway: asks for the interface of a function. Answered by an INTERFACE, or by
/// a FAULT (exception FU_NOT_FOUND for a function the system does not have).
struct Describe {
  std::string function;
  bool operator==(const Describe&) const = default;
};

/// Kinds of the elements of an interface; the numbers are the NetWeaver type codes.
enum class ElementKind : std::uint8_t { kChar = 0, kTable = 5, kInt = 8, kStructure = 17 };

/// Directions of a parameter, seen from the called function.
enum class Direction : std::uint8_t { kImport = 1, kExport = 2, kChanging = 3, kTables = 7 };

/// One field of a structure or table row: characters, or an integer of 4 bytes.
struct Field {
  std::string name;
  ElementKind kind = ElementKind::kChar;
  std::uint32_t length = 1;  ///< characters of a character field; 4 for an integer
  bool operator==(const Field&) const = default;
};

/// One parameter of a function: characters, an integer, a structure, or (direction kTables
/// only) a table. A structure or table names its type and lists its fields in order.
struct Parameter {
  std::string name;
  Direction direction = Direction::kExport;
  ElementKind kind = ElementKind::kChar;
  std::uint32_t length = 1;   ///< as of a Field; 0 for a structure or table
  std::string type{};         ///< the structure's or row's type; empty for the others
  std::vector<Field> fields{};
  bool operator==(const Parameter&) const = default;
};

/// Gateway to client: the interface of a function.
struct Interface {
  std::string function;
  std::vector<Parameter> parameters;
  bool operator==(const Interface&) const = default;
};

/// Any message.
using Message = std::variant<Logon, LogonAccepted, LogonRefused, Call, Reply, Fault, Abort,
                             Describe, Interface>;

/// What a frame header announces.
struct Header {
  Type type = Type::kLogon;
  std::uint32_t length = 0;  ///< payload bytes that follow
};

/*
 * The type of a message as it goes on the wire.
 */
Type type_of(const Message& message);

/*
 * An integer value as the wire carries it: 4 bytes, two's complement, big-endian; and back
 * (from as many bytes as there are, the last the lowest).
 */
std::string int_bytes(std::int32_t value);
std::int32_t int_of(std::string_view bytes);

/*
 * Encodes a message as a whole frame (header and payload) into `frame`. Returns false,
 * with `error` set and `frame` untouched, when the message breaks a limit the decoder
 * enforces.
 */
bool encode(const Message& message, std::string& frame, std::string& error);

/*
 * Checks the first kHeaderSize bytes of a frame: magic, version, known type, zero
 * reserved bytes, payload length within kMaxPayload. Returns false with `error` set
 * otherwise, or when fewer than kHeaderSize bytes are given.
 */
bool decode_header(std::string_view bytes, Header& header, std::string& error);

/*
 * Decodes the payload of a frame of type `type`. Every length and count is checked
 * against the bytes that remain and the limits above; bytes left over are an error.
 * Returns false with `error` set (and `message` untouched) for anything malformed.
 */
bool decode_payload(Type type, std::string_view payload, Message& message, std::string& error);

/*
 * Decodes exactly one whole frame: header, then a payload of the announced length.
 */
bool decode_frame(std::string_view frame, Message& message, std::string& error);

}  // namespace tw::wire
