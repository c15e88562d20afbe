#include "os/working_directory.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#include "os/text_file.h"

namespace tw {

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
int open_new(const char* path) {
  return ::_open(path, _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int write_some(int fd, const char* data, unsigned size) { return ::_write(fd, data, size); }
int close_file(int fd) { return ::_close(fd); }
char* current_directory(char* buffer, int size) { return ::_getcwd(buffer, size); }
bool may_write(const char* path) { return ::_access(path, 2) == 0; }
bool is_regular(const char* path) {
  struct _stat info {};
  return ::_stat(path, &info) == 0 ? (info.st_mode & _S_IFMT) == _S_IFREG : false;
}
bool is_there(const char* path) {
  struct _stat info {};
  return ::_stat(path, &info) == 0;
}
#else
constexpr char kSeparator = '/';
int open_new(const char* path) {
  return ::open(path, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0666);
}
int write_some(int fd, const char* data, unsigned size) {
  return static_cast<int>(::write(fd, data, size));
}
int close_file(int fd) { return ::close(fd); }
char* current_directory(char* buffer, int size) {
  return ::getcwd(buffer, static_cast<std::size_t>(size));
}
bool may_write(const char* path) { return ::access(path, W_OK) == 0; }
bool is_regular(const char* path) {
  struct stat info {};
  return ::lstat(path, &info) == 0 && S_ISREG(info.st_mode);
}
bool is_there(const char* path) {
  struct stat info {};
  return ::lstat(path, &info) == 0;
}
#endif

}  // namespace

std::string working_directory() {
  std::string buffer(4096, '\0');
  if (current_directory(buffer.data(), static_cast<int>(buffer.size())) == nullptr) return {};
  buffer.resize(std::strlen(buffer.c_str()));
  if (!buffer.empty() && buffer.back() != kSeparator) buffer += kSeparator;
  return buffer;
}

EntryKind entry_kind(const std::string& name) {
  const std::string path = native_path(name);
  if (!is_there(path.c_str())) return EntryKind::none;
  return is_regular(path.c_str()) ? EntryKind::regular_file : EntryKind::other;
}

bool file_writable(const std::string& name) { return may_write(native_path(name).c_str()); }

bool probe_new_file(const std::string& name, std::string& reason) {
  const std::string path = native_path(name);
  const int fd = open_new(path.c_str());
  if (fd < 0) {
    reason = std::strerror(errno);
    return false;
  }
  const bool written = write_some(fd, "x", 1) == 1;
  const int write_error = errno;
  const bool closed = close_file(fd) == 0;
  const int close_error = errno;
  if (std::remove(path.c_str()) != 0) {
    reason = std::string("written, but not deleted again: ") + std::strerror(errno);
    return false;
  }
  if (!written || !closed) {
    reason = std::strerror(!written ? write_error : close_error);
    return false;
  }
  return true;
}

}  // namespace tw
