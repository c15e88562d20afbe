#include "connect_text.h"

#include <gtest/gtest.h>

namespace tw::rfclib {
namespace {

TEST(ConnectText, ReadsKeysInAnyCaseAndValuesAsWritten) {
  ConnectText text;
  std::string error;
  ASSERT_TRUE(parse_connect_text("  client=100 User=Monitor\tPASSWD=Se=cret  lang=E dest=PRD "
                                 "TRACE=0",
                                 text, error))
      << error;
  EXPECT_EQ(text.client, "100");
  EXPECT_EQ(text.user, "Monitor");
  EXPECT_EQ(text.password, "Se=cret");
  EXPECT_EQ(text.language, "E");
  EXPECT_EQ(text.destination, "PRD");
}

TEST(ConnectText, MissingValuesStayEmpty) {
  ConnectText text;
  std::string error;
  ASSERT_TRUE(parse_connect_text("DEST=PRD PASSWD=", text, error)) << error;
  EXPECT_EQ(text.password, "");
  EXPECT_EQ(text.client, "");
}

TEST(ConnectText, BadTextsAreRefusedWithoutQuotingThem) {
  ConnectText text;
  std::string error;
  EXPECT_FALSE(parse_connect_text("CLIENT=100 USER=U PASSWD=two words DEST=PRD", text, error));
  EXPECT_EQ(error.find("words"), std::string::npos) << error;
  EXPECT_FALSE(parse_connect_text("=secret DEST=PRD", text, error));
  EXPECT_EQ(error.find("secret"), std::string::npos) << error;
  EXPECT_FALSE(parse_connect_text("CLIENT=100 USER=U PASSWD=p", text, error));
  EXPECT_NE(error.find("DEST"), std::string::npos);
  EXPECT_FALSE(parse_connect_text("DEST=", text, error));
}

TEST(ConnectText, QuotedValuesKeepTheirBlanks) {
  ConnectText text;
  std::string error;
  ASSERT_TRUE(parse_connect_text("CLIENT=100 USER=U PASSWD=\"pw DEST=QAS\" LANG=D DEST=PRD",
                                 text, error))
      << error;
  EXPECT_EQ(text.password, "pw DEST=QAS");
  EXPECT_EQ(text.destination, "PRD");
  ASSERT_TRUE(parse_connect_text("PASSWD=\"\" DEST=\"P R D\"", text, error)) << error;
  EXPECT_EQ(text.password, "");
  EXPECT_EQ(text.destination, "P R D");
}

TEST(ConnectText, AmbiguousQuotesAreRefused) {
  ConnectText text;
  std::string error;
  for (const char* bad : {"PASSWD=\"open DEST=PRD", "PASSWD=\"a\"b DEST=PRD",
                          "PASSWD=a\"b DEST=PRD", "PASSWD=a\" DEST=PRD"}) {
    EXPECT_FALSE(parse_connect_text(bad, text, error)) << bad;
    EXPECT_NE(error.find("PASSWD"), std::string::npos) << error;
    EXPECT_EQ(error.find("open"), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace tw::rfclib
