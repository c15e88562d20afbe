#include "os/regular_file.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tw {

#ifdef _WIN32

std::FILE* open_regular_file(const std::string& path, const char* mode) {
  // A folder is never opened; a device or a pipe opens without waiting and is told apart
  // by its handle's type before anything is read or written.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return nullptr;
  }
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (file == nullptr) return nullptr;
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

void remove_regular_file(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
    return;
  }
  DeleteFileA(path.c_str());
}

#else

std::FILE* open_regular_file(const std::string& path, const char* mode) {
  int flags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  switch (mode[0]) {
    case 'r': flags |= O_RDONLY; break;
    case 'w': flags |= O_WRONLY | O_CREAT; break;
    case 'a': flags |= O_WRONLY | O_CREAT | O_APPEND; break;
    default: return nullptr;
  }
  // Opened without waiting: a named pipe would otherwise block until its other end opens.
  const int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
      (mode[0] == 'w' && ftruncate(fd, 0) != 0)) {
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = fdopen(fd, mode);
  if (file == nullptr) ::close(fd);
  return file;
}

void remove_regular_file(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) unlink(path.c_str());
}

#endif

}  // namespace tw
