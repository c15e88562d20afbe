// The small decisions of the check: encodings, labels meant, remedies for library errors.
#include <gtest/gtest.h>

#include "check/failure_advice.h"
#include "check/label_typos.h"
#include "check/text_encoding.h"

namespace tw::check {
namespace {

TEST(TextEncoding, ByteOrderMarks) {
  EXPECT_EQ(text_encoding("\xEF\xBB\xBF" "Extcompany.:"), TextEncoding::utf8_mark);
  EXPECT_EQ(text_encoding(std::string_view("\xFF\xFE" "E\0", 4)), TextEncoding::utf16_le);
  EXPECT_EQ(text_encoding("\xFE\xFF"), TextEncoding::utf16_be);
  EXPECT_EQ(text_encoding("\xEF\xBB"), TextEncoding::plain);  // cut short: no mark
  EXPECT_EQ(text_encoding(""), TextEncoding::plain);
  EXPECT_EQ(mark_length(TextEncoding::utf8_mark), 3u);
  EXPECT_EQ(mark_length(TextEncoding::utf16_be), 2u);
  EXPECT_EQ(mark_length(TextEncoding::plain), 0u);
}

TEST(IntendedLabel, NearMissesFindTheirLabel) {
  EXPECT_EQ(intended_label("HostName...:"), "Hostname...:");   // letter case
  EXPECT_EQ(intended_label("Hostname..:"), "Hostname...:");    // a dot too few
  EXPECT_EQ(intended_label("  Client.....:"), "Client.....:"); // indented
  EXPECT_EQ(intended_label("Hostnme....:"), "Hostname...:");   // a letter missing
  EXPECT_EQ(intended_label("Passwd:"), "Password...:");        // two letters missing
  EXPECT_EQ(intended_label("Gwservise..:"), "Gwservice..:");   // a letter wrong
  EXPECT_EQ(intended_label("User:"), "User.......:");          // short key words: exact
  EXPECT_EQ(intended_label("Usr:"), "");
  EXPECT_EQ(intended_label("Mod:"), "");
  EXPECT_EQ(intended_label("Comment:"), "");
  EXPECT_EQ(intended_label("...:"), "");
}

TEST(RemedyForLibraryError, TheCauseDecides) {
  const auto remedy = [](std::string_view message, std::string_view status = "") {
    return remedy_for_library_error(message, status);
  };
  // The detail in the internal status tells why the partner was not reached.
  EXPECT_NE(remedy("partner 'gw:3300' not reached", "RfcOpen rc=1 (system unknown to the gateway)")
                .find("Hostname and Sysnr"),
            std::string::npos);
  EXPECT_NE(remedy("partner 'gw:3300' not reached", "RfcOpen rc=1 (connection refused)")
                .find("Gwservice"),
            std::string::npos);
  EXPECT_NE(remedy("partner 'gw:3300' not reached", "(host unknown)").find("Gwhost"),
            std::string::npos);
  EXPECT_NE(remedy("partner 'gw:3300' not reached", "(timed out)").find("firewall"),
            std::string::npos);
  EXPECT_NE(remedy("NAME OR PASSWORD is incorrect (repeat logon)").find("tarnwheel-passwd"),
            std::string::npos);
  EXPECT_NE(remedy("service 'sapgwxx' unknown").find("services file"), std::string::npos);
  EXPECT_NE(remedy("destination 'PRD' not found in 'SapRfc.ini'").find("DEST="),
            std::string::npos);
  EXPECT_NE(remedy("exception NOT_AUTHORIZED raised in call of ADA_LOG_STATISTICS")
                .find("authorization"),
            std::string::npos);
  EXPECT_NE(remedy("timeout during call of RFC_SYSTEM_INFO").find("work processes"),
            std::string::npos);
  EXPECT_NE(remedy("something new").find("trace file"), std::string::npos);
}

}  // namespace
}  // namespace tw::check
