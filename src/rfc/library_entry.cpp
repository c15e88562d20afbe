#include "rfc/library_entry.h"

#include <string>

#include "os/shared_library.h"

namespace tw {

void* find_entry(void* library, const char* name, int argument_bytes) {
  void* address = library_entry(library, name);
#if defined(_WIN32) && !defined(_WIN64)
  const std::string decorated = std::string(name) + "@" + std::to_string(argument_bytes);
  if (address == nullptr) address = library_entry(library, ("_" + decorated).c_str());
  if (address == nullptr) address = library_entry(library, decorated.c_str());
#else
  (void)argument_bytes;
#endif
  return address;
}

}  // namespace tw
