#include "os/shared_library.h"

#include "os/elf_size_fault.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tw {

#ifdef _WIN32

namespace {

std::string utf8_of(const wchar_t* text, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), size, nullptr, nullptr);
  return result;
}

std::wstring wide_of(const std::string& text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0);
  if (size <= 0) return {};
  std::wstring result(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                      size);
  return result;
}

/// The system's text for an error code, without its line end.
std::string system_text(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string result = length > 0 ? utf8_of(text, static_cast<int>(length)) : std::string();
  if (text != nullptr) LocalFree(text);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r' ||
                             result.back() == ' ' || result.back() == '.')) {
    result.pop_back();
  }
  return "system error " + std::to_string(code) + (result.empty() ? "" : ": " + result);
}

}  // namespace

std::string program_directory() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() > 32768) return {};
    path.resize(path.size() * 2);
  }
  const std::size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return {};
  path.resize(separator + 1);
  return utf8_of(path.data(), static_cast<int>(path.size()));
}

bool library_file_present(const std::string& path) {
  // The folder may hold any character: the name goes to the system as UTF-16.
  const DWORD attributes = GetFileAttributesW(wide_of(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

void* load_library(const std::string& path, std::string& reason) {
  const std::wstring wide = wide_of(path);
  // No message box when the file or a library it needs is missing or broken. What the
  // library needs is looked for in its own folder and the system's, never in the working
  // directory; a Windows without those search flags gets the older altered search path.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE library = LoadLibraryExW(wide.c_str(), nullptr,
                                   LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  DWORD error = GetLastError();
  if (library == nullptr && error == ERROR_INVALID_PARAMETER) {
    library = LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    error = GetLastError();
  }
  SetErrorMode(previous);
  if (library == nullptr) {
    // The system's text may stand "%1" for the file.
    reason = system_text(error);
    for (std::size_t at = 0; (at = reason.find("%1", at)) != std::string::npos;
         at += path.size()) {
      reason.replace(at, 2, path);
    }
  }
  return reinterpret_cast<void*>(library);
}

void* library_entry(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

#else

std::string program_directory() {
  std::string path(PATH_MAX, '\0');
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
  path.resize(static_cast<std::size_t>(length));
  const std::size_t separator = path.rfind('/');
  if (separator == std::string::npos) return {};
  path.resize(separator + 1);
  return path;
}

bool library_file_present(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void* load_library(const std::string& path, std::string& reason) {
  // A file cut short would be mapped past its end: refused here, not ended by a bus error.
  reason = elf_size_fault(path);
  if (!reason.empty()) return nullptr;
  // A name with a "/" is loaded from exactly there, never searched for.
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* error = dlerror();
    reason = error != nullptr ? error : "the library cannot be loaded";
  }
  return library;
}

void* library_entry(void* library, const char* name) { return dlsym(library, name); }

#endif

}  // namespace tw
