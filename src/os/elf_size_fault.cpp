#include "os/elf_size_fault.h"

#include <climits>
#include <cstdint>
#include <vector>

#include <cstdio>

#include "os/regular_file.h"
#include "os/text_file.h"

namespace tw {

namespace {

/// The unsigned number of `size` bytes at `at` of `bytes`.
std::uint64_t number_at(const unsigned char* bytes, std::size_t at, std::size_t size,
                        bool big_endian) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < size; ++i) {
    value = (value << 8) | bytes[at + (big_endian ? i : size - 1 - i)];
  }
  return value;
}

/// Reads at most `size` bytes at `offset`; the number of bytes read.
std::size_t read_at(std::FILE* file, std::uint64_t offset, unsigned char* into,
                    std::size_t size) {
  // The offset comes from the file: beyond what a long holds, it is beyond the file too.
  if (offset > static_cast<std::uint64_t>(LONG_MAX) ||
      std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) {
    return 0;
  }
  return std::fread(into, 1, size, file);
}

/// Bytes read at the start of a file: the ELF header and, in every usual library, the
/// program header table right after it.
constexpr std::size_t kStartBytes = 1024;

}  // namespace

std::string elf_size_fault(const std::string& path) {
  const FileHandle file(open_regular_file(path, "rb"));
  if (!file) return {};
  // One read of the start: the stream's buffer holds it, and the program headers with it.
  unsigned char start[kStartBytes] = {};
  const std::size_t got = std::fread(start, 1, sizeof start, file.get());
  const unsigned char* head = start;
  if (got < 6 || head[0] != 0x7F || head[1] != 'E' || head[2] != 'L' || head[3] != 'F' ||
      (head[4] != 1 && head[4] != 2) || (head[5] != 1 && head[5] != 2)) {
    return {};
  }
  if (std::fseek(file.get(), 0, SEEK_END) != 0) return {};
  const long end = std::ftell(file.get());
  if (end < 0) return {};
  const auto size = static_cast<std::uint64_t>(end);
  const bool wide = head[4] == 2;  // 64 bits
  const bool big_endian = head[5] == 2;
  const std::string fault = path + ": file cut short: its ELF headers reach past its end";
  if (size < (wide ? 64u : 52u)) return fault;

  const std::uint64_t table = wide ? number_at(head, 32, 8, big_endian)
                                   : number_at(head, 28, 4, big_endian);
  const std::uint64_t entry_size = number_at(head, wide ? 54 : 42, 2, big_endian);
  const std::uint64_t entries = number_at(head, wide ? 56 : 44, 2, big_endian);
  // No program headers, or entries of a size the loader refuses by itself.
  if (entries == 0 || entry_size != (wide ? 56u : 32u)) return {};
  if (table > size || entry_size * entries > size - table) return fault;

  // The table as read with the header, else in one read of its own.
  const std::size_t table_bytes = entry_size * entries;
  std::vector<unsigned char> read_apart;
  const unsigned char* headers = nullptr;
  if (table + table_bytes <= got) {
    headers = start + table;
  } else {
    read_apart.resize(table_bytes);
    if (read_at(file.get(), table, read_apart.data(), table_bytes) != table_bytes) return fault;
    headers = read_apart.data();
  }
  for (std::uint64_t i = 0; i < entries; ++i) {
    const unsigned char* entry = headers + i * entry_size;
    const std::uint64_t offset =
        wide ? number_at(entry, 8, 8, big_endian) : number_at(entry, 4, 4, big_endian);
    const std::uint64_t bytes =
        wide ? number_at(entry, 32, 8, big_endian) : number_at(entry, 16, 4, big_endian);
    if (bytes > 0 && (offset > size || bytes > size - offset)) return fault;
  }
  return {};
}

}  // namespace tw
