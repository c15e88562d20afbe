#include <gtest/gtest.h>

#include "rfc/rfc.h"

namespace tw {
namespace {

ProfileRecord profile_with(std::string password) {
  ProfileRecord profile;
  profile.client = "100";
  profile.user = "MONITOR";
  profile.password = std::move(password);
  profile.destination = "PRD";
  return profile;
}

TEST(ConnectText, ValuesWithoutBlanksAreWrittenAsTheyAre) {
  std::string text, refused;
  ASSERT_TRUE(build_connect_text(profile_with("Se=cret"), text, refused));
  EXPECT_EQ(text, "CLIENT=100 USER=MONITOR PASSWD=Se=cret LANG=D DEST=PRD");
  EXPECT_EQ(refused, "");
}

TEST(ConnectText, ValuesWithBlanksAreQuoted) {
  std::string text, refused;
  ASSERT_TRUE(build_connect_text(profile_with("pw DEST=QAS"), text, refused));
  EXPECT_EQ(text, "CLIENT=100 USER=MONITOR PASSWD=\"pw DEST=QAS\" LANG=D DEST=PRD");
  ProfileRecord profile = profile_with("a\tb");
  profile.destination = "P D";
  ASSERT_TRUE(build_connect_text(profile, text, refused));
  EXPECT_EQ(text, "CLIENT=100 USER=MONITOR PASSWD=\"a\tb\" LANG=D DEST=\"P D\"");
}

TEST(ConnectText, DoubleQuotesAreRefusedWithTheirKey) {
  std::string text = "old", refused;
  EXPECT_FALSE(build_connect_text(profile_with("pw\"x"), text, refused));
  EXPECT_EQ(text, "");
  EXPECT_EQ(refused, "PASSWD");
  ProfileRecord profile = profile_with("ok");
  profile.client = "\"1";
  EXPECT_FALSE(build_connect_text(profile, text, refused));
  EXPECT_EQ(refused, "CLIENT");
}

}  // namespace
}  // namespace tw
