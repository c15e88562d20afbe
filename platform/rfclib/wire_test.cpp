#include "wire.h"

#include <gtest/gtest.h>

#include <string>

namespace tw::wire {
namespace {

/// Builds payload bytes field by field, without any of the encoder's checks.
class Bytes {
 public:
  Bytes& u8(unsigned value) {
    out_.push_back(static_cast<char>(value));
    return *this;
  }
  Bytes& u32(std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) u8((value >> shift) & 0xff);
    return *this;
  }
  Bytes& text(const std::string& value) {
    u32(static_cast<std::uint32_t>(value.size()));
    out_ += value;
    return *this;
  }
  const std::string& str() const { return out_; }

 private:
  std::string out_;
};

std::string header(std::uint8_t type, std::uint32_t length, std::uint8_t version = kVersion) {
  Bytes b;
  for (char c : kMagic) b.u8(static_cast<unsigned char>(c));
  b.u8(version).u8(type).u8(0).u8(0).u32(length);
  return b.str();
}

std::string encoded(const Message& message) {
  std::string frame;
  std::string error;
  EXPECT_TRUE(encode(message, frame, error)) << error;
  return frame;
}

std::string decode_error(Type type, const std::string& payload) {
  Message message;
  std::string error;
  EXPECT_FALSE(decode_payload(type, payload, message, error));
  return error;
}

std::string value_int(std::int32_t v) {
  const auto b = static_cast<std::uint32_t>(v);
  return {static_cast<char>(b >> 24), static_cast<char>(b >> 16), static_cast<char>(b >> 8),
          static_cast<char>(b)};
}

/// One message of each type, with awkward contents: NUL bytes, empty texts and rows.
std::vector<Message> samples() {
  return {
      Logon{"sapprd", "00", "100", "MONITOR     ", std::string("se\0cret", 7), "E", false},
      Logon{"", "", "", "", "", "", true},
      LogonAccepted{"PRD"},
      LogonRefused{RefusalReason::kLogonRejected, "Name or password is incorrect"},
      LogonRefused{RefusalReason::kUnknownSystem, ""},
      Call{"ADA_LOG_STATISTICS",
           {{"X", ValueKind::kChar, ""}, {"N", ValueKind::kInt, value_int(-7)}},
           {{"SHOWMONILOG", 66, {}}, {"T", 3, {"abc", "", std::string("\0\xff", 2)}}}},
      Call{"F", {}, {}},
      Reply{{{"RFCSI_EXPORT", ValueKind::kChar, std::string(200, 'x')}},
            {{"SHOWSTATLOG", 66, {std::string(66, 'r'), "short"}}}},
      Reply{},
      Fault{2, "FUNCTION_NOT_FOUND", ""},
      Fault{kMaxFaultCode, "", "text"},
      Abort{"ABAP runtime error"},
      Describe{"RFC_SYSTEM_INFO"},
      Interface{"RFC_SYSTEM_INFO",
                {{"RFCSI_EXPORT", Direction::kExport, ElementKind::kStructure, 0, "RFCSI",
                  {{"RFCPROTO", ElementKind::kChar, 3}, {"N", ElementKind::kInt, 4}}},
                 {"CURRENT_RESOURCES", Direction::kExport, ElementKind::kInt, 4},
                 {"X", Direction::kChanging, ElementKind::kChar, kMaxLineLength},
                 {"SHOWMONILOG", Direction::kTables, ElementKind::kTable, 0, "ADA_SHOW",
                  {{"R1", ElementKind::kChar, 40}, {"R2", ElementKind::kChar, 26}}}}},
      Interface{"F", {}},
  };
}

/// A well-formed parameter of an interface, to be spoilt one field at a time.
Parameter table_parameter() {
  return {"T", Direction::kTables, ElementKind::kTable, 0, "ROW",
          {{"A", ElementKind::kChar, 2}, {"B", ElementKind::kInt, 4}}};
}

TEST(WireCodec, EveryMessageSurvivesTheRoundTrip) {
  for (const Message& message : samples()) {
    const std::string frame = encoded(message);
    ASSERT_GE(frame.size(), kHeaderSize);
    EXPECT_EQ(frame.substr(0, 4), std::string(kMagic, 4));
    EXPECT_EQ(static_cast<Type>(frame[5]), type_of(message));
    Message decoded;
    std::string error;
    ASSERT_TRUE(decode_frame(frame, decoded, error)) << error;
    EXPECT_EQ(decoded, message) << "type " << static_cast<int>(type_of(message));
  }
}

TEST(WireCodec, HeaderCarriesBigEndianPayloadLength) {
  const std::string frame = encoded(Abort{std::string(300, 'a')});
  Header h;
  std::string error;
  ASSERT_TRUE(decode_header(frame, h, error)) << error;
  EXPECT_EQ(h.type, Type::kAbort);
  EXPECT_EQ(h.length, 304u);
  EXPECT_EQ(frame.size(), kHeaderSize + 304);
  EXPECT_EQ(frame.substr(8, 4), std::string("\0\0\x01\x30", 4));
}

TEST(WireCodec, EncoderRefusesWhatTheDecoderWouldReject) {
  const std::vector<std::pair<Message, std::string>> cases = {
      {Call{std::string(kMaxName + 1, 'F'), {}, {}}, "longer than"},
      {Call{"", {}, {}}, "without a name"},
      {Call{"F", {{"N", ValueKind::kInt, "123"}}, {}}, "not of 4 bytes"},
      {Call{"F", {}, {{"T", 2, {"abc"}}}}, "longer than its line"},
      {Call{"F", {}, {{"T", 0, {}}}}, "line length of 0"},
      {Fault{0, "", ""}, "return code 0"},
      {Fault{kMaxFaultCode + 1, "", ""}, "return code 32"},
      {Logon{std::string(kMaxLogonText + 1, 'h'), "", "", "", "", "", true}, "ashost longer"},
      {Reply{{{"BIG", ValueKind::kChar, std::string(kMaxPayload, 'x')}}, {}}, "exceeds"},
      {Describe{""}, "without a name"},
      {Interface{"F", {table_parameter(), table_parameter()}}, "given twice"},
  };
  for (const auto& [message, expected] : cases) {
    std::string frame = "untouched";
    std::string error;
    EXPECT_FALSE(encode(message, frame, error)) << expected;
    EXPECT_NE(error.find(expected), std::string::npos) << error;
    EXPECT_EQ(frame, "untouched");
  }
}

TEST(WireHeader, RejectsEveryBrokenHeader) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {header(1, 0).substr(0, 11), "header of 11 bytes"},
      {"TWRX" + header(1, 0).substr(4), "bad magic"},
      {header(1, 0, 2), "unsupported protocol version 2"},
      {header(1, 0, 0), "unsupported protocol version 0"},
      {header(0, 0), "unknown message type 0"},
      {header(10, 0), "unknown message type 10"},
      {header(1, kMaxPayload + 1), "exceeds the limit"},
      {header(1, 0xffffffffu), "exceeds the limit"},
  };
  for (const auto& [bytes, expected] : cases) {
    Header h;
    std::string error;
    EXPECT_FALSE(decode_header(bytes, h, error)) << expected;
    EXPECT_NE(error.find(expected), std::string::npos) << error;
  }
  std::string reserved = header(1, 0);
  reserved[7] = 1;
  Header h;
  std::string error;
  EXPECT_FALSE(decode_header(reserved, h, error));
  EXPECT_TRUE(decode_header(header(7, kMaxPayload), h, error)) << error;
}

TEST(WireFrame, LengthMustMatchThePayload) {
  const std::string frame = encoded(Abort{"x"});
  Message m;
  std::string error;
  EXPECT_FALSE(decode_frame(frame + "z", m, error));
  EXPECT_NE(error.find("announces"), std::string::npos);
  EXPECT_FALSE(decode_frame(frame.substr(0, frame.size() - 1), m, error));
}

TEST(WirePayload, EveryTruncationOfEveryMessageIsRejected) {
  for (const Message& message : samples()) {
    const std::string payload = encoded(message).substr(kHeaderSize);
    for (std::size_t size = 0; size < payload.size(); ++size) {
      Message decoded;
      std::string error;
      EXPECT_FALSE(decode_payload(type_of(message), payload.substr(0, size), decoded, error))
          << "type " << static_cast<int>(type_of(message)) << ", " << size << " bytes";
    }
  }
}

TEST(WirePayload, BytesAfterTheLastFieldAreRejected) {
  for (const Message& message : samples()) {
    const std::string payload = encoded(message).substr(kHeaderSize) + "R";
    EXPECT_NE(decode_error(type_of(message), payload).find("left over"), std::string::npos);
  }
}

TEST(WirePayload, RowsBeyondTheAnnouncedCountAreRejected) {
  // A reply announcing one row but carrying two.
  const std::string payload =
      Bytes().u32(0).u32(1).text("T").u32(10).u32(1).text("row1").text("row2").str();
  EXPECT_NE(decode_error(Type::kReply, payload).find("left over"), std::string::npos);
}

TEST(WirePayload, CountsThatCannotFitAreRejectedBeforeAnyAllocation) {
  EXPECT_NE(decode_error(Type::kReply, Bytes().u32(0).u32(1).text("T").u32(10).u32(0xfffffff0u).str())
                .find("cannot fit"),
            std::string::npos);
  EXPECT_NE(decode_error(Type::kReply, Bytes().u32(kMaxParameters + 1).str()).find("exceeds"),
            std::string::npos);
  EXPECT_NE(decode_error(Type::kReply, Bytes().u32(3).str()).find("cannot fit"),
            std::string::npos);
  EXPECT_NE(decode_error(Type::kReply, Bytes().u32(0).u32(kMaxTables + 1).str()).find("exceeds"),
            std::string::npos);
}

TEST(WirePayload, InconsistentLengthsAreRejected) {
  // A text announcing more bytes than remain.
  EXPECT_NE(decode_error(Type::kAbort, Bytes().u32(10).str() + "abc").find("runs past"),
            std::string::npos);
  // A row longer than the line length its table announces.
  EXPECT_NE(decode_error(Type::kReply, Bytes().u32(0).u32(1).text("T").u32(3).u32(1).text("abcd").str())
                .find("has 4 bytes, its line 3"),
            std::string::npos);
  // An integer of 3 bytes.
  EXPECT_NE(decode_error(Type::kReply, Bytes().u32(1).text("N").u8(8).text("abc").u32(0).str())
                .find("not 4"),
            std::string::npos);
}

TEST(WirePayload, OutOfRangeFieldsAreRejected) {
  const std::vector<std::pair<Type, std::string>> cases = {
      {Type::kReply, Bytes().u32(1).text("N").u8(5).text("x").u32(0).str()},  // kind 5
      {Type::kReply, Bytes().u32(0).u32(1).text("T").u32(0).u32(0).str()},    // line 0
      {Type::kReply, Bytes().u32(0).u32(1).text("T").u32(kMaxLineLength + 1).u32(0).str()},
      {Type::kReply, Bytes().u32(1).text("").u8(0).text("x").u32(0).str()},   // empty name
      {Type::kReply, Bytes().u32(1).text(std::string(kMaxName + 1, 'N')).u8(0).text("").u32(0).str()},
      {Type::kLogonRefused, Bytes().u8(3).text("").str()},
      {Type::kLogonRefused, Bytes().u8(0).text("").str()},
      {Type::kLogon, Bytes().text("").text("").text("").text("").text("").text("").u8(2).str()},
      {Type::kFault, Bytes().u32(0).text("").text("").str()},
      {Type::kFault, Bytes().u32(kMaxFaultCode + 1).text("").text("").str()},
      {Type::kFault, Bytes().u32(1).text("").text(std::string(kMaxText + 1, 't')).str()},
      {Type::kCall, Bytes().text("").u32(0).u32(0).str()},
      {static_cast<Type>(0), ""},
      {static_cast<Type>(99), ""},
  };
  for (const auto& [type, payload] : cases) {
    Message m;
    std::string error;
    EXPECT_FALSE(decode_payload(type, payload, m, error)) << static_cast<int>(type);
    EXPECT_FALSE(error.empty());
  }
}

TEST(WireInterface, ParametersThatBreakTheRulesAreRefusedBothWays) {
  std::vector<std::pair<Parameter, std::string>> cases;
  auto spoilt = [&cases](auto change, const char* expected) {
    Parameter p = table_parameter();
    change(p);
    cases.emplace_back(p, expected);
  };
  spoilt([](Parameter& p) { p.direction = static_cast<Direction>(4); }, "unknown direction 4");
  spoilt([](Parameter& p) { p.direction = Direction::kExport; }, "another direction");
  spoilt([](Parameter& p) { p.kind = static_cast<ElementKind>(6); }, "unknown kind 6");
  spoilt([](Parameter& p) { p.kind = ElementKind::kChar; }, "is no table");
  spoilt([](Parameter& p) { p.length = 3; }, "length of its own");
  spoilt([](Parameter& p) { p.type.clear(); }, "no valid type name");
  spoilt([](Parameter& p) { p.fields.clear(); }, "0 fields");
  spoilt([](Parameter& p) { p.fields[1].name = "A"; }, "field A twice");
  spoilt([](Parameter& p) { p.fields[1].length = 8; }, "field B of kind 8 and length 8");
  spoilt([](Parameter& p) { p.fields[0].length = 0; }, "field A of kind 0 and length 0");
  spoilt([](Parameter& p) { p.fields[0].kind = ElementKind::kStructure; }, "field A of kind 17");
  spoilt([](Parameter& p) { p.fields.push_back({"C", ElementKind::kChar, kMaxLineLength}); },
         "longer than 65535");
  spoilt([](Parameter& p) { p = {"S", Direction::kExport, ElementKind::kChar, 0}; },
         "length 0");
  spoilt([](Parameter& p) { p = {"I", Direction::kImport, ElementKind::kInt, 8}; }, "length 8");
  spoilt([](Parameter& p) { p = {"C", Direction::kExport, ElementKind::kChar, 1, "T"}; },
         "fields but no structure");
  for (const auto& [parameter, expected] : cases) {
    std::string frame;
    std::string error;
    EXPECT_FALSE(encode(Interface{"F", {parameter}}, frame, error)) << expected;
    EXPECT_NE(error.find(expected), std::string::npos) << error;
    // The same bytes, written without the encoder's checks, fail the decoder alike.
    Bytes b;
    b.text("F").u32(1).text(parameter.name).u8(static_cast<unsigned>(parameter.direction));
    b.u8(static_cast<unsigned>(parameter.kind)).u32(parameter.length).text(parameter.type);
    b.u32(static_cast<std::uint32_t>(parameter.fields.size()));
    for (const Field& f : parameter.fields)
      b.text(f.name).u8(static_cast<unsigned>(f.kind)).u32(f.length);
    EXPECT_NE(decode_error(Type::kInterface, b.str()).find(expected), std::string::npos)
        << expected;
  }
}

TEST(WireInterface, FieldCountsThatCannotFitAreRejected) {
  const std::string payload = Bytes().text("F").u32(1).text("T").u8(7).u8(5).u32(0).text("ROW")
                                  .u32(kMaxFields).str();
  EXPECT_NE(decode_error(Type::kInterface, payload).find("cannot fit"), std::string::npos);
  EXPECT_NE(decode_error(Type::kInterface, Bytes().text("F").u32(1).text("T").u8(7).u8(5)
                                               .u32(0).text("ROW").u32(kMaxFields + 1).str())
                .find("exceeds"),
            std::string::npos);
}

TEST(WirePayload, DuplicateNamesAreRejected) {
  EXPECT_NE(decode_error(Type::kReply, Bytes()
                                           .u32(2)
                                           .text("P").u8(0).text("a")
                                           .text("P").u8(0).text("b")
                                           .u32(0)
                                           .str())
                .find("given twice"),
            std::string::npos);
  EXPECT_NE(decode_error(Type::kReply, Bytes()
                                           .u32(0)
                                           .u32(2)
                                           .text("T").u32(5).u32(0)
                                           .text("T").u32(5).u32(0)
                                           .str())
                .find("given twice"),
            std::string::npos);
}

}  // namespace
}  // namespace tw::wire
