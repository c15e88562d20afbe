#include "profile/global_profile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "support/temp_dir.h"

namespace tw {
namespace {

using testing::TempDrive;

class ListFiles : public ::testing::Test {
 protected:
  SystemList global(std::string_view content, std::string_view option_upper = "LOGQ",
                    std::string_view argument2 = "logq") {
    drive.write("\\SAP Keswarin.Gbl", content);
    return read_global_profile("\\SAP Keswarin.Gbl", "SAP Keswarin.Gbl", option_upper,
                               argument2);
  }
  SystemList suite(std::string_view content, std::string_view item = "QuePages") {
    drive.write("\\Keswarin.Prf", content);
    return read_suite_profile("\\Keswarin.Prf", "Keswarin.Prf", item);
  }
  TempDrive drive;
};

constexpr const char* kAllocation = "# GSNX: LOGQ       Sensor=\"SAP Tarnwheel\",Item=Que:Pages";

TEST_F(ListFiles, SuiteProfileListsOnlyExactMarkers) {
  const SystemList list = suite(
      "# Gsng: first       PRD.P00#QAS.P00#\r\n"
      "# GSNG: other       NOT.P00#\n"
      "# Gsng:-wrong       NOT.P00#\n"
      "Destination: PRD\n"
      "# Gsng: short\n"
      "# Gsng: second      DEV.P00#");
  EXPECT_EQ(list.error, "");
  EXPECT_EQ(list.listing, "PRD.P00#QAS.P00#DEV.P00#");
  EXPECT_EQ(list.item, "QuePages");
  EXPECT_EQ(list.label_style, '1');
}

TEST_F(ListFiles, SuiteProfileErrors) {
  EXPECT_EQ(read_suite_profile("\\none", "Keswarin.Prf", "x").error,
            "Error 1024: ProFile Keswarin.Prf is missing...");
  EXPECT_EQ(suite("nothing\n").error, "Error 1025: Global Server Listing missing...");
  EXPECT_EQ(suite("# Gsng: a           P.P00#\n", "").error,
            "Error 1026: Global Item Idenification missing...");
}

TEST_F(ListFiles, GlobalProfileMatchesTheSensorField) {
  const SystemList list = global(std::string("# gsng: logq        PRD.P00#\n"
                                             "# GSNG: LOGQ2       NOT.P00#\n"
                                             "# GSNG: LOGQ        QAS.P00#\n") +
                                     kAllocation + ",Alias,Sid\n",
                                 "LOGQ CH=2");
  EXPECT_EQ(list.error, "");
  EXPECT_EQ(list.listing, "PRD.P00#QAS.P00#");
  EXPECT_EQ(list.item, "Que Pages");
  EXPECT_EQ(list.label_style, '4');
  EXPECT_TRUE(list.option_replaced);
  EXPECT_EQ(list.option_kept, "Sensor=\"SAP Tarnwheel\",Item=Que Pages,Alias,Sid");
}

TEST_F(ListFiles, LongSensorNamesMatchOnTenCharacters) {
  const SystemList list = global(
      "# GSNG: ABCDEFGHIJ  PRD.P00#\n"
      "# GSNX: ABCDEFGHIJ Sensor=\"SAP Tarnwheel\",Item=QuePages,Host\n",
      "ABCDEFGHIJKLM");
  EXPECT_EQ(list.error, "");
  EXPECT_EQ(list.listing, "PRD.P00#");
  EXPECT_EQ(list.label_style, '3');
}

TEST_F(ListFiles, SeveralAllocationLines) {
  const SystemList list = global(
      "# GSNG: LOGQ        PRD.P00#\n"
      "# GSNX: LOGQ       Sensor=\"SAP Tarnwheel\",Item=First,Sid\n"
      "# GSNX: LOGQ       Sensor=\"SAP Tarnwheel\",Item=Last,Profile\n");
  EXPECT_EQ(list.item, "Last");
  EXPECT_EQ(list.label_style, '1');  // styles apply in file order; the last line's wins
  const SystemList cut = global(
      "# GSNG: LOGQ        PRD.P00#\n"
      "# GSNX: LOGQ       Item=OverFlows ,Sensor=\"SAP Tarnwheel\" x:y\n");
  EXPECT_EQ(cut.item, "OverFlows");
  EXPECT_EQ(cut.option_kept, "Item=OverFlows ");
}

/// A list line of `names` systems named S0001.P00# and on: longer than one piece of 199.
std::string names(int count) {
  std::string listed;
  for (int i = 1; i <= count; ++i) {
    const std::string number = std::to_string(i);
    listed += "S" + std::string(4 - number.size(), '0') + number + ".P00#";
  }
  return listed;
}

TEST_F(ListFiles, LongListLinesAreReadWhole) {
  // 21 names of 10 characters from column 21: 230 characters, two pieces of 199.
  const SystemList from_global =
      global("# GSNG: LOGQ        " + names(21) + "\r\n" + kAllocation + "\n");
  EXPECT_EQ(from_global.listing, names(21));
  const SystemList from_suite = suite("# Gsng: first       " + names(40) + "\n"
                                      "# Gsng: second      " + names(2) + "\r\n");
  EXPECT_EQ(from_suite.listing, names(40) + names(2));

  // A line end just behind a piece, and a carriage return cut from its line feed.
  const std::string exactly = "# GSNG: LOGQ        " + std::string(178, 'x') + "#";
  EXPECT_EQ(global(exactly + "\n" + kAllocation).listing, std::string(178, 'x') + "#");
  EXPECT_EQ(global(exactly.substr(0, 198) + "\r\n" + kAllocation).listing,
            std::string(178, 'x'));
}

TEST_F(ListFiles, OtherLongLinesKeepTheirPieces) {
  // The second piece of a long line that is no list line reads as a line of its own.
  const std::string filler(199, '-');
  const std::string padding(199 - std::strlen(kAllocation), ' ');
  const SystemList list = global(filler + "# GSNG: LOGQ        PRD.P00#\n" + kAllocation +
                                 padding + "# GSNG: LOGQ        QAS.P00#\n");
  EXPECT_EQ(list.listing, "PRD.P00#QAS.P00#");
  EXPECT_EQ(list.item, "Que Pages");
}

TEST_F(ListFiles, ListFilesAsWindowsEditorsSaveThem) {
  const std::string text = "# GSNG: LOGQ        PR\xC9.P00#\r\n" + std::string(kAllocation) + "\r\n";
  std::string utf16 = "\xFF\xFE";
  for (const char c : text) {
    utf16 += c;
    utf16 += '\0';
  }
  for (const std::string& file : {"\xEF\xBB\xBF" + text, utf16}) {
    const SystemList list = global(file);
    EXPECT_EQ(list.error, "");
    EXPECT_EQ(list.listing, "PR\xC9.P00#");
    EXPECT_EQ(list.item, "Que Pages");
  }
  EXPECT_EQ(suite("\xEF\xBB\xBF# Gsng: first       PRD.P00#\n").listing, "PRD.P00#");
}

TEST_F(ListFiles, GlobalProfileErrorsInTheirOrder) {
  EXPECT_EQ(read_global_profile("\\none", "SAP Keswarin.Gbl", "LOGQ", "logq").error,
            "Error 10x1: ProFile SAP Keswarin.Gbl is missing...");
  // Another program's allocation ends the run even when a later line would fit.
  EXPECT_EQ(global(std::string("# GSNX: LOGQ       Sensor=\"SAP Other\",Item=QuePages\n") +
                   kAllocation + "\n")
                .error,
            "Error 1029: Invalid Sensor-Allocation...");
  EXPECT_EQ(global("# GSNG: LOGQ        PRD.P00#\n", "LOGQ", "logq").error,
            "Error 1030: Global Sensor logq not found...");
  EXPECT_EQ(global("", "", "").error, "Error 1030: Global Sensor  not found...");
  EXPECT_EQ(global(std::string(kAllocation) + "\n").error,
            "Error 1025: Global Server Listing missing...");
  EXPECT_EQ(global("# GSNG: LOGQ        PRD.P00#\n"
                   "# GSNX: LOGQ       Sensor=\"SAP Tarnwheel\",Alias\n")
                .error,
            "Error 1026: Global Item Idenification missing...");
}

}  // namespace
}  // namespace tw
