#include "connect_text.h"

#include "text_util.h"

namespace tw::rfclib {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool parse_connect_text(std::string_view text, ConnectText& result, std::string& error) {
  result = ConnectText{};
  bool has_destination = false;
  std::size_t at = 0;
  while (true) {
    while (at < text.size() && is_blank(text[at])) ++at;
    if (at == text.size()) break;
    const std::size_t key_start = at;
    while (at < text.size() && !is_blank(text[at]) && text[at] != '=') ++at;
    if (at == text.size() || text[at] != '=' || at == key_start) {
      error = "connection text holds a word that is not KEY=value";
      return false;
    }
    const std::string key = upper(text.substr(key_start, at - key_start));
    ++at;
    std::string value;
    if (at < text.size() && text[at] == '"') {
      // A quoted value runs to the next double quote, blanks included.
      const std::size_t close = text.find('"', at + 1);
      if (close == std::string_view::npos) {
        error = "connection text: the value of " + key + " lacks its closing double quote";
        return false;
      }
      value = std::string(text.substr(at + 1, close - at - 1));
      at = close + 1;
      if (at < text.size() && !is_blank(text[at])) {
        error = "connection text: the quoted value of " + key + " is not followed by a blank";
        return false;
      }
    } else {
      const std::size_t start = at;
      while (at < text.size() && !is_blank(text[at])) ++at;
      value = std::string(text.substr(start, at - start));
      if (value.find('"') != std::string::npos) {
        error = "connection text: the value of " + key + " holds a double quote";
        return false;
      }
    }
    if (key == "CLIENT") result.client = std::move(value);
    else if (key == "USER") result.user = std::move(value);
    else if (key == "PASSWD") result.password = std::move(value);
    else if (key == "LANG") result.language = std::move(value);
    else if (key == "DEST") {
      result.destination = std::move(value);
      has_destination = true;
    }
  }
  if (!has_destination || result.destination.empty()) {
    error = "connection text names no DEST";
    return false;
  }
  return true;
}

}  // namespace tw::rfclib
