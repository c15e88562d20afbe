#include "os/working_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "support/temp_dir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using testing::TempDrive;
using testing::WorkingDirectory;

TEST(WorkingDirectory, PathKindsAndProbe) {
  TempDrive drive;
  WorkingDirectory work(drive.root() / "work");
  const std::string here = working_directory();
  ASSERT_FALSE(here.empty());
  EXPECT_TRUE(fs::equivalent(here, drive.root() / "work"));
  EXPECT_TRUE(here.ends_with("/") || here.ends_with("\\"));

  std::ofstream("SapRfc.ini") << "DEST=PRD\n";
  fs::create_directories(drive.root() / "work" / "Dev_Rfc.Trc");
  EXPECT_EQ(entry_kind("SapRfc.ini"), EntryKind::regular_file);
  EXPECT_EQ(entry_kind("Dev_Rfc.Trc"), EntryKind::other);
  EXPECT_EQ(entry_kind("nothing"), EntryKind::none);
  EXPECT_TRUE(file_writable("SapRfc.ini"));

  std::string reason;
  EXPECT_TRUE(probe_new_file("probe", reason)) << reason;
  EXPECT_EQ(entry_kind("probe"), EntryKind::none);  // deleted again
  // A name that is taken is never opened, let alone written or deleted.
  EXPECT_FALSE(probe_new_file("SapRfc.ini", reason));
  EXPECT_FALSE(reason.empty());
  std::ifstream kept("SapRfc.ini");
  std::string line;
  std::getline(kept, line);
  EXPECT_EQ(line, "DEST=PRD");
  EXPECT_FALSE(probe_new_file("Dev_Rfc.Trc", reason));
  EXPECT_TRUE(fs::is_directory(drive.root() / "work" / "Dev_Rfc.Trc"));
}

#ifndef _WIN32
TEST(WorkingDirectory, ProbeTellsWhyNothingCanBeCreated) {
  if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write anywhere";
  TempDrive drive;
  WorkingDirectory work(drive.root() / "work");
  std::ofstream("SapRfc.ini") << "x";
  ::chmod("SapRfc.ini", 0444);
  ::chmod(".", 0555);
  std::string reason;
  EXPECT_FALSE(probe_new_file("probe", reason));
  EXPECT_EQ(reason, "Permission denied");
  EXPECT_FALSE(file_writable("SapRfc.ini"));
  ::chmod(".", 0755);
}
#endif

}  // namespace
}  // namespace tw
