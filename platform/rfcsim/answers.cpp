#include "answers.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

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
  return {name, wire::ValueKind::kInt, wire::int_bytes(number)};
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
  put(record, 200, 45, "::ffff:127.0.0.1");                // RFCIPV6ADDR
  return record;                                           // RFCHOST2, RFCSI_RESV blank
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

std::optional<wire::Interface> function_interface(const std::string& function) {
  using wire::Direction;
  using wire::ElementKind;
  if (function == "RFC_SYSTEM_INFO") {
    std::vector<wire::Field> rfcsi;
    for (const auto& [name, length] : std::initializer_list<std::pair<const char*, unsigned>>{
             {"RFCPROTO", 3},   {"RFCCHARTYP", 4}, {"RFCINTTYP", 3},   {"RFCFLOTYP", 3},
             {"RFCDEST", 32},   {"RFCHOST", 8},    {"RFCSYSID", 8},    {"RFCDATABS", 8},
             {"RFCDBHOST", 32}, {"RFCDBSYS", 10},  {"RFCSAPRL", 4},    {"RFCMACH", 5},
             {"RFCOPSYS", 10},  {"RFCTZONE", 6},   {"RFCDAYST", 1},    {"RFCIPADDR", 15},
             {"RFCKERNRL", 4},  {"RFCHOST2", 32},  {"RFCSI_RESV", 12}, {"RFCIPV6ADDR", 45}})
      rfcsi.push_back({name, ElementKind::kChar, length});
    return wire::Interface{
        function,
        {{"RFCSI_EXPORT", Direction::kExport, ElementKind::kStructure, 0, "RFCSI", rfcsi},
         {"CURRENT_RESOURCES", Direction::kExport, ElementKind::kInt, 4},
         {"MAXIMAL_RESOURCES", Direction::kExport, ElementKind::kInt, 4},
         {"RECOMMENDED_DELAY", Direction::kExport, ElementKind::kInt, 4},
         {"DIALOG_USER_TYPE", Direction::kExport, ElementKind::kChar, 1},
         {"RFC_LOGIN_COMPLETE", Direction::kExport, ElementKind::kChar, 1}}};
  }
  if (function == "ADA_LOG_STATISTICS") {
    const std::vector<wire::Field> ada_show = {
        {"R1", ElementKind::kChar, static_cast<std::uint32_t>(kLabelWidth)},
        {"R2", ElementKind::kChar, static_cast<std::uint32_t>(kValueWidth)}};
    return wire::Interface{
        function,
        {{"SHOWMONILOG", Direction::kTables, ElementKind::kTable, 0, "ADA_SHOW", ada_show},
         {"SHOWSTATLOG", Direction::kTables, ElementKind::kTable, 0, "ADA_SHOW", ada_show}}};
  }
  return std::nullopt;
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
