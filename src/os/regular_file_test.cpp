#include "os/regular_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tw {
namespace {

namespace fs = std::filesystem;

class RegularFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tarnwheel-regular-" + std::to_string(::getpid()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

std::string read_all(std::FILE* file) {
  std::string text;
  char buffer[64];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  return text;
}

TEST_F(RegularFile, FilesOpenInEveryMode) {
  std::ofstream(path("f")) << "old text";
  std::FILE* file = open_regular_file(path("f"), "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(read_all(file), "old text");
  std::fclose(file);

  file = open_regular_file(path("f"), "ab");
  ASSERT_NE(file, nullptr);
  std::fputs("+", file);
  std::fclose(file);
  file = open_regular_file(path("f"), "r");
  EXPECT_EQ(read_all(file), "old text+");
  std::fclose(file);

  // Writing truncates an existing file and creates a missing one.
  file = open_regular_file(path("f"), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("new", file);
  std::fclose(file);
  file = open_regular_file(path("f"), "r");
  EXPECT_EQ(read_all(file), "new");
  std::fclose(file);
  file = open_regular_file(path("made"), "a");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  EXPECT_TRUE(fs::is_regular_file(path("made")));

  EXPECT_EQ(open_regular_file(path("missing"), "r"), nullptr);
}

TEST_F(RegularFile, FoldersAreNeitherOpenedNorDeleted) {
  fs::create_directory(path("Dev_Rfc.Trc"));
  for (const char* mode : {"r", "rb", "a", "ab", "w", "wb"}) {
    EXPECT_EQ(open_regular_file(path("Dev_Rfc.Trc"), mode), nullptr) << mode;
  }
  remove_regular_file(path("Dev_Rfc.Trc"));
  EXPECT_TRUE(fs::is_directory(path("Dev_Rfc.Trc")));

  std::ofstream(path("Dev_Rfc.Trc") + "/inside") << "x";
  std::ofstream(path("plain")) << "x";
  remove_regular_file(path("plain"));
  EXPECT_FALSE(fs::exists(path("plain")));
  remove_regular_file(path("plain"));  // nothing there: nothing happens
}

#ifndef _WIN32
// Without the check these would block for ever: no process opens the pipe's other end.
TEST_F(RegularFile, NamedPipesAndDevicesAreNoFiles) {
  ASSERT_EQ(mkfifo(path("PRD.P00").c_str(), 0600), 0);
  for (const char* mode : {"r", "rb", "a", "ab", "w", "wb"}) {
    EXPECT_EQ(open_regular_file(path("PRD.P00"), mode), nullptr) << mode;
  }
  remove_regular_file(path("PRD.P00"));
  EXPECT_TRUE(fs::is_fifo(path("PRD.P00")));

  EXPECT_EQ(open_regular_file("/dev/null", "r"), nullptr);
  EXPECT_EQ(open_regular_file("/dev/null", "ab"), nullptr);
  EXPECT_EQ(open_regular_file("/dev/zero", "rb"), nullptr);
}
#endif

}  // namespace
}  // namespace tw
