#include "os/ascii_text.h"
#include "profile/locate_profile.h"

namespace tw {

namespace {

bool is_directory_line(std::string_view line) {
  return (!line.empty() && is_separator(line[0])) || (line.size() > 1 && line[1] == ':') ||
         (line.size() > 2 && is_separator(line[2]));
}

/// Opens `path` for reading, and notes the try in `trail` when there is one.
InputFile open_noted(const std::string& path, LocateTrail* trail) {
  InputFile file = open_for_reading(path);
  if (trail != nullptr) trail->tries.push_back({path, static_cast<bool>(file)});
  return file;
}

bool exists(const std::string& path, LocateTrail* trail) {
  return static_cast<bool>(open_noted(path, trail));
}

/// The directory, without its final character, must end in "EXEXML" in any letter case.
bool is_exexml_directory(std::string_view directory) {
  if (directory.size() < 7) return false;
  return equals_upper_a_to_z(directory.substr(directory.size() - 7, 6), "EXEXML");
}

std::string concat(std::string_view a, std::string_view b, std::string_view c = {}) {
  std::string text(a);
  text += b;
  text += c;
  return text;
}

std::string missing(std::string_view shown) {
  return concat("Error 1002: Profile ", shown, " is missing...");
}

}  // namespace

std::string read_base_directory(InputFile& path_file) {
  std::string base;
  std::string line;
  while (read_piece(path_file, 99, line)) {
    strip_line_end(line);
    if (is_directory_line(line)) base = line;
  }
  return base;
}

LocatedProfile locate_profile(const CompletedName& name, std::string_view output_mode,
                              std::string_view option_upper, LocateTrail* trail) {
  LocatedProfile found;
  const bool search =
      output_mode == "EXEXML" && option_upper.find('@') == std::string_view::npos;

  if (!search) {
    found.directory = name.given_directory;
    found.path = found.directory + name.name;
    found.file = open_noted(found.path, trail);
    if (!found.file) found.error = missing(found.path);
    return found;
  }
  if (trail != nullptr) trail->searched = true;

  std::string directory;
  if (InputFile path_file = open_for_reading(kPrtgPathFile)) {
    std::string base = read_base_directory(path_file);
    path_file = {};
    if (base.empty() || !is_separator(base.back())) base += '\\';
    if (trail != nullptr) {
      trail->path_file_found = true;
      trail->base_directory = base;
    }
    directory = base;
    if (exists(concat(base, kSubPath1, name.name), trail)) directory = concat(base, kSubPath1);
    if (exists(concat(directory, kSubPath2, name.name), trail)) directory += kSubPath2;
    found.file = open_noted(directory + name.name, trail);
    if (!found.file) {
      found.error = missing(name.name);
      return found;
    }
  } else {
    found.file = open_noted(name.name, trail);
    for (std::string_view default_directory : kDefaultDirectories) {
      if (found.file) break;
      directory = default_directory;
      found.file = open_noted(directory + name.name, trail);
    }
    if (!found.file) {
      found.error = missing(name.name);
      return found;
    }
  }

  if (!is_exexml_directory(directory)) {
    if (trail != nullptr) trail->path_rule_failed = true;
    found.file = {};
    found.error = kInvalidPathUsage;
    return found;
  }
  found.directory = directory;
  found.path = directory + name.name;
  return found;
}

}  // namespace tw
