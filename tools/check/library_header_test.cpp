#include "check/library_header.h"

#include <gtest/gtest.h>

#include <string>

namespace tw::check {
namespace {

/// The first bytes of an ELF file: class, byte order and machine.
std::string elf_head(char elf_class, char byte_order, unsigned machine) {
  std::string head = "\x7f" "ELF";
  head += elf_class;
  head += byte_order;
  head.resize(18, '\0');
  if (byte_order == 2) {
    head += static_cast<char>(machine >> 8);
    head += static_cast<char>(machine & 0xFF);
  } else {
    head += static_cast<char>(machine & 0xFF);
    head += static_cast<char>(machine >> 8);
  }
  head.resize(64, '\0');
  return head;
}

/// The first bytes of a PE file whose header stands at `pe_at`.
std::string pe_head(unsigned machine, unsigned pe_at = 0x80) {
  std::string head = "MZ";
  head.resize(0x3C, '\0');
  for (int i = 0; i < 4; ++i) head += static_cast<char>((pe_at >> (8 * i)) & 0xFF);
  head.resize(pe_at, '\0');
  head += std::string("PE\0\0", 4);
  head += static_cast<char>(machine & 0xFF);
  head += static_cast<char>(machine >> 8);
  head.resize(pe_at + 24, '\0');
  return head;
}

TEST(BinaryKind, ElfMachines) {
  BinaryKind kind = binary_kind(elf_head(2, 1, 62));
  EXPECT_EQ(kind.format, BinaryFormat::elf);
  EXPECT_EQ(kind.machine, Machine::x86_64);
  EXPECT_EQ(binary_kind(elf_head(1, 1, 3)).machine, Machine::i386);
  kind = binary_kind(elf_head(2, 2, 43));  // big-endian SPARC V9
  EXPECT_EQ(kind.machine, Machine::other);
  EXPECT_EQ(kind.machine_code, 43u);
  EXPECT_EQ(machine_text(kind), "machine 0x2B");
  // Cut before the machine: an ELF file of unknown machine.
  kind = binary_kind(elf_head(2, 1, 62).substr(0, 19));
  EXPECT_EQ(kind.format, BinaryFormat::elf);
  EXPECT_EQ(kind.machine, Machine::unknown);
}

TEST(BinaryKind, PeMachines) {
  BinaryKind kind = binary_kind(pe_head(0x14C));
  EXPECT_EQ(kind.format, BinaryFormat::pe);
  EXPECT_EQ(kind.machine, Machine::i386);
  EXPECT_EQ(machine_text(kind), "i386 (32-bit)");
  kind = binary_kind(pe_head(0x8664, 0xF8));
  EXPECT_EQ(kind.machine, Machine::x86_64);
  EXPECT_EQ(machine_text(kind), "x86-64 (64-bit)");
  kind = binary_kind(pe_head(0xAA64));
  EXPECT_EQ(kind.machine, Machine::other);
  EXPECT_EQ(machine_text(kind), "machine 0xAA64");
}

TEST(BinaryKind, NeitherElfNorPe) {
  EXPECT_EQ(binary_kind("").format, BinaryFormat::unknown);
  EXPECT_EQ(binary_kind("this is text").format, BinaryFormat::unknown);
  // An MS-DOS program: "MZ" without a PE header, or one beyond the bytes read.
  std::string dos = pe_head(0x14C);
  dos[0x80] = 'X';
  EXPECT_EQ(binary_kind(dos).format, BinaryFormat::unknown);
  EXPECT_EQ(binary_kind(pe_head(0x14C, 0x1000).substr(0, 0x200)).format, BinaryFormat::unknown);
  std::string huge = pe_head(0x14C);
  huge[0x3F] = '\xff';  // an offset near 4 GiB must not wrap around
  EXPECT_EQ(binary_kind(huge).format, BinaryFormat::unknown);
  EXPECT_EQ(format_text(BinaryFormat::unknown), "neither ELF nor PE");
}

TEST(BinaryKind, TheProgramItself) {
  const BinaryKind own = own_binary_kind();
#ifdef _WIN32
  EXPECT_EQ(own.format, BinaryFormat::pe);
#else
  EXPECT_EQ(own.format, BinaryFormat::elf);
#endif
  EXPECT_EQ(own.machine, sizeof(void*) == 8 ? Machine::x86_64 : Machine::i386);
}

}  // namespace
}  // namespace tw::check
