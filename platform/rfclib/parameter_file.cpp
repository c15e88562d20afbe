#include "parameter_file.h"

#include <cstdio>
#include <cstdlib>

#include "os/regular_file.h"
#include "os/rfc_file_names.h"
#include "text_util.h"

namespace tw::rfclib {

std::optional<Destination> find_destination(std::string_view file_text, std::string_view name) {
  std::optional<Destination> found;
  bool in_wanted = false;
  for (std::string_view line : split_lines(file_text)) {
    line = trim(line);
    if (line.empty() || line.front() == '*' || line.substr(0, 2) == "/*") continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string key = upper(trim(line.substr(0, equals)));
    const std::string_view value = trim(line.substr(equals + 1));
    if (key == "DEST") {
      if (found) break;  // the wanted entry is complete
      in_wanted = equal_ignoring_case(value, name);
      if (in_wanted) {
        found.emplace();
        found->name = std::string(value);
      }
      continue;
    }
    if (!in_wanted) continue;
    if (key == "TYPE") found->type = upper(value);
    else if (key == "ASHOST") found->ashost = std::string(value);
    else if (key == "SYSNR") found->sysnr = std::string(value);
    else if (key == "GWHOST") found->gwhost = std::string(value);
    else if (key == "GWSERV") found->gwserv = std::string(value);
    else if (key == "MSHOST") found->mshost = std::string(value);
    else if (key == "MSSERV") found->msserv = std::string(value);
    else if (key == "R3NAME") found->r3name = std::string(value);
    else if (key == "GROUP") found->group = std::string(value);
  }
  return found;
}

std::string parameter_file_name() {
  const char* named = std::getenv("RFC_INI");
  return named != nullptr && *named != '\0' ? std::string(named) : std::string(kRfcParameterFile);
}

bool read_whole_file(const std::string& name, std::string& text) {
  std::FILE* file = open_regular_file(name, "rb");
  if (file == nullptr) return false;
  text.clear();
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  const bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

}  // namespace tw::rfclib
