// The simulator's log: one line per request, appended and flushed at once.
#pragma once

#include <cstdio>
#include <string>

#include "sim_os.h"

namespace tw::rfcsim {

class SimLog {
 public:
  SimLog() = default;
  ~SimLog();
  SimLog(const SimLog&) = delete;
  SimLog& operator=(const SimLog&) = delete;

  /*
   * Opens `path` for appending; false when it cannot be opened.
   */
  bool open(const std::string& path);

  /*
   * Appends `text` and a line feed and flushes; several sessions may call it at once.
   */
  void line(const std::string& text);

 private:
  os::Lock lock_;
  std::FILE* file_ = nullptr;
};

}  // namespace tw::rfcsim
