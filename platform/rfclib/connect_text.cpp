#include "connect_text.h"

#include "text_util.h"

namespace tw::rfclib {

bool parse_connect_text(std::string_view text, ConnectText& result, std::string& error) {
  result = ConnectText{};
  bool has_destination = false;
  for (std::string_view word : split_words(text)) {
    const std::size_t equals = word.find('=');
    if (equals == std::string_view::npos || equals == 0) {
      error = "connection text holds a word that is not KEY=value";
      return false;
    }
    const std::string key = upper(word.substr(0, equals));
    const std::string value(word.substr(equals + 1));
    if (key == "CLIENT") result.client = value;
    else if (key == "USER") result.user = value;
    else if (key == "PASSWD") result.password = value;
    else if (key == "LANG") result.language = value;
    else if (key == "DEST") {
      result.destination = value;
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
