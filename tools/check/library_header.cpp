#include "check/library_header.h"

#include <cstdio>
#include <cstdint>

#include "os/regular_file.h"
#include "os/text_file.h"

namespace tw::check {

namespace {

constexpr std::size_t kHeadSize = 4096;

/// A little- or big-endian unsigned number of `size` bytes at `at`; 0 beyond the end.
std::uint32_t number_at(std::string_view bytes, std::size_t at, std::size_t size,
                        bool big_endian = false) {
  if (at + size > bytes.size() || at + size < at) return 0;
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t index = big_endian ? at + i : at + size - 1 - i;
    value = (value << 8) | static_cast<unsigned char>(bytes[index]);
  }
  return value;
}

Machine machine_of(unsigned code, unsigned i386_code, unsigned x86_64_code) {
  if (code == i386_code) return Machine::i386;
  if (code == x86_64_code) return Machine::x86_64;
  return Machine::other;
}

}  // namespace

BinaryKind binary_kind(std::string_view head) {
  BinaryKind kind;
  if (head.starts_with("\x7f" "ELF")) {
    kind.format = BinaryFormat::elf;
    constexpr std::size_t kMachineAt = 18;
    if (head.size() < kMachineAt + 2) return kind;
    const bool big_endian = head[5] == 2;
    kind.machine_code = number_at(head, kMachineAt, 2, big_endian);
    kind.machine = machine_of(kind.machine_code, 3, 62);
    return kind;
  }
  if (head.starts_with("MZ")) {
    const std::uint32_t pe_at = number_at(head, 0x3C, 4);
    const std::string_view signature("PE\0\0", 4);
    if (pe_at == 0 || pe_at + 6 > head.size() || head.substr(pe_at, 4) != signature) {
      return kind;  // an MS-DOS program, or a header beyond the bytes read
    }
    kind.format = BinaryFormat::pe;
    kind.machine_code = number_at(head, pe_at + 4, 2);
    kind.machine = machine_of(kind.machine_code, 0x14C, 0x8664);
  }
  return kind;
}

BinaryKind own_binary_kind() {
  BinaryKind kind;
#ifdef _WIN32
  kind.format = BinaryFormat::pe;
#else
  kind.format = BinaryFormat::elf;
#endif
#if defined(__x86_64__) || defined(_M_X64)
  kind.machine = Machine::x86_64;
#elif defined(__i386__) || defined(_M_IX86)
  kind.machine = Machine::i386;
#else
  kind.machine = Machine::other;
#endif
  return kind;
}

std::string machine_text(const BinaryKind& kind) {
  switch (kind.machine) {
    case Machine::i386: return "i386 (32-bit)";
    case Machine::x86_64: return "x86-64 (64-bit)";
    case Machine::other: {
      static const char kDigits[] = "0123456789ABCDEF";
      std::string hex;
      unsigned code = kind.machine_code;
      do {
        hex.insert(hex.begin(), kDigits[code % 16]);
        code /= 16;
      } while (code != 0);
      return "machine 0x" + hex;
    }
    case Machine::unknown: break;
  }
  return "unknown machine";
}

std::string format_text(BinaryFormat format) {
  switch (format) {
    case BinaryFormat::elf: return "ELF";
    case BinaryFormat::pe: return "PE";
    case BinaryFormat::unknown: break;
  }
  return "neither ELF nor PE";
}

std::string file_head(const std::string& path) {
  const FileHandle file(open_regular_file(path, "rb"));
  if (!file) return {};
  std::string head(kHeadSize, '\0');
  head.resize(std::fread(head.data(), 1, head.size(), file.get()));
  return head;
}

}  // namespace tw::check
