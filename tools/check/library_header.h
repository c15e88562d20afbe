// What kind of program file a library is, read from its first bytes: an ELF or a PE file,
// and the machine it is built for. A library of another machine (a 32-bit one beside a
// 64-bit program, or the reverse) cannot be loaded, and the loader's own text rarely
// says so plainly.
#pragma once

#include <string>
#include <string_view>

namespace tw::check {

enum class BinaryFormat { unknown, elf, pe };
enum class Machine { unknown, i386, x86_64, other };

/// The format and machine of a program file.
struct BinaryKind {
  BinaryFormat format = BinaryFormat::unknown;
  Machine machine = Machine::unknown;
  unsigned machine_code = 0;  ///< the header's machine number, for `other`
};

/// The kind of the file whose first bytes are `head` (the first 4096 bytes or the whole
/// file when shorter): "MZ" with a "PE\0\0" header at the offset found at 0x3C, or an ELF
/// identification. The machine is i386 (PE 0x14C, ELF 3), x86-64 (PE 0x8664, ELF 62),
/// another one, or unknown when the header is cut short. Any other file is unknown.
BinaryKind binary_kind(std::string_view head);

/// The kind of the running program, as it was built.
BinaryKind own_binary_kind();

/// "x86-64 (64-bit)", "i386 (32-bit)", "machine 0x1C4", "unknown machine".
std::string machine_text(const BinaryKind& kind);

/// "ELF", "PE", "neither ELF nor PE".
std::string format_text(BinaryFormat format);

/// The first bytes of the file `path` (a name the platform opens), at most 4096; empty when
/// it cannot be read.
std::string file_head(const std::string& path);

}  // namespace tw::check
