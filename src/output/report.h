// The report buffer: everything the monitoring host reads is assembled here and printed by
// run control at fixed points of the run.
#pragma once

#include <string>
#include <string_view>

namespace tw {

/// The process-wide report buffer with the output mode and the channel counter.
struct Report {
  std::string buffer;                ///< content to be printed next; grows as needed
  std::string output_mode = "EXEXML";  ///< fixed at start-up, compared case-sensitively
  int channel_counter = 0;           ///< channels added since the run started, in every mode
  bool text_open = false;            ///< between open_text and close_text
  bool channel_selected = false;     ///< "Brassik": the selectors asked for one channel
  int selected_channel = 0;          ///< "Brassik": the number of that channel
  bool prtg_channels = false;        ///< "CHANNELS=PRTG": each Result carries PRTG settings
};

inline constexpr std::string_view kOutputModes[] = {"EXEXML", "Wendlow", "Fiskart", "Tamberly",
                                                   "Brassik"};

/// The output mode named by the "OUTPUT=" selector: its value (up to a blank, a comma or
/// the end) compared without regard to letter case with the known modes, spelt as they
/// are; "EXEXML" when the selector is absent or names no known mode.
std::string output_mode_from(std::string_view option_upper);

/// Takes the channel number of "CH=" for mode "Brassik": at most three characters after
/// the key, stopping before a ",", read as a decimal integer (leading blanks and a sign
/// allowed, no digits give 0). No "CH=" selects no channel.
void select_channel(Report& report, std::string_view option_upper, std::string_view option_kept);

/// The channel name as a "Tamberly" key: blank / \ [ ] * ( ) : - become "_", then the
/// first "." becomes "_".
std::string channel_key(std::string_view name);

/// The unit as the plain-text hosts show it: "" as "#", "PerCent" as "%", "TimeResponse"
/// as "mSec"; any other unit unchanged.
std::string display_unit(std::string_view unit);

/// True when the output mode writes the PRTG document ("EXEXML", "Wendlow", "Fiskart").
bool writes_prtg_document(const Report& report);

/// What stands in the document for a character XML 1.0 forbids (a control character other
/// than tab, line feed and carriage return) or a byte no character set gives a meaning to.
inline constexpr char32_t kXmlPlaceholder = 0xFFFD;

/// Text for the XML document, always UTF-8 that XML 1.0 accepts: "&", "<" and ">" as
/// entities; well-formed UTF-8 sequences unchanged; any other byte from 0x80 up read as a
/// Windows-1252 character; forbidden characters as kXmlPlaceholder. ASCII text without
/// markup or control characters comes out unchanged.
std::string xml_escape(std::string_view text);

/// Replaces the whole buffer with the error document for `message` (escaped). The same in
/// every output mode. `message` may be a copy of the buffer's own content.
void write_error_document(Report& report, std::string_view message);

/// Replaces the whole buffer with the end of an error document for a run whose document
/// was already opened on standard output: the error flag, the message text (escaped) and
/// the end of the document. Plain-text modes, which opened no document, get the whole
/// error document.
void write_error_tail(Report& report, std::string_view message);

/// Replaces the whole buffer with the start of the document.
void open_document(Report& report);

/// Appends the start of the document's message text.
void open_text(Report& report);

/// Appends `text`. Inside an open message text it is escaped for XML; elsewhere (error
/// texts collected for a later error document) it is kept as it is.
void report_append(Report& report, std::string_view text);

/// Appends the end of the document's message text.
void close_text(Report& report);

/// Counts one channel and appends it: name, optional custom unit, value (escaped).
/// `statistic` names the statistic the value belongs to (its own channel name, also when
/// the channel is named after a system); with "CHANNELS=PRTG" it decides the PRTG
/// settings of the Result. Empty: no settings.
void add_channel(Report& report, std::string_view name, std::string_view value,
                 std::string_view unit, std::string_view statistic = {});

/// Appends the end of the document.
void close_document(Report& report);

/// Groups a decimal number text in threes with "." from the right, at most two separators:
/// 1234 gives 1.234, 1234567 gives 1.234.567, 999 and "" stay as they are.
void group_digits(std::string& number);

}  // namespace tw
