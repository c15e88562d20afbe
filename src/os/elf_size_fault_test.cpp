#include "os/elf_size_fault.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "os/shared_library.h"
#include "support/temp_dir.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

/// Writes `value` in `size` bytes at `at` of `bytes`.
void put(std::string& bytes, std::size_t at, std::size_t size, std::uint64_t value,
         bool big_endian) {
  for (std::size_t i = 0; i < size; ++i) {
    bytes[at + (big_endian ? size - 1 - i : i)] = static_cast<char>(value & 0xFF);
    value >>= 8;
  }
}

/// An ELF file of `size` bytes whose program headers, right behind the ELF header, name
/// segments of `segments` (offset and size in the file).
std::string elf_file(bool wide, bool big_endian, std::size_t size,
                     std::vector<std::pair<std::uint64_t, std::uint64_t>> segments) {
  std::string bytes(size, '\0');
  bytes.replace(0, 4, "\x7F" "ELF");
  bytes[4] = wide ? 2 : 1;
  bytes[5] = big_endian ? 2 : 1;
  const std::size_t header = wide ? 64 : 52, entry = wide ? 56 : 32;
  put(bytes, wide ? 32 : 28, wide ? 8 : 4, header, big_endian);
  put(bytes, wide ? 54 : 42, 2, entry, big_endian);
  put(bytes, wide ? 56 : 44, 2, segments.size(), big_endian);
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const std::size_t at = header + i * entry;
    put(bytes, at, 4, 1, big_endian);  // a loadable segment
    put(bytes, at + (wide ? 8 : 4), wide ? 8 : 4, segments[i].first, big_endian);
    put(bytes, at + (wide ? 32 : 16), wide ? 8 : 4, segments[i].second, big_endian);
  }
  return bytes;
}

class ElfSizeFault : public ::testing::Test {
 protected:
  std::string fault_of(std::string_view bytes) {
    drive.write("\\lib.so", bytes);
    return elf_size_fault(path);
  }
  testing::TempDrive drive;
  std::string path = native_path("\\lib.so");
};

TEST_F(ElfSizeFault, SegmentsWithinTheFileFit) {
  for (const bool wide : {false, true}) {
    for (const bool big_endian : {false, true}) {
      EXPECT_EQ(fault_of(elf_file(wide, big_endian, 4096, {{0, 4096}, {4000, 96}, {9999, 0}})),
                "");
      EXPECT_EQ(fault_of(elf_file(wide, big_endian, 4096, {{0, 4096}, {4000, 97}})),
                path + ": file cut short: its ELF headers reach past its end")
          << wide << big_endian;
    }
  }
}

TEST_F(ElfSizeFault, HeadersCutShort) {
  const std::string whole = elf_file(true, false, 400, {{0, 400}, {0, 100}});
  const std::string fault = path + ": file cut short: its ELF headers reach past its end";
  EXPECT_EQ(fault_of(whole), "");
  EXPECT_EQ(fault_of(whole.substr(0, 150)), fault);  // inside the second program header
  EXPECT_EQ(fault_of(whole.substr(0, 60)), fault);   // inside the ELF header
  EXPECT_EQ(fault_of(elf_file(false, false, 52, {})), "");
  // An offset near the end of the numbers does not wrap around.
  EXPECT_EQ(fault_of(elf_file(true, true, 400, {{~0ull - 10, 100}})), fault);
}

TEST_F(ElfSizeFault, ProgramHeadersFarFromTheStart) {
  // The table moved behind the first pages of the file, as a linker may place it.
  std::string moved = elf_file(true, false, 8192, {{0, 8192}, {6000, 2000}});
  moved.replace(5000, 2 * 56, moved.substr(64, 2 * 56));
  put(moved, 32, 8, 5000, false);
  EXPECT_EQ(fault_of(moved), "");
  put(moved, 5000 + 56 + 32, 8, 2193, false);  // the second segment one byte too long
  const std::string fault = path + ": file cut short: its ELF headers reach past its end";
  EXPECT_EQ(fault_of(moved), fault);
  EXPECT_EQ(fault_of(moved.substr(0, 5100)), fault);  // the table itself cut
}

TEST_F(ElfSizeFault, OtherFilesAreTheLoadersToRefuse) {
  EXPECT_EQ(fault_of("this is no library\n"), "");
  EXPECT_EQ(fault_of("\x7F" "ELF"), "");
  EXPECT_EQ(elf_size_fault(native_path("\\missing.so")), "");
  // Program headers of a size the loader does not know.
  std::string odd = elf_file(true, false, 400, {{0, 4000}});
  put(odd, 54, 2, 40, false);
  EXPECT_EQ(fault_of(odd), "");
}

#ifndef _WIN32
TEST_F(ElfSizeFault, TheRfcLibraryWholeAndCut) {
  std::ifstream library(program_directory() + "librfccm.so", std::ios::binary);
  ASSERT_TRUE(library);
  const std::string bytes{std::istreambuf_iterator<char>(library), {}};
  EXPECT_EQ(fault_of(bytes), "");
  EXPECT_NE(fault_of(bytes.substr(0, 65536)), "");
  std::string reason;
  EXPECT_EQ(load_library(path, reason), nullptr);
  EXPECT_EQ(reason, path + ": file cut short: its ELF headers reach past its end");
}
#endif

}  // namespace
}  // namespace tw
