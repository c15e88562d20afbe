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

}  // namespace
}  // namespace tw::rfclib
