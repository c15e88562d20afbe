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
/// Highest return code of a fault (the lowest is 1).
inline constexpr std::uint32_t kMaxFaultCode = 31;

/// Message types, the sixth byte of the header.
enum class Type : std::uint8_t {
  kLogon = 1,
  kLogonAccepted = 2,
  kLogonRefused = 3,
  kCall = 4,
  kReply = 5,
  kFault = 6,
  kAbort = 7,
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

/*
 * An integer as a value of kind kInt holds it: 4 bytes, big-endian.
 */
std::string int_bytes(std::int32_t value);

/*
 * The integer of a value of kind kInt (of fewer than 4 bytes, the ones given).
 */
std::int32_t int_of(const std::string& bytes);

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

/// Any message.
using Message = std::variant<Logon, LogonAccepted, LogonRefused, Call, Reply, Fault, Abort>;

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
