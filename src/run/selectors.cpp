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

std::optional<unsigned> deadline_selector(std::string_view text_upper) {
  constexpr std::string_view kKey = "TIMEOUT=";
  const std::size_t at = text_upper.find(kKey);
  if (at == std::string_view::npos) return std::nullopt;
  const std::string_view value = value_at(text_upper, at + kKey.size());
  unsigned seconds = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') return std::nullopt;
    seconds = seconds * 10 + static_cast<unsigned>(c - '0');
    if (seconds > kLongestDeadline) return std::nullopt;  // also stops any overflow
  }
  if (seconds == 0) return std::nullopt;  // no digits, or nothing but zeros
  return seconds;
}

RfcLibraryChoice rfc_library_selector(std::string_view text_upper) {
  constexpr std::string_view kKey = "RFCLIB=";
  const std::size_t at = text_upper.find(kKey);
  if (at == std::string_view::npos) return RfcLibraryChoice::either;
  const std::string_view value = value_at(text_upper, at + kKey.size());
  if (value == "NW") return RfcLibraryChoice::netweaver;
  if (value == "CLASSIC") return RfcLibraryChoice::classic;
  return RfcLibraryChoice::either;
}

}  // namespace tw
