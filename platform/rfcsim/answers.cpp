#include "answers.h"

#include <cstdint>

namespace tw::rfcsim {

namespace {

/*
 * Writes `value` into the field at `offset`, cut or blank-padded to `length`.
 */
void put(std::string& record, std::size_t offset, std::size_t length, std::string value) {
  value.resize(length, ' ');
  record.replace(offset, length, value);
}

/*
 * A character parameter.
 */
wire::Value char_value(const char* name, std::string bytes) {
  return {name, wire::ValueKind::kChar, std::move(bytes)};
}

/*
 * An integer parameter.
 */
wire::Value int_value(const char* name, std::int32_t number) {
  const auto bits = static_cast<std::uint32_t>(number);
  return {name, wire::ValueKind::kInt,
          {static_cast<char>(bits >> 24), static_cast<char>(bits >> 16),
           static_cast<char>(bits >> 8), static_cast<char>(bits)}};
}

/*
 * `text` with ASCII letters in lower case.
 */
std::string lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

std::string rfcsi_record(const System& system) {
  std::string record(kRfcsiLength, ' ');
  put(record, 0, 3, "011");                                // RFCPROTO
  put(record, 3, 4, "1100");                               // RFCCHARTYP
  put(record, 7, 3, "LIT");                                // RFCINTTYP
  put(record, 10, 3, "IE3");                               // RFCFLOTYP
  const std::string sysnr = (system.sysnr < 10 ? "0" : "") + std::to_string(system.sysnr);
  put(record, 13, 32, lower(system.rfchost) + "_" + system.sysid + "_" + sysnr);  // RFCDEST
  put(record, 45, 8, system.rfchost);                      // RFCHOST
  put(record, 53, 8, system.sysid);                        // RFCSYSID
  put(record, 61, 8, system.sysid);                        // RFCDATABS
  put(record, 69, 32, system.rfchost);                     // RFCDBHOST
  put(record, 101, 10, system.dbsys);                      // RFCDBSYS
  put(record, 111, 4, "46C");                              // RFCSAPRL
  put(record, 115, 5, "560");                              // RFCMACH
  put(record, 120, 10, "Linux");                           // RFCOPSYS
  put(record, 130, 6, "  3600");                           // RFCTZONE
  put(record, 136, 1, " ");                                // RFCDAYST
  put(record, 137, 15, "127.0.0.1");                       // RFCIPADDR
  put(record, 152, 4, "46D");                              // RFCKERNRL
  return record;                                           // RFCSI_RESV stays blank
}

wire::Reply system_info_reply(const System& system) {
  wire::Reply reply;
  reply.parameters = {
      char_value("RFCSI_EXPORT", rfcsi_record(system)),
      int_value("CURRENT_RESOURCES", 4),
      int_value("MAXIMAL_RESOURCES", 10),
      int_value("RECOMMENDED_DELAY", 0),
      char_value("DIALOG_USER_TYPE", "0"),
      char_value("RFC_LOGIN_COMPLETE", "X"),
  };
  return reply;
}

wire::Reply log_statistics_reply(const System& system) {
  const auto width = static_cast<std::uint32_t>(kLabelWidth + kValueWidth);
  wire::Reply reply;
  reply.tables = {
      {"SHOWMONILOG", width, system.rows},
      {"SHOWSTATLOG", width, system.statrows},
  };
  return reply;
}

}  // namespace tw::rfcsim
