// libFuzzer target of the PRTG path file: any bytes as "C:\PRTG_Path.Txt", read alone and by
// the search for a profile. The drive root is a scratch directory holding profiles in and
// outside sensor directories; each profile holds its own path, so the file left open can be
// told apart.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "os/ascii_text.h"
#include "profile/locate_profile.h"
#include "support/fuzz_support.h"

namespace {

using tw::fuzzing::check;
using tw::fuzzing::fail;

constexpr std::string_view kName = "PRD.P00";

/// Where profiles lie below the drive root (and, for relative directory lines, below the
/// working directory "work").
constexpr std::string_view kProfiles[] = {
    "/PRD.P00",
    "/NotAllowed/PRD.P00",
    "/ExeXml/PRD.P00",
    "/Sensors/PRTG Network Monitor/Custom Sensors/ExeXml/PRD.P00",
    "/Sensors/PRTG Network Monitor/Custom Sensors/ExeXml/Custom Sensors/ExeXml/PRD.P00",
    "/Other/Custom Sensors/ExeXml/PRD.P00",
    "/Programme/PRTG Network Monitor/Custom Sensors/ExeXml/PRD.P00",
    "/work/PRD.P00",
    "/work/sensors/exexml/PRD.P00",
};

void prepare_drive() {
  const std::filesystem::path& root = tw::fuzzing::scratch_directory();
  for (std::string_view profile : kProfiles) {
    tw::fuzzing::write_file(root.string() + std::string(profile), profile);
  }
  tw::set_drive_root(root.string());
}

bool is_directory_line(std::string_view line) {
  return (!line.empty() && tw::is_separator(line[0])) || (line.size() > 1 && line[1] == ':') ||
         (line.size() > 2 && tw::is_separator(line[2]));
}

/// Everything the file seam gives of `file` from where it stands.
std::string content_of(tw::InputFile& file) {
  std::string text, block;
  while (tw::read_block(file, 4096, block)) text += block;
  return text;
}

/// `bytes` opened through the file seam, as a file holding them would be.
tw::InputFile seam_file_of(std::string_view bytes) {
  return tw::read_from(tw::FileHandle(tw::fuzzing::stream_of(bytes)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool prepared = (prepare_drive(), true);
  (void)prepared;
  // Relative directory lines lead below the working directory "work" of the drive.
  const tw::fuzzing::InDirectory work(tw::fuzzing::scratch_directory() / "work");
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  tw::InputFile path_file = seam_file_of(input);
  const std::string base = tw::read_base_directory(path_file);
  // What is read of the file: past a byte-order mark, a UTF-16 text in Windows-1252.
  tw::InputFile whole = seam_file_of(input);
  const std::string text = content_of(whole);
  check(base.empty() || is_directory_line(base), "the base directory is a directory line",
        {{"base", base}, {"input", input}});
  check(base.size() <= 99 && base.find('\n') == std::string::npos &&
            text.find(base) != std::string::npos,
        "the base directory is one line of the file, at most 99 characters",
        {{"base", base}, {"input", input}});

  tw::fuzzing::write_file(tw::native_path(tw::kPrtgPathFile), input);
  const tw::CompletedName name = tw::complete_profile_name(kName);
  tw::LocatedProfile found = tw::locate_profile(name, "EXEXML", "");
  const tw::LocatedProfile again = tw::locate_profile(name, "EXEXML", "");
  check(found.error == again.error && found.path == again.path &&
            found.directory == again.directory,
        "the same path file finds the same profile", {{"input", input}});

  std::string searched = base;
  if (searched.empty() || !tw::is_separator(searched.back())) searched += '\\';
  if (found.error.empty()) {
    check(static_cast<bool>(found.file), "a found profile is left open", {{"input", input}});
    const std::string& directory = found.directory;
    check(directory.size() >= 7 && tw::is_separator(directory.back()) &&
              tw::equals_upper_a_to_z(directory.substr(directory.size() - 7, 6), "EXEXML"),
          "a profile is only taken from a directory ending in ExeXml",
          {{"directory", directory}, {"input", input}});
    check(found.path == directory + std::string(kName) && directory.starts_with(searched),
          "the profile lies below the base directory",
          {{"path", found.path}, {"base", base}, {"input", input}});
    tw::InputFile named = tw::open_for_reading(found.path);
    check(named && content_of(named) == content_of(found.file),
          "the file left open is the one its path names", {{"path", found.path}, {"input", input}});
  } else {
    check(!found.file, "a refused profile is not left open", {{"input", input}});
    if (found.error == tw::kInvalidPathUsage) {
      check(static_cast<bool>(tw::open_for_reading(searched + std::string(kName))),
            "a profile outside ExeXml was there", {{"base", base}, {"input", input}});
    } else if (found.error == "Error 1002: Profile PRD.P00 is missing...") {
      check(!tw::open_for_reading(searched + std::string(kName)),
            "a missing profile is not in the base directory", {{"base", base}, {"input", input}});
    } else {
      fail("the search gives one of its own errors", {{"error", found.error}, {"input", input}});
    }
  }
  return 0;
}
