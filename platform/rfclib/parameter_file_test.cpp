#include "parameter_file.h"

#include <gtest/gtest.h>

#include "os/rfc_file_names.h"
#include "test_support.h"

namespace tw::rfclib {
namespace {

const char* const kFile =
    "* comment line\n"
    "/* another comment: DEST=PRD\n"
    "DEST=DEV\n"
    "TYPE=A\n"
    "ASHOST=sapdev\n"
    "SYSNR=00\n"
    "\n"
    "  dest = PRD  \r\n"
    "type=a\r\n"
    "AsHost =  sapprd\r\n"
    "  * ASHOST=commented\r\n"
    "sysnr= 01\r\n"
    "gwhost =gwprd\r\n"
    "GWSERV = sapgw01\r\n"
    "RFC_TRACE=0\r\n"
    "a line without an equals sign\r\n"
    "DEST=QAS\n"
    "TYPE=B\n"
    "mshost = sapqasms\n"
    "MSSERV=3601\n"
    "r3name=QAS\n"
    "Group = SPACE\n"
    "DEST=PRD\n"
    "ASHOST=second-entry\n";

TEST(ParameterFile, FindsTheEntryWithKeysInAnyCaseAndBlanksAroundEquals) {
  const auto prd = find_destination(kFile, "PRD");
  ASSERT_TRUE(prd);
  EXPECT_EQ(prd->name, "PRD");
  EXPECT_EQ(prd->type, "A");
  EXPECT_EQ(prd->ashost, "sapprd");  // the first PRD entry, comments passed over
  EXPECT_EQ(prd->sysnr, "01");
  EXPECT_EQ(prd->gwhost, "gwprd");
  EXPECT_EQ(prd->gwserv, "sapgw01");
}

TEST(ParameterFile, EntriesEndAtTheNextDestLine) {
  const auto dev = find_destination(kFile, "dev");
  ASSERT_TRUE(dev);
  EXPECT_EQ(dev->ashost, "sapdev");
  EXPECT_EQ(dev->gwhost, "");
}

TEST(ParameterFile, LoadBalancingEntriesNameTheMessageServer) {
  const auto qas = find_destination(kFile, "QAS");
  ASSERT_TRUE(qas);
  EXPECT_EQ(qas->type, "B");
  EXPECT_EQ(qas->ashost, "");
  EXPECT_EQ(qas->mshost, "sapqasms");
  EXPECT_EQ(qas->msserv, "3601");
  EXPECT_EQ(qas->r3name, "QAS");
  EXPECT_EQ(qas->group, "SPACE");
  EXPECT_EQ(find_destination(kFile, "PRD")->mshost, "");
}

TEST(ParameterFile, MissingDestinationsAndCommentedOnesAreNotFound) {
  EXPECT_FALSE(find_destination(kFile, "XYZ"));
  EXPECT_FALSE(find_destination("* DEST=PRD\n/*DEST=PRD\n", "PRD"));
  EXPECT_FALSE(find_destination("", "PRD"));
}

TEST(ParameterFile, NameComesFromRfcIniOrDefaults) {
  {
    testing::EnvVar unset("RFC_INI", std::nullopt);
    EXPECT_EQ(parameter_file_name(), kRfcParameterFile);
  }
  testing::EnvVar set("RFC_INI", "/etc/other.ini");
  EXPECT_EQ(parameter_file_name(), "/etc/other.ini");
}

}  // namespace
}  // namespace tw::rfclib
