// libFuzzer target of the list files of the global-list run. The first line of the input is
// the option text (the global sensor's name first, as typed); the rest is read both as the
// global profile "SAP Keswarin.Gbl" and as the suite profile "Keswarin.Prf".
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "os/ascii_text.h"
#include "profile/global_profile.h"
#include "support/fuzz_support.h"

namespace {

using tw::SystemList;
using tw::fuzzing::check;

bool same(const SystemList& a, const SystemList& b) {
  return a.listing == b.listing && a.item == b.item && a.label_style == b.label_style &&
         a.option_replaced == b.option_replaced && a.option_kept == b.option_kept &&
         a.error == b.error;
}

/// Lines of more than 199 bytes are read in several pieces.
bool lines_read_whole(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::size_t length = (end == std::string_view::npos ? text.size() : end + 1) - start;
    if (length > 199) return false;
    start += length;
  }
  return true;
}

/// The file with the sensor field of every line (columns 1 to 18) in lower case.
std::string heads_in_lower_case(std::string_view text) {
  std::string lowered(text);
  std::size_t column = 0;
  for (char& c : lowered) {
    if (column < 18 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    column = c == '\n' ? 0 : column + 1;
  }
  return lowered;
}

void check_global(const SystemList& list, std::string_view argument2, std::string_view input) {
  const std::string& error = list.error;
  check(error.empty() || error == "Error 1029: Invalid Sensor-Allocation..." ||
            error == "Error 1030: Global Sensor " + std::string(argument2) + " not found..." ||
            error == "Error 1025: Global Server Listing missing..." ||
            error == "Error 1026: Global Item Idenification missing...",
        "the global profile gives one of its own errors", {{"error", error}, {"input", input}});
  // Error 1029 can follow an earlier allocation line that did replace it.
  if (!error.starts_with("Error 1029")) {
    check(list.option_replaced == !error.starts_with("Error 1030"),
          "an allocation that names this program replaces the option text",
          {{"error", error}, {"input", input}});
  }
  check(list.label_style >= '1' && list.label_style <= '4', "the label style is 1 to 4",
        {{"input", input}});
  if (list.option_replaced) {
    check(list.option_kept.size() <= 127 && list.option_kept.find(':') == std::string::npos &&
              list.option_kept.find(",Sensor=") == std::string::npos,
          "the kept allocation text is at most 127 characters, without \":\" and \",Sensor=\"",
          {{"option kept", list.option_kept}, {"input", input}});
  }
  if (error.empty()) {
    check(!list.listing.empty() && !list.item.empty(), "a run has systems and an item",
          {{"input", input}});
    check(list.item.size() <= 90 && list.item.find_first_of(":,") == std::string::npos,
          "the item is at most 90 characters, without \":\" and \",\"",
          {{"item", list.item}, {"input", input}});
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t line_end = input.find('\n');
  if (line_end == std::string_view::npos) return 0;
  const std::string_view option = input.substr(0, std::min<std::size_t>(line_end, 127));
  const std::string_view file = input.substr(line_end + 1);
  const std::string option_upper = tw::upper_a_to_z(std::string(option));
  const std::string_view argument2 = option.substr(0, option.find(' '));

  static const std::string path = (tw::fuzzing::scratch_directory() / "list file").string();
  tw::fuzzing::write_file(path, file);

  const SystemList global = tw::read_global_profile(path, "SAP Keswarin.Gbl", option_upper,
                                                    argument2);
  check(same(global, tw::read_global_profile(path, "SAP Keswarin.Gbl", option_upper,
                                             argument2)),
        "reading the same global profile twice gives the same result", {{"input", input}});
  check_global(global, argument2, input);

  const SystemList suite = tw::read_suite_profile(path, "Keswarin.Prf", argument2);
  check(same(suite, tw::read_suite_profile(path, "Keswarin.Prf", argument2)),
        "reading the same suite profile twice gives the same result", {{"input", input}});
  check(suite.item == argument2 && suite.label_style == '1' && !suite.option_replaced,
        "the suite profile gives the selector's item, names as listed, the option text kept",
        {{"input", input}});
  check(suite.error.empty() ? !suite.listing.empty()
                            : suite.error == "Error 1025: Global Server Listing missing..." ||
                                  suite.error == "Error 1026: Global Item Idenification missing...",
        "the suite profile gives one of its own errors",
        {{"error", suite.error}, {"input", input}});
  check(suite.listing.size() <= file.size() && global.listing.size() <= file.size(),
        "a listing is taken from the file's lines", {{"input", input}});

  // The sensor field of the global profile matches in any letter case. (Behind a
  // byte-order mark the columns are those of the text the mark introduces.)
  const bool marked = file.starts_with("\xEF\xBB\xBF") || file.starts_with("\xFF\xFE") ||
                      file.starts_with("\xFE\xFF");
  if (lines_read_whole(file) && !marked) {
    tw::fuzzing::write_file(path, heads_in_lower_case(file));
    const SystemList lowered = tw::read_global_profile(path, "SAP Keswarin.Gbl", option_upper,
                                                       argument2);
    check(lowered.listing == global.listing && lowered.error == global.error &&
              lowered.item == global.item && lowered.option_kept == global.option_kept,
          "the sensor field of a global profile line matches in any letter case",
          {{"input", input}, {"listing", global.listing}, {"lowered", lowered.listing}});
  }
  return 0;
}
