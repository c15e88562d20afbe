#include "run/run_settings.h"

namespace tw {

std::size_t find_selector(const RunSettings& settings, std::string_view key) {
  return settings.option_upper.find(key);
}

std::string selector_value(const RunSettings& settings, std::string_view key) {
  const std::size_t at = find_selector(settings, key);
  if (at == std::string::npos) return {};
  const std::size_t begin = at + key.size();
  const std::size_t end = settings.option_kept.find_first_of(" ,", begin);
  return settings.option_kept.substr(begin, end == std::string::npos ? end : end - begin);
}

}  // namespace tw
