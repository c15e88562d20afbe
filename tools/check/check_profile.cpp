#include <algorithm>

#include "check/check_run.h"
#include "check/label_typos.h"
#include "check/text_encoding.h"

namespace tw::check {

namespace {

/// "line N" of a profile.
std::string at_line(unsigned line) { return "line " + std::to_string(line); }

/// "N character" or "N characters".
std::string characters(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " character" : " characters");
}

/// The key word of a label, as the lines name it ("Hostname" for "Hostname...:").
std::string label_of(const ProfileLabel& entry) {
  const std::string_view label = entry.label;
  return std::string(label.substr(0, label.find_first_of(".:")));
}

constexpr std::string_view kEncodingRemedy =
    "save the profile as ANSI (Windows-1252) or UTF-8 without byte-order mark, e.g. in "
    "Notepad with Save As and that encoding";

/// What the encoding of the profile does to the sensor's reading: nothing for plain text;
/// with a byte-order mark the label of line 1 (or with UTF-16 every label) may not be
/// recognised. Returns the label that a UTF-8 mark hides on line 1, if any.
const char* check_encoding(CheckRun& run, const std::string& path, const ProfileReadNotes& notes,
                           std::string_view prefix) {
  const std::string head = text_file_head(path, 64);
  const TextEncoding encoding = text_encoding(head);
  if (encoding == TextEncoding::plain) return nullptr;
  const auto& lines = notes.label_lines;
  const bool any_label = std::any_of(lines.begin(), lines.end(), [](unsigned l) { return l != 0; });
  const bool first_line_label = std::find(lines.begin(), lines.end(), 1u) != lines.end();
  const char* hidden = nullptr;
  for (const ProfileLabel& entry : profile_labels()) {
    if (head.substr(mark_length(encoding)).starts_with(entry.label)) hidden = entry.label;
  }
  const std::string what = std::string(prefix) + "profile encoding";
  if (encoding == TextEncoding::utf8_mark && hidden != nullptr && !first_line_label) {
    run.log.fail(what, "the file begins with a UTF-8 byte-order mark, which the sensor reads "
                 "as part of line 1, so the label there is not recognised",
                 kEncodingRemedy);
    return hidden;
  }
  if (encoding != TextEncoding::utf8_mark && !any_label) {
    run.log.fail(what, "the file is " + encoding_text(encoding) +
                           ", in which the sensor recognises no label",
                 kEncodingRemedy);
    return nullptr;
  }
  run.log.ok(what + ": " + encoding_text(encoding) + ", read past by the sensor");
  return nullptr;
}

/// The line for the Password label found in the profile: the decoding and the length of
/// the password, never the password.
void check_found_password(CheckRun& run, const ProfileLabel& entry, const std::string& what,
                          const ProfileReadNotes& notes) {
  const std::string& password = run.sensor.profile.password;
  constexpr std::string_view kRemedy =
      "write the Password line anew: tarnwheel-passwd --profile-line, with the password on "
      "standard input";
  if (notes.password_fault == PasswordFault::header) {
    run.log.fail(what, "the stored value is no value of tarnwheel-passwd (not 24 characters, "
                 "or its first four do not decode)",
                 kRemedy);
  } else if (notes.password_fault == PasswordFault::check) {
    run.log.fail(what, "the stored value fails its check: a character of it was changed, "
                 "e.g. while copying",
                 kRemedy);
  } else if (password.size() < entry.minimum) {
    run.log.fail(what, password.empty()
                           ? std::string("empty")
                           : "the password has " + characters(password.size()) +
                                 ", at least " + std::to_string(entry.minimum) + " are needed",
                 kRemedy);
  } else {
    run.log.ok(what + ": the stored value decodes to a password of " +
               characters(password.size()));
  }
}

/// The line for one label found in the profile.
void check_found_label(CheckRun& run, const ProfileLabel& entry, unsigned line,
                       const ProfileReadNotes& notes, std::string_view prefix) {
  const std::string what =
      std::string(prefix) + "profile " + label_of(entry) + ", " + at_line(line);
  if (entry.field == &ProfileRecord::password) {
    check_found_password(run, entry, what, notes);
    return;
  }
  const std::string& value = run.sensor.profile.*entry.field;
  if (value.size() < entry.minimum) {
    run.log.fail(what, (value.empty() ? std::string("the value is empty")
                                      : "the value " + quoted(value) + " has " +
                                            characters(value.size())) +
                           ", at least " + std::to_string(entry.minimum) + " are needed",
                 "write the value from column 14 on, after the label in columns 1 to 12 and "
                 "one blank");
    return;
  }
  run.log.ok(what + ": " + quoted(value));
}

/// The line for one label missing from the profile, naming the line that seems meant as it.
void check_missing_label(CheckRun& run, const ProfileLabel& entry, const ProfileReadNotes& notes,
                         const char* hidden_by_mark, std::string_view prefix) {
  const std::string what = std::string(prefix) + "profile " + label_of(entry);
  if (notes.stopped_at_line != 0) {
    run.log.skip(what, "the sensor stops reading at the password on " +
                           at_line(notes.stopped_at_line));
    return;
  }
  if (hidden_by_mark != nullptr && std::string_view(hidden_by_mark) == entry.label) {
    run.log.fail(what, "missing: line 1 holds it behind the byte-order mark", kEncodingRemedy);
    return;
  }
  for (const ProfileReadNotes::Unrecognised& line : notes.unrecognised) {
    if (intended_label(line.label) == entry.label) {
      run.log.fail(what, "missing; " + at_line(line.line) + " begins with " +
                             quoted(line.label) + ", which is no label: a label must match " +
                             "letter for letter, dots and colon included, from column 1",
                   "write the label as " + quoted(entry.label) + " in columns 1 to 12");
      return;
    }
  }
  run.log.fail(what, "missing",
               "add the line " + quoted(std::string(entry.label) + " VALUE") +
                   ": the label in columns 1 to 12, one blank, the value from column 14");
}

}  // namespace

bool check_profile(CheckRun& run, InputFile file, const std::string& path,
                   const std::string& name, RunKind kind, std::string_view prefix) {
  ProfileReadNotes notes;
  const ProfileReadResult read =
      read_profile(run.sensor.profile, std::move(file), kind, name, &notes);
  const char* hidden_by_mark = check_encoding(run, path, notes, prefix);
  for (std::size_t index = 0; index < profile_labels().size(); ++index) {
    const ProfileLabel& entry = profile_labels()[index];
    if (notes.label_lines[index] != 0) {
      check_found_label(run, entry, notes.label_lines[index], notes, prefix);
    } else {
      check_missing_label(run, entry, notes, hidden_by_mark, prefix);
    }
  }
  RunSettings& settings = run.sensor.settings;
  if (settings.client_override) run.sensor.profile.client = settings.client;

  const std::string what = prefix.empty() ? "profile " + name : std::string(prefix) + "profile";
  if (!read.failed) {
    run.log.ok(what + ": read as the sensor reads it, complete");
    return true;
  }
  if (kind == RunKind::single_system) {
    run.log.fail(what, "the sensor answers \"" + read.error + "\"", "see the lines above");
  } else {
    run.log.fail(what, "incomplete: the sensor counts the system as failed (Rfc Failure)",
                 "see the lines above");
  }
  return false;
}

}  // namespace tw::check
