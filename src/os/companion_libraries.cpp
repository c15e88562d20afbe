#include "os/shared_library.h"

namespace tw {

void* load_library_with_companions(const std::string& path,
                                   const std::vector<std::string>& companions,
                                   std::string& reason) {
#ifndef _WIN32
  // The dynamic loader takes a library that is already loaded for a reference to its name.
  for (const std::string& companion : companions) {
    if (load_library(companion, reason) == nullptr) return nullptr;
  }
#else
  (void)companions;
#endif
  return load_library(path, reason);
}

}  // namespace tw
