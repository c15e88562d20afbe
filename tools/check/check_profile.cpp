#include <algorithm>

#include "check/check_run.h"
#include "check/label_typos.h"
#include "check/text_encoding.h"

namespace tw::check {

namespace {

/// "line N" of a profile.
std::string at_line(unsigned line) { return "line " + std::to_string(line); }

/// The label of a profile line, as the lines show it (without the colon's blank).
std::string label_of(const ProfileLabel& entry) { return entry.label; }

/// What the encoding of the profile does to the sensor's reading: nothing for plain text;
/// with a byte-order mark the labels of the lines it shifts are not recognised.
void check_encoding(CheckRun& run, const std::string& path, const ProfileReadNotes& notes,
                    std::string_view prefix) {
  const std::string head = text_file_head(path, 64);
  const TextEncoding encoding = text_encoding(head);
  if (encoding == TextEncoding::plain) return;
  bool any_label = false;
  for (const unsigned line : notes.label_lines) any_label = any_label || line != 0;
  const bool first_line_label = std::find(notes.label_lines.begin(), notes.label_lines.end(),
                                          1u) != notes.label_lines.end();
  const std::string first_line = head.substr(mark_length(encoding));
  bool label_behind_mark = false;
  for (const ProfileLabel& entry : profile_labels()) {
    label_behind_mark = label_behind_mark || first_line.starts_with(entry.label);
  }
  const std::string what = std::string(prefix) + "profile encoding";
  const std::string remedy =
      "save the profile as ANSI (Windows-1252) or UTF-8 without byte-order mark, e.g. in "
      "Notepad with Save As and that encoding";
  if (encoding == TextEncoding::utf8_mark && label_behind_mark && !first_line_label) {
    run.log.fail(what, "the file begins with a UTF-8 byte-order mark, which the sensor reads "
                 "as part of line 1, so the label there is not recognised",
                 remedy);
  } else if (encoding != TextEncoding::utf8_mark && !any_label) {
    run.log.fail(what, "the file is " + encoding_text(encoding) +
                           ", in which the sensor recognises no label",
                 remedy);
  } else {
    run.log.ok(what + ": " + encoding_text(encoding) + ", read past by the sensor");
  }
}

/// The line for one label found in the profile.
void check_found_label(CheckRun& run, const ProfileLabel& entry, unsigned line,
                       const ProfileReadNotes& notes, std::string_view prefix) {
  const ProfileRecord& profile = run.sensor.profile;
  const std::string what = std::string(prefix) + "profile " + label_of(entry) + " " + at_line(line);
  const std::string& value = profile.*entry.field;
  const std::string minimum = std::to_string(entry.minimum);
  if (entry.field == &ProfileRecord::password) {
    const std::string remedy =
        "write the Password line anew: tarnwheel-passwd --profile-line, with the password on "
        "standard input";
    if (notes.password_fault == PasswordFault::header) {
      run.log.fail(what, "the stored value is no value of tarnwheel-passwd (not 24 characters, "
                   "or its first four do not decode)",
                   remedy);
    } else if (notes.password_fault == PasswordFault::check) {
      run.log.fail(what, "the stored value fails its check: a character of it was changed, "
                   "e.g. while copying",
                   remedy);
    } else if (value.size() < entry.minimum) {
      run.log.fail(what, value.empty() ? std::string("empty")
                                       : "the password has " + std::to_string(value.size()) +
                                             " character, at least " + minimum + " are needed",
                   remedy);
    } else {
      run.log.ok(what + ": the stored value decodes to a password of " +
                 std::to_string(value.size()) + " characters");
    }
    return;
  }
  if (value.size() < entry.minimum) {
    run.log.fail(what, (value.empty() ? std::string("the value is empty")
                                      : "the value " + quoted(value) + " has " +
                                            std::to_string(value.size()) + " characters") +
                           ", at least " + minimum + " are needed",
                 "write the value from column 14 on, after the label in columns 1 to 12 and "
                 "one blank");
    return;
  }
  run.log.ok(what + ": " + quoted(value));
}

/// The line for one label missing from the profile, naming a line that seems meant as it.
void check_missing_label(CheckRun& run, const ProfileLabel& entry,
                         const ProfileReadNotes& notes, std::string_view prefix) {
  const std::string what = std::string(prefix) + "profile " + label_of(entry);
  if (notes.stopped_at_line != 0) {
    run.log.skip(what, "the sensor stops reading at the password on " +
                           at_line(notes.stopped_at_line));
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

bool check_profile(CheckRun& run, FileHandle file, const std::string& path,
                   const std::string& name, RunKind kind, std::string_view prefix) {
  ProfileReadNotes notes;
  const ProfileReadResult read =
      read_profile(run.sensor.profile, file.release(), kind, name, &notes);
  check_encoding(run, path, notes, prefix);
  for (std::size_t index = 0; index < profile_labels().size(); ++index) {
    const ProfileLabel& entry = profile_labels()[index];
    if (notes.label_lines[index] != 0) {
      check_found_label(run, entry, notes.label_lines[index], notes, prefix);
    } else {
      check_missing_label(run, entry, notes, prefix);
    }
  }
  RunSettings& settings = run.sensor.settings;
  if (settings.client_override) run.sensor.profile.client = settings.client;

  const std::string what = std::string(prefix) + "profile " + name;
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
