// libFuzzer target of the parameter file: the first line of the input is the destination
// looked for, the rest the text of SapRfc.ini.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "parameter_file.h"
#include "support/fuzz_support.h"
#include "text_util.h"

namespace {

using tw::fuzzing::check;
using tw::rfclib::Destination;

bool same(const std::optional<Destination>& a, const std::optional<Destination>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || (a->name == b->name && a->type == b->type && a->ashost == b->ashost &&
                a->sysnr == b->sysnr && a->gwhost == b->gwhost && a->gwserv == b->gwserv);
}

/// A value as the file gives it: on one line, without blanks at either end.
bool one_trimmed_line(std::string_view value) {
  return value.find('\n') == std::string_view::npos && tw::rfclib::trim(value) == value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t line_end = input.find('\n');
  if (line_end == std::string_view::npos) return 0;
  const std::string_view name = input.substr(0, line_end);
  const std::string_view file = input.substr(line_end + 1);

  const std::optional<Destination> found = tw::rfclib::find_destination(file, name);
  check(same(found, tw::rfclib::find_destination(file, name)),
        "looking up the same destination twice gives the same entry", {{"input", input}});
  if (found) {
    check(tw::rfclib::equal_ignoring_case(found->name, name),
          "a found destination's name matches the name asked for, letter case ignored",
          {{"asked", name}, {"found", found->name}, {"file", file}});
    check(file.find(found->name) != std::string_view::npos, "a found name is in the file",
          {{"found", found->name}, {"file", file}});
    check(found->type.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos,
          "the connection type is read in upper case", {{"type", found->type}, {"file", file}});
    for (const std::string* value :
         {&found->name, &found->type, &found->ashost, &found->sysnr, &found->gwhost,
          &found->gwserv}) {
      check(one_trimmed_line(*value), "a value is one line without blanks at either end",
            {{"value", *value}, {"file", file}});
    }
  }

  // Comment lines say nothing.
  const std::string commented = "* DEST=" + std::string(name) + "\n/* ASHOST=comment\n  *\n" +
                                std::string(file);
  check(same(found, tw::rfclib::find_destination(commented, name)),
        "comment lines change nothing", {{"input", input}});

  // The first entry of a name wins; a name not yet in the file is found in a later entry.
  const std::string appended =
      std::string(file) + "\n DEST = " + std::string(name) + "\nashost=later-host\n";
  const std::optional<Destination> with_later = tw::rfclib::find_destination(appended, name);
  if (found) {
    check(same(found, with_later), "the first entry of a destination wins", {{"input", input}});
  } else if (!name.empty() && tw::rfclib::trim(name) == name) {
    check(with_later.has_value() && with_later->ashost == "later-host",
          "a destination not in the file is found in an entry added at its end",
          {{"input", input}});
  }
  return 0;
}
