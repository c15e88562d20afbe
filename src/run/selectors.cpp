#include "run/run_settings.h"

#include "os/ascii_text.h"

namespace tw {

std::size_t find_selector(const RunSettings& settings, std::string_view key) {
  return settings.option_upper.find(key);
}

std::string selector_value(const RunSettings& settings, std::string_view key) {
  const std::size_t at = find_selector(settings, key);
  if (at == std::string::npos) return {};
  return std::string(value_at(settings.option_kept, at + key.size()));
}

}  // namespace tw
