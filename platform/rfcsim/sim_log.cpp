#include "sim_log.h"

namespace tw::rfcsim {

SimLog::~SimLog() {
  if (file_ != nullptr) std::fclose(file_);
}

bool SimLog::open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "ab");
  return file_ != nullptr;
}

void SimLog::line(const std::string& text) {
  const os::Hold hold(lock_);
  if (file_ == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

}  // namespace tw::rfcsim
