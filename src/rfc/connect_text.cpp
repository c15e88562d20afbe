#include "rfc/rfc.h"

namespace tw {

namespace {

/// Appends " KEY=value" (no blank before the first); false for a value with a double quote.
bool append_value(std::string& text, std::string_view key, std::string_view value) {
  if (value.find('"') != std::string_view::npos) return false;
  if (!text.empty()) text += ' ';
  text += key;
  text += '=';
  if (value.find_first_of(" \t") == std::string_view::npos) {
    text += value;
  } else {
    text += '"';
    text += value;
    text += '"';
  }
  return true;
}

}  // namespace

bool build_connect_text(const ProfileRecord& profile, std::string& text,
                        std::string& refused_key) {
  text.clear();
  refused_key.clear();
  const std::pair<std::string_view, const std::string*> values[] = {
      {"CLIENT", &profile.client}, {"USER", &profile.user}, {"PASSWD", &profile.password},
      {"LANG", nullptr},           {"DEST", &profile.destination}};
  for (const auto& [key, value] : values) {
    // The logon language of this way is always German.
    if (!append_value(text, key, value != nullptr ? std::string_view(*value) : "D")) {
      refused_key = key;
      text.clear();
      return false;
    }
  }
  return true;
}

}  // namespace tw
