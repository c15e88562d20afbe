#include "call_data.h"
#include "itab.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tw::rfclib {
namespace {

wire::Value int_value(const char* name, std::int32_t v) {
  const auto b = static_cast<std::uint32_t>(v);
  return {name, wire::ValueKind::kInt,
          {static_cast<char>(b >> 24), static_cast<char>(b >> 16), static_cast<char>(b >> 8),
           static_cast<char>(b)}};
}

TEST(CallData, NamesTakeTheirLengthAndDropTrailingBlanks) {
  EXPECT_EQ(name_of("RFCSI_EXPORT", 0), "RFCSI_EXPORT");
  EXPECT_EQ(name_of("RFCSI_EXPORTxyz", 12), "RFCSI_EXPORT");
  EXPECT_EQ(name_of("TABLE   ", 8), "TABLE");
  EXPECT_EQ(name_of("AB\0CD", 5), "AB");
  EXPECT_EQ(name_of(nullptr, 3), "");
}

TEST(CallData, BuildCallTakesIntegersCharactersAndCurrentRows) {
  std::int32_t number = -42;
  char text[] = "ABCDEFGH";
  char table_name[] = "T";
  ITAB_H itab = ItCreate(table_name, 4, 0, 0);
  std::memcpy(ItAppLine(itab), "row1", 4);
  std::memcpy(ItAppLine(itab), "row2", 4);
  RFC_PARAMETER exporting[] = {{const_cast<char*>("N"), 1, TYPINT, 4, &number},
                               {const_cast<char*>("C"), 1, TYPC, 3, text},
                               {nullptr, 0, 0, 0, nullptr}};
  RFC_TABLE tables[] = {{table_name, 1, TYPC, 4, itab, RFC_ITMODE_BYREFERENCE, 0},
                        {const_cast<char*>("EMPTY"), 5, TYPC, 10, nullptr,
                         RFC_ITMODE_BYREFERENCE, 0},
                        {nullptr, 0, 0, 0, nullptr, RFC_ITMODE_BYREFERENCE, 0}};
  wire::Call call;
  std::string error;
  ASSERT_TRUE(build_call("FUNC", exporting, tables, call, error)) << error;
  EXPECT_EQ(call.function, "FUNC");
  ASSERT_EQ(call.parameters.size(), 2u);
  EXPECT_EQ(call.parameters[0], int_value("N", -42));
  EXPECT_EQ(call.parameters[1], (wire::Value{"C", wire::ValueKind::kChar, "ABC"}));
  ASSERT_EQ(call.tables.size(), 2u);
  EXPECT_EQ(call.tables[0], (wire::Table{"T", 4, {"row1", "row2"}}));
  EXPECT_EQ(call.tables[1], (wire::Table{"EMPTY", 10, {}}));
  ItDelete(itab);

  RFC_PARAMETER missing[] = {{const_cast<char*>("X"), 1, TYPC, 3, nullptr},
                             {nullptr, 0, 0, 0, nullptr}};
  EXPECT_FALSE(build_call("FUNC", missing, nullptr, call, error));
  EXPECT_NE(error.find("X"), std::string::npos);
}

TEST(CallData, ImportingParametersAreMatchedByNameAndPadded) {
  wire::Reply reply;
  reply.parameters = {{"TEXT", wire::ValueKind::kChar, "abc"},
                      {"LONG", wire::ValueKind::kChar, "abcdefgh"},
                      int_value("NUMBER", 123456),
                      {"DIGITS", wire::ValueKind::kChar, "  -17 "},
                      int_value("INTASTEXT", 99),
                      {"UNASKED", wire::ValueKind::kChar, "zzz"}};
  char text[6], long_text[4], as_text[4], untouched[3] = {'u', 'u', 'u'};
  int number = 0, digits = 0;
  RFC_PARAMETER importing[] = {{const_cast<char*>("text"), 4, TYPC, 6, text},
                               {const_cast<char*>("LONG"), 4, TYPC, 4, long_text},
                               {const_cast<char*>("NUMBER"), 6, TYPINT, 4, &number},
                               {const_cast<char*>("DIGITS"), 6, TYPINT, 4, &digits},
                               {const_cast<char*>("INTASTEXT"), 9, TYPC, 4, as_text},
                               {const_cast<char*>("MISSING"), 7, TYPC, 3, untouched},
                               {nullptr, 0, 0, 0, nullptr}};
  fill_importing(reply, importing);
  EXPECT_EQ(std::string(text, 6), "abc   ");
  EXPECT_EQ(std::string(long_text, 4), "abcd");
  EXPECT_EQ(number, 123456);
  EXPECT_EQ(digits, -17);
  EXPECT_EQ(std::string(as_text, 4), "99  ");
  EXPECT_EQ(std::string(untouched, 3), "uuu");
}

TEST(CallData, RowsAreCheckedThenAppendedBlankPadded) {
  wire::Reply reply;
  reply.tables = {{"T", 10, {"ab", "abcdef"}}, {"OTHER", 100, {std::string(100, 'o')}}};
  char name[] = "T";
  ITAB_H itab = ItCreate(name, 6, 0, 0);
  RFC_TABLE tables[] = {{name, 1, TYPC, 6, itab, RFC_ITMODE_BYREFERENCE, 0},
                        {const_cast<char*>("NEW"), 3, TYPC, 2, nullptr, RFC_ITMODE_BYREFERENCE, 0},
                        {nullptr, 0, 0, 0, nullptr, RFC_ITMODE_BYREFERENCE, 0}};
  std::string error;
  ASSERT_TRUE(check_reply(reply, tables, error)) << error;  // OTHER is not asked for
  ASSERT_TRUE(append_rows(reply, tables, nullptr));
  ASSERT_EQ(ItFill(itab), 2u);
  EXPECT_EQ(std::string(static_cast<char*>(ItGetLine(itab, 1)), 6), "ab    ");
  EXPECT_EQ(std::string(static_cast<char*>(ItGetLine(itab, 2)), 6), "abcdef");
  EXPECT_EQ(tables[1].ithandle, nullptr);  // no rows for it: no table made

  reply.tables = {{"NEW", 10, {"xy"}}};
  ASSERT_TRUE(append_rows(reply, tables, nullptr));
  ASSERT_NE(tables[1].ithandle, nullptr);  // made for the rows
  EXPECT_EQ(ItFill(tables[1].ithandle), 1u);
  ItDelete(tables[1].ithandle);

  reply.tables = {{"T", 10, {"abcdefg"}}};
  EXPECT_FALSE(check_reply(reply, tables, error));
  EXPECT_EQ(error, "row 1 of table T has 7 bytes, the line 6");
  ItDelete(itab);
}

}  // namespace
}  // namespace tw::rfclib
