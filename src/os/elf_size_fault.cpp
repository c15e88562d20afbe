#include "os/elf_size_fault.h"

#include <climits>
#include <cstdint>
#include <vector>

#ifdef _WIN32
#include <cstdio>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

/// A file opened for reading at offsets, closed with this object. The check runs before
/// every library is loaded, so it costs as few calls into the system as it can.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const std::string& path) {
#ifdef _WIN32
    file_ = std::fopen(path.c_str(), "rb");
#else
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
#endif
  }
  ~ReadOnlyFile() {
#ifdef _WIN32
    if (file_ != nullptr) std::fclose(file_);
#else
    if (fd_ >= 0) ::close(fd_);
#endif
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  /// The size of the file; false when it is not open or its size is unknown.
  bool size(std::uint64_t& size) const {
#ifdef _WIN32
    if (file_ == nullptr || std::fseek(file_, 0, SEEK_END) != 0) return false;
    const long end = std::ftell(file_);
    size = static_cast<std::uint64_t>(end);
    return end >= 0;
#else
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0 || info.st_size < 0) return false;
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
#endif
  }

  /// Reads at most `size` bytes at `offset`; the number of bytes read.
  std::size_t read_at(std::uint64_t offset, unsigned char* into, std::size_t size) const {
    // The offset comes from the file: beyond what the system's offset holds, it is beyond
    // the file too.
#ifdef _WIN32
    if (offset > static_cast<std::uint64_t>(LONG_MAX) ||
        std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
      return 0;
    }
    return std::fread(into, 1, size, file_);
#else
    std::size_t done = 0;
    while (done < size && offset + done <= static_cast<std::uint64_t>(INT64_MAX)) {
      const ssize_t got =
          ::pread(fd_, into + done, size - done, static_cast<off_t>(offset + done));
      if (got <= 0) break;
      done += static_cast<std::size_t>(got);
    }
    return done;
#endif
  }

 private:
#ifdef _WIN32
  std::FILE* file_ = nullptr;
#else
  int fd_ = -1;
#endif
};

/// Bytes read at the start of a file: the ELF header and, in every usual library, the
/// program header table right after it.
constexpr std::size_t kStartBytes = 1024;

}  // namespace

std::string elf_size_fault(const std::string& path) {
  const ReadOnlyFile file(path);
  std::uint64_t size = 0;
  if (!file.size(size)) return {};

  unsigned char start[kStartBytes] = {};
  const std::size_t got = file.read_at(0, start, sizeof start);
  const unsigned char* head = start;
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

  // The table as read with the header, else in one read of its own.
  const std::size_t table_bytes = entry_size * entries;
  std::vector<unsigned char> read_apart;
  const unsigned char* headers = nullptr;
  if (table + table_bytes <= got) {
    headers = start + table;
  } else {
    read_apart.resize(table_bytes);
    if (file.read_at(table, read_apart.data(), table_bytes) != table_bytes) return fault;
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
