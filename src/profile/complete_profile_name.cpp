#include "os/ascii_text.h"
#include "profile/locate_profile.h"

namespace tw {

namespace {

bool is_global_name(std::string_view name) { return equals_upper_a_to_z(name, kGlobalName); }

}  // namespace

CompletedName complete_profile_name(std::string_view typed) {
  CompletedName result;
  result.name = typed;
  if (result.name.size() < 4 || result.name[result.name.size() - 4] != '.') {
    result.name += kDefaultExtension;
  }
  if (is_global_name(result.name)) {
    result.name = kGlobalProfileName;
    result.global = true;
  }
  std::size_t last = std::string::npos;
  for (std::size_t i = 0; i < result.name.size(); ++i) {
    if (is_separator(result.name[i])) last = i;
  }
  // A separator that is the first character is part of the name, not a directory.
  if (last != std::string::npos && last != 0) {
    result.given_directory = result.name.substr(0, last + 1);
    result.name.erase(0, last + 1);
  }
  if (is_global_name(result.name)) {
    result.name = kGlobalProfileName;
    result.global = true;
  }
  return result;
}

}  // namespace tw
