#include "profile/global_profile.h"

#include <gtest/gtest.h>

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
