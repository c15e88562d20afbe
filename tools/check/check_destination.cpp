#include "check/check_destination.h"

#include "check/rfc_files.h"
#include "check/text_encoding.h"
#include "os/text_file.h"
#include "parameter_file.h"
#include "text_util.h"

namespace tw::check {

namespace {

/// The entry `name` of the parameter file the library reads when RFC_INI names one; true
/// when RFC_INI names none or the file it names holds the entry.
bool check_rfc_ini(CheckRun& run, const std::string& what, const std::string& destination) {
  const std::string named = rfclib::parameter_file_name();
  if (named == kParameterFile) return true;
  std::string text;
  if (rfclib::read_whole_file(named, text) && rfclib::find_destination(text, destination)) {
    run.log.ok(what + ": the environment variable RFC_INI names " + named +
               ", which holds DEST=" + destination + "; the library reads that file, not the " +
               std::string(kParameterFile) + " the sensor writes");
    return true;
  }
  const TextEncoding encoding = text_encoding(text);
  if (encoding != TextEncoding::plain) {
    run.log.fail(what, "the environment variable RFC_INI names " + named +
                           ", so the library reads that file, not the " +
                           std::string(kParameterFile) + " the sensor writes; it is " +
                           encoding_text(encoding) + ", and the library does not read past "
                           "the mark, so it finds no DEST=" + destination,
                 "save " + named + " as ANSI (Windows-1252) or UTF-8 without byte-order mark");
    return false;
  }
  run.log.fail(what, "the environment variable RFC_INI names " + named +
                         ", so the library reads that file, not the " +
                         std::string(kParameterFile) + " the sensor writes, and it holds no "
                         "DEST=" + destination,
               "remove RFC_INI from the environment the sensor runs in, or add the entry to " +
                   named);
  return false;
}

}  // namespace

bool check_destination_file(CheckRun& run, const std::string& file_name, GatewayTarget& target,
                            std::string_view prefix) {
  const ProfileRecord& profile = run.sensor.profile;
  const std::string what = std::string(prefix) + "destination file " + file_name;
  // The text as the sensor copies it into the parameter file: past a byte-order mark, a
  // UTF-16 file as Windows-1252.
  InputFile file = open_for_reading(file_name, true);
  std::string text, block;
  while (file && read_block(file, 4096, block)) text += block;
  if (!file || file.failed) {
    run.log.fail(what, "it cannot be read", "allow the account that runs the sensor to read it");
    return false;
  }
  const TextEncoding encoding = text_encoding(text_file_head(file_name, 4));
  if (encoding != TextEncoding::plain) {
    run.log.ok(what + ": " + encoding_text(encoding) + "; the sensor writes its text without "
               "the mark into " + std::string(kParameterFile));
  }
  const std::optional<rfclib::Destination> entry =
      rfclib::find_destination(text, profile.destination);
  if (!entry) {
    run.log.fail(what, "it holds no entry DEST=" + profile.destination +
                           " (the profile's Destination), so RfcOpenEx finds no destination",
                 "write the entry DEST=" + profile.destination +
                     " with TYPE=A, ASHOST=, SYSNR= (and GWHOST=, GWSERV=) into " + file_name);
    return false;
  }
  const int sysnr = rfclib::parse_two_digits(entry->sysnr);
  if (entry->type == "A" && (entry->ashost.empty() || sysnr < 0)) {
    run.log.fail(what, "the entry DEST=" + entry->name + " has " +
                           (entry->ashost.empty() ? "no ASHOST" : "no valid SYSNR (0 to 99)"),
                 "complete the entry with ASHOST= (the application server) and SYSNR= (its "
                 "two-digit system number)");
    return false;
  }
  std::string connect_text, refused_key;
  if (!build_connect_text(profile, connect_text, refused_key)) {
    run.log.fail(what, "the profile's " + refused_key + " value holds a double quote, which "
                 "the connection text of RfcOpenEx cannot carry, so the sensor does not open",
                 "remove the double quote from that value, or remove " + file_name +
                     " to open with the profile's values");
    return false;
  }
  run.log.ok(what + ": DEST=" + entry->name + ", TYPE=" + entry->type + ", ASHOST=" +
             entry->ashost + ", SYSNR=" + entry->sysnr + ", GWHOST=" + entry->gwhost +
             ", GWSERV=" + entry->gwserv + "; the sensor copies it to " +
             std::string(kParameterFile) + " and opens with RfcOpenEx");
  if (!check_rfc_ini(run, what, profile.destination)) return false;
  target.ashost = entry->ashost;
  target.sysnr = sysnr < 0 ? 0 : sysnr;
  target.gwhost = entry->gwhost;
  target.gwservice = entry->gwserv;
  target.source = file_name;
  return true;
}

}  // namespace tw::check
