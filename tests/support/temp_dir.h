// A temporary directory for one test, removed with everything in it at the end. While it
// lives it is also the root of the current drive, so absolute path texts land inside it.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include "os/text_file.h"

namespace tw::testing {

class TempDrive {
 public:
  TempDrive() {
    std::random_device device;
    root_ = std::filesystem::temp_directory_path() /
            ("tarnwheel-test-" + std::to_string(device()) + "-" + std::to_string(device()));
    std::filesystem::create_directories(root_);
    set_drive_root(root_.string());
  }
  ~TempDrive() {
    set_drive_root("");
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TempDrive(const TempDrive&) = delete;
  TempDrive& operator=(const TempDrive&) = delete;

  const std::filesystem::path& root() const { return root_; }

  /// Writes `bytes` to the absolute path text `windows_path` (e.g. "\\Dir\\PRD.P00"),
  /// creating the directories on the way.
  void write(std::string_view windows_path, std::string_view bytes) const {
    const std::filesystem::path path = native_path(windows_path);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path root_;
};

/// Makes a directory the working directory for as long as the guard lives.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& directory)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::create_directories(directory);
    std::filesystem::current_path(directory);
  }
  ~WorkingDirectory() { std::filesystem::current_path(previous_); }
  WorkingDirectory(const WorkingDirectory&) = delete;
  WorkingDirectory& operator=(const WorkingDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

/// Opens a file over `bytes`, as the file seam would give them from a file on disk.
inline InputFile stream_of(std::string_view bytes) {
  std::FILE* file = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  return read_from(FileHandle(file));
}

}  // namespace tw::testing
