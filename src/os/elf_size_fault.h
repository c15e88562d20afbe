// A library file checked before the platform's loader maps it: an ELF file cut short (as an
// interrupted copy leaves it) is mapped past its end, and the first access there ends the
// process with a bus error instead of a refusal the sensor can report.
#pragma once

#include <string>

namespace tw {

/// Why the file `path` cannot be loaded when it is an ELF file (32 or 64 bits, either byte
/// order) whose ELF header, program header table or segment data reach beyond the end of
/// the file: "<path>: file cut short: its ELF headers reach past its end". Empty when
/// everything fits, and for a file that cannot be read or is no ELF file at all (the
/// loader refuses that with a reason of its own).
std::string elf_size_fault(const std::string& path);

}  // namespace tw
