#include "profile/locate_profile.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tw {
namespace {

using testing::TempDrive;
using testing::WorkingDirectory;

TEST(CompleteProfileName, ExtensionGlobalNameAndDirectory) {
  struct Case {
    const char* typed;
    const char* name;
    const char* directory;
    bool global;
  };
  const Case cases[] = {
      {"PRD", "PRD.P00", "", false},
      {"PRD.P01", "PRD.P01", "", false},
      {"PRD.P0", "PRD.P0.P00", "", false},
      {"x.Prf", "x.Prf", "", false},
      {"", ".P00", "", false},
      {"ab", "ab.P00", "", false},
      {"global", "SAP Keswarin.Gbl", "", true},
      {"Global.p00", "SAP Keswarin.Gbl", "", true},
      {"GLOBAL.P01", "GLOBAL.P01", "", false},
      {"C:\\Sensors\\PRD", "PRD.P00", "C:\\Sensors\\", false},
      {"C:\\Sensors\\global", "SAP Keswarin.Gbl", "C:\\Sensors\\", true},
      {"\\PRD", "\\PRD.P00", "", false},  // a leading separator alone is no directory
      {"a\\b\\", ".P00", "a\\b\\", false},
  };
  for (const Case& c : cases) {
    const CompletedName completed = complete_profile_name(c.typed);
    EXPECT_EQ(completed.name, c.name) << c.typed;
    EXPECT_EQ(completed.given_directory, c.directory) << c.typed;
    EXPECT_EQ(completed.global, c.global) << c.typed;
  }
}

TEST(ReadBaseDirectory, LastDirectoryLineAsWritten) {
  const auto base_of = [](std::string_view bytes) {
    InputFile file = testing::stream_of(bytes);
    return read_base_directory(file);
  };
  EXPECT_EQ(base_of("C:\\First\\\r\n# comment\r\nD:\\Second \r\nProgram Files\r\n"),
            "D:\\Second ");
  EXPECT_EQ(base_of("ab\\cd\n"), "ab\\cd");  // separator as third character
  EXPECT_EQ(base_of("\\Root\n"), "\\Root");
  EXPECT_EQ(base_of("# only a comment\nProgram Files\n"), "");
  EXPECT_EQ(base_of("C:"), "C:");  // last line without line feed
  // A line of more than 99 characters is read in pieces; the second one is no directory.
  EXPECT_EQ(base_of("C:\\x\n" + std::string("D:\\") + std::string(200, 'y') + "\n"),
            "D:\\" + std::string(96, 'y'));
}

class LocateProfile : public ::testing::Test {
 protected:
  LocatedProfile locate(std::string_view typed, std::string_view option_upper = "",
                        std::string_view mode = "EXEXML") {
    return locate_profile(complete_profile_name(typed), mode, option_upper);
  }
  TempDrive drive;
  WorkingDirectory work{drive.root() / "work"};
};

constexpr const char* kDefault1 = "\\Programme\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
constexpr const char* kDefault2 =
    "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
constexpr const char* kDefault3 =
    "\\Program Files (x86)\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";

TEST_F(LocateProfile, DefaultDirectoriesInOrder) {
  drive.write(std::string(kDefault3) + "PRD.P00", "three");
  LocatedProfile found = locate("PRD");
  ASSERT_EQ(found.error, "");
  EXPECT_EQ(found.directory, kDefault3);
  EXPECT_EQ(found.path, std::string(kDefault3) + "PRD.P00");

  drive.write(std::string(kDefault2) + "PRD.P00", "two");
  EXPECT_EQ(locate("PRD").directory, kDefault2);
  drive.write(std::string(kDefault1) + "PRD.P00", "one");
  EXPECT_EQ(locate("PRD").directory, kDefault1);

  // The given directory is ignored on this way.
  EXPECT_EQ(locate("C:\\Sensors\\PRD").directory, kDefault1);
  EXPECT_EQ(locate("QAS").error, "Error 1002: Profile QAS.P00 is missing...");
}

TEST_F(LocateProfile, WorkingDirectoryComesFirstAndFailsThePathCheck) {
  drive.write(std::string(kDefault2) + "PRD.P00", "two");
  drive.write("\\work\\PRD.P00", "here");
  const LocatedProfile found = locate("PRD");
  EXPECT_EQ(found.error, "Sorry, invalid Path-Usage...");
  EXPECT_FALSE(found.file);
}

TEST_F(LocateProfile, PathFileWithSubPaths) {
  drive.write("\\PRTG_Path.Txt", "# base\r\nC:\\Old\r\nC:\\Program Files\r\n");
  const std::string sub1 = "\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\";
  drive.write(sub1 + "PRD.P00", "p");
  LocatedProfile found = locate("PRD");
  ASSERT_EQ(found.error, "");
  EXPECT_EQ(found.directory, "C:\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\");

  // The installation directory itself: found by the second sub-path.
  drive.write("\\PRTG_Path.Txt", "C:\\Program Files\\PRTG Network Monitor\\\n");
  found = locate("PRD");
  ASSERT_EQ(found.error, "");
  EXPECT_EQ(found.directory, "C:\\Program Files\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\");

  // The sensor directory itself, in any letter case of its last six letters.
  drive.write("\\Tools\\MyExeXML\\PRD.P00", "p");
  drive.write("\\PRTG_Path.Txt", "D:\\Tools\\MyExeXML");
  found = locate("PRD");
  ASSERT_EQ(found.error, "");
  EXPECT_EQ(found.directory, "D:\\Tools\\MyExeXML\\");
}

TEST_F(LocateProfile, PathFileFailures) {
  drive.write(std::string(kDefault2) + "PRD.P00", "in a default directory");
  drive.write("\\Tools\\PRD.P00", "p");
  drive.write("\\PRTG_Path.Txt", "C:\\Tools\\\n");
  EXPECT_EQ(locate("PRD").error, "Sorry, invalid Path-Usage...");
  // The default directories are not tried when the path file exists.
  drive.write("\\PRTG_Path.Txt", "C:\\Elsewhere\\\n");
  EXPECT_EQ(locate("PRD").error, "Error 1002: Profile PRD.P00 is missing...");
  // No directory line: the tries start at the root of the drive.
  drive.write("\\PRTG_Path.Txt", "Program Files\n");
  drive.write("\\Custom Sensors\\ExeXml\\QAS.P00", "q");
  const LocatedProfile found = locate("QAS");
  ASSERT_EQ(found.error, "");
  EXPECT_EQ(found.directory, "\\Custom Sensors\\ExeXml\\");
}

TEST_F(LocateProfile, GivenDirectoryWay) {
  drive.write("\\Sensors\\PRD.P00", "p");
  drive.write("\\work\\sub\\QAS.P00", "q");
  LocatedProfile found = locate("C:\\Sensors\\PRD", "@");
  ASSERT_EQ(found.error, "");
  EXPECT_EQ(found.path, "C:\\Sensors\\PRD.P00");
  found = locate("sub\\QAS", "", "Tamberly");  // another output mode also takes this way
  ASSERT_EQ(found.error, "");
  EXPECT_EQ(found.directory, "sub\\");
  EXPECT_EQ(locate("C:\\Other\\PRD", "#@").error,
            "Error 1002: Profile C:\\Other\\PRD.P00 is missing...");
  // No path-usage check on this way: the working directory will do.
  drive.write("\\work\\WRK.P00", "w");
  EXPECT_EQ(locate("WRK", "@").error, "");
}

TEST_F(LocateProfile, TrailRecordsEveryPlaceTried) {
  const auto tried = [](const LocateTrail& trail) {
    std::string text;
    for (const LocateTrail::Try& attempt : trail.tries) {
      text += attempt.path + (attempt.found ? " +\n" : " -\n");
    }
    return text;
  };
  drive.write(std::string(kDefault3) + "PRD.P00", "three");
  LocateTrail trail;
  ASSERT_EQ(locate_profile(complete_profile_name("PRD"), "EXEXML", "", &trail).error, "");
  EXPECT_TRUE(trail.searched);
  EXPECT_FALSE(trail.path_file_found);
  EXPECT_FALSE(trail.path_rule_failed);
  EXPECT_EQ(tried(trail), "PRD.P00 -\n" + std::string(kDefault1) + "PRD.P00 -\n" + kDefault2 +
                              "PRD.P00 -\n" + kDefault3 + "PRD.P00 +\n");

  // The path file's places; its base directory without a directory line is the root.
  drive.write("\\PRTG_Path.Txt", "no directory here\n");
  drive.write("\\Custom Sensors\\ExeXml\\PRD.P00", "p");
  trail = LocateTrail{};
  ASSERT_EQ(locate_profile(complete_profile_name("PRD"), "EXEXML", "", &trail).error, "");
  EXPECT_TRUE(trail.path_file_found);
  EXPECT_EQ(trail.base_directory, "\\");
  EXPECT_EQ(tried(trail), "\\PRTG Network Monitor\\Custom Sensors\\ExeXml\\PRD.P00 -\n"
                          "\\Custom Sensors\\ExeXml\\PRD.P00 +\n"
                          "\\Custom Sensors\\ExeXml\\PRD.P00 +\n");

  // Found, but refused by the path rule; and the given directory's one try.
  drive.write("\\PRTG_Path.Txt", "C:\\Tools\n");
  drive.write("\\Tools\\PRD.P00", "p");
  trail = LocateTrail{};
  EXPECT_EQ(locate_profile(complete_profile_name("PRD"), "EXEXML", "", &trail).error,
            "Sorry, invalid Path-Usage...");
  EXPECT_TRUE(trail.path_rule_failed);
  EXPECT_EQ(trail.base_directory, "C:\\Tools\\");
  trail = LocateTrail{};
  locate_profile(complete_profile_name("C:\\Tools\\PRD"), "EXEXML", "@", &trail);
  EXPECT_FALSE(trail.searched);
  EXPECT_EQ(tried(trail), "C:\\Tools\\PRD.P00 +\n");
}

TEST_F(LocateProfile, DirectoryIsNoProfile) {
  std::filesystem::create_directories(drive.root() / "work" / "PRD.P00");
  EXPECT_EQ(locate("PRD", "@").error, "Error 1002: Profile PRD.P00 is missing...");
  std::filesystem::create_directories(drive.root() / "PRTG_Path.Txt");
  EXPECT_EQ(locate("PRD").error, "Error 1002: Profile PRD.P00 is missing...");
}

}  // namespace
}  // namespace tw
