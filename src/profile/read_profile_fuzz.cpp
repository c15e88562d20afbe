// libFuzzer target of profile reading: any bytes as a profile, read by the single-system run
// and by the global-list run.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "profile/profile_record.h"
#include "support/fuzz_support.h"

namespace {

using tw::ProfileReadResult;
using tw::ProfileRecord;
using tw::RunKind;
using tw::fuzzing::check;
using tw::fuzzing::fail;

constexpr std::string_view kProfileName = "PRD.P00";
/// What every field holds before the reading that checks which fields a profile assigns.
constexpr std::string_view kKept = "\x01KEPT";

struct Field {
  std::string_view label;
  std::string ProfileRecord::*member;
};

const std::array<Field, 11> kFields = {{
    {"Extcompany.:", &ProfileRecord::extcompany},
    {"Destination:", &ProfileRecord::destination},
    {"Client.....:", &ProfileRecord::client},
    {"User.......:", &ProfileRecord::user},
    {"Password...:", &ProfileRecord::password},
    {"Language...:", &ProfileRecord::language},
    {"Mode.......:", &ProfileRecord::mode},
    {"Hostname...:", &ProfileRecord::hostname},
    {"Sysnr......:", &ProfileRecord::sysnr},
    {"Gwhost.....:", &ProfileRecord::gwhost},
    {"Gwservice..:", &ProfileRecord::gwservice},
}};

struct Reading {
  ProfileRecord record;
  ProfileReadResult result;
};

Reading read(std::string_view bytes, RunKind kind, const ProfileRecord& start) {
  Reading reading{start, {}};
  reading.result = tw::read_profile(
      reading.record, tw::read_from(tw::FileHandle(tw::fuzzing::stream_of(bytes))), kind,
      kProfileName);
  return reading;
}

bool same(const Reading& a, const Reading& b) {
  for (const Field& field : kFields) {
    if (a.record.*field.member != b.record.*field.member) return false;
  }
  return a.record.display_host == b.record.display_host &&
         a.result.failed == b.result.failed && a.result.error == b.result.error;
}

/// The longest line of `bytes` in bytes, its line feed included.
std::size_t longest_line(std::string_view bytes) {
  std::size_t longest = 0;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    const std::size_t length = end == std::string_view::npos ? bytes.size() : end + 1;
    if (length > longest) longest = length;
    bytes.remove_prefix(length);
  }
  return longest;
}

/// Every value is a piece of one line, columns 14 to 73 at most; the password is decoded
/// (any bytes but NUL).
void check_values(const Reading& reading, std::string_view input, std::string_view what) {
  for (const Field& field : kFields) {
    const std::string& value = reading.record.*field.member;
    const bool decoded = field.member == &ProfileRecord::password;
    if (value.size() > 60 || (!decoded && value.find('\n') != std::string::npos) ||
        value.find('\0') != std::string::npos)
      fail("a value is at most 60 characters of one line, without NUL",
           {{"reading", what}, {"label", field.label}, {"value", value}, {"input", input}});
  }
  check(reading.record.password.size() <= 20, "a decoded password is at most 20 characters",
        {{"reading", what}, {"password", reading.record.password}, {"input", input}});
  check(reading.record.user.find_first_of("abcdefghijklmnopqrstuvwxyz") == std::string::npos,
        "the user is stored upper-cased",
        {{"reading", what}, {"user", reading.record.user}, {"input", input}});
}

/// What the file seam reads of a file holding `bytes`: past a byte-order mark, a UTF-16
/// text in Windows-1252.
std::string text_read_of(std::string_view bytes) {
  tw::InputFile file = tw::read_from(tw::FileHandle(tw::fuzzing::stream_of(bytes)));
  std::string text, block;
  while (tw::read_block(file, 4096, block)) text += block;
  return text;
}

bool starts_with_mark(std::string_view text) {
  return text.starts_with("\xEF\xBB\xBF") || text.starts_with("\xFF\xFE") ||
         text.starts_with("\xFE\xFF");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  // The checks look at the text behind a byte-order mark; a text that begins with one
  // again would be read differently a second time.
  const std::string text = text_read_of(raw);
  if (text != raw && starts_with_mark(text)) return 0;
  const std::string_view input(text);
  const ProfileRecord empty;

  const Reading single = read(input, RunKind::single_system, empty);
  check(same(single, read(input, RunKind::single_system, empty)),
        "reading the same profile twice gives the same record", {{"input", input}});
  check_values(single, input, "single-system");
  if (text != raw) {
    check(same(single, read(raw, RunKind::single_system, empty)),
          "a profile with a byte-order mark reads as the text behind it", {{"input", raw}});
  }
  if (single.result.failed) {
    check(single.result.error.starts_with("Error 100") &&
              single.result.error.find(kProfileName) != std::string::npos,
          "a failed single-system reading names its error and the profile",
          {{"error", single.result.error}, {"input", input}});
  } else {
    check(single.result.error.empty(), "a successful reading has no error message",
          {{"error", single.result.error}});
    for (const Field& field : kFields) {
      check(!(single.record.*field.member).empty(), "a complete profile has every value",
            {{"label", field.label}, {"input", input}});
    }
  }

  const Reading global = read(input, RunKind::global_list, empty);
  check_values(global, input, "global-list");
  check(global.result.error.empty(), "the global-list reading only marks a failure",
        {{"error", global.result.error}, {"input", input}});
  // Both runs read the same pieces when no line is cut into several.
  if (longest_line(input) <= 159) {
    check(single.result.failed == global.result.failed,
          "both run kinds find a fault in the same profile", {{"input", input}});
    const bool password_fault = single.result.error.starts_with("Error 1004") ||
                                single.result.error.starts_with("Error 1005");
    if (!password_fault) {
      check(same(Reading{single.record, {}}, Reading{global.record, {}}),
            "both run kinds read the same values", {{"input", input}});
    }
  }

  // Only the fields whose labels occur are assigned.
  ProfileRecord prefilled;
  for (const Field& field : kFields) prefilled.*field.member = kKept;
  prefilled.display_host = kKept;
  const Reading kept = read(input, RunKind::single_system, prefilled);
  for (const Field& field : kFields) {
    if (input.find(field.label) == std::string_view::npos &&
        kept.record.*field.member != kKept)
      fail("a field whose label does not occur keeps its value",
           {{"label", field.label}, {"value", kept.record.*field.member}, {"input", input}});
  }
  if (input.find("Hostname...:") != std::string_view::npos) {
    check(kept.record.display_host == kept.record.hostname, "a Hostname line sets the host shown",
          {{"input", input}});
  }

  // A profile with Windows line ends reads as the same profile.
  if (input.find('\r') == std::string_view::npos && longest_line(input) <= 158) {
    std::string crlf;
    for (const char c : input) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    check(same(single, read(crlf, RunKind::single_system, empty)),
          "CR LF line ends read as LF ones", {{"input", input}});
  }
  return 0;
}
