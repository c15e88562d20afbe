#include "os/elf_size_fault.h"

#include <cstdint>
#include <fstream>
#include <vector>

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
std::size_t read_at(std::ifstream& file, std::uint64_t offset, unsigned char* into,
                    std::size_t size) {
  file.clear();
  file.seekg(static_cast<std::streamoff>(offset));
  file.read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(size));
  return static_cast<std::size_t>(file.gcount());
}

}  // namespace

std::string elf_size_fault(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return {};
  const std::streamoff end = file.tellg();
  if (end < 0) return {};
  const auto size = static_cast<std::uint64_t>(end);

  unsigned char head[64] = {};
  const std::size_t got = read_at(file, 0, head, sizeof head);
  if (got < 6 || head[0] != 0x7F || head[1] != 'E' || head[2] != 'L' || head[3] != 'F' ||
      (head[4] != 1 && head[4] != 2) || (head[5] != 1 && head[5] != 2)) {
    return {};
  }
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

  // The whole table in one read: the check runs before every library is loaded.
  std::vector<unsigned char> headers(entry_size * entries);
  if (read_at(file, table, headers.data(), headers.size()) != headers.size()) return fault;
  for (std::uint64_t i = 0; i < entries; ++i) {
    const unsigned char* entry = headers.data() + i * entry_size;
    const std::uint64_t offset =
        wide ? number_at(entry, 8, 8, big_endian) : number_at(entry, 4, 4, big_endian);
    const std::uint64_t bytes =
        wide ? number_at(entry, 32, 8, big_endian) : number_at(entry, 16, 4, big_endian);
    if (bytes > 0 && (offset > size || bytes > size - offset)) return fault;
  }
  return {};
}

}  // namespace tw
