#include <array>
#include <cstring>

#include "rfc/rfc.h"
#include "run/sensor.h"

namespace tw {

namespace {

constexpr std::size_t kRfcsiLength = 200;
constexpr std::size_t kRfchostAt = 45, kRfchostLength = 8;
constexpr std::size_t kRfcdbsysAt = 101, kRfcdbsysLength = 10;

/// The elements of RFCSI in their order: name and length in characters.
const std::array<std::pair<const char*, unsigned>, 18> kFields = {{
    {"RFCPROTO", 3},  {"RFCCHARTYP", 4}, {"RFCINTTYP", 3}, {"RFCFLOTYP", 3},
    {"RFCDEST", 32},  {"RFCHOST", 8},    {"RFCSYSID", 8},  {"RFCDATABS", 8},
    {"RFCDBHOST", 32}, {"RFCDBSYS", 10}, {"RFCSAPRL", 4},  {"RFCMACH", 5},
    {"RFCOPSYS", 10}, {"RFCTZONE", 6},   {"RFCDAYST", 1},  {"RFCIPADDR", 15},
    {"RFCKERNRL", 4}, {"RFCSI_RESV", 44},
}};

/// Installs the structure RFCSI (200 characters, 18 character fields) once.
void install_rfcsi(Sensor& sensor) {
  if (sensor.rfc.rfcsi_type != 0) return;
  std::array<RFC_TYPE_ELEMENT, 18> elements{};
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    elements[i] = {const_cast<char*>(kFields[i].first), TYPC, kFields[i].second, 0, 0};
  }
  char name[] = "RFCSI";
  if (RfcInstallStructure(name, elements.data(), static_cast<unsigned>(elements.size()),
                          &sensor.rfc.rfcsi_type) != RFC_OK) {
    char operation[] = "RfcInstallStructure";
    rfc_error_report(operation);
  }
}

/// A fixed-width character field as text; a NUL ends it, as it would a C text.
std::string field_text(const char* field, std::size_t length) {
  return std::string(field, strnlen(field, length));
}

}  // namespace

std::string rfcsi_field(std::string_view record, std::string_view element) {
  std::size_t at = 0;
  for (const auto& [name, length] : kFields) {
    if (element == name) {
      if (at >= record.size()) return {};
      std::string_view field = record.substr(at, length);
      field = field.substr(0, field.find('\0'));
      while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
      return std::string(field);
    }
    at += length;
  }
  return {};
}

bool is_maxdb(const std::string& database_system) {
  return database_system.compare(0, 3, "ADA") == 0;
}

int read_system_info(Sensor& sensor) {
  RfcState& rfc = sensor.rfc;
  rfc.system_info.clear();
  install_rfcsi(sensor);

  char function[] = "RFC_SYSTEM_INFO";
  RFC_PARAMETER no_parameters[1] = {};
  RFC_TABLE no_tables[1] = {};
  int rc = RfcCall(rfc.handle, function, no_parameters, no_tables);
  trace_line(sensor.trace, sensor.settings.option_upper, static_cast<int>(rfc.handle),
             "RfcCall called", "");
  char* exception = nullptr;
  if (rc == RFC_OK) {
    int current_resources = 0, maximal_resources = 0, recommended_delay = 0;
    char dialog_user_type[1] = {' '}, login_complete[1] = {' '};
    char rfcsi[kRfcsiLength];
    std::memset(rfcsi, ' ', sizeof rfcsi);
    RFC_PARAMETER importing[] = {
        {const_cast<char*>("CURRENT_RESOURCES"), 17, TYPINT, 4, &current_resources},
        {const_cast<char*>("DIALOG_USER_TYPE"), 16, TYPC, 1, dialog_user_type},
        {const_cast<char*>("MAXIMAL_RESOURCES"), 17, TYPINT, 4, &maximal_resources},
        {const_cast<char*>("RECOMMENDED_DELAY"), 17, TYPINT, 4, &recommended_delay},
        {const_cast<char*>("RFCSI_EXPORT"), 12, rfc.rfcsi_type, kRfcsiLength, rfcsi},
        {const_cast<char*>("RFC_LOGIN_COMPLETE"), 18, TYPC, 1, login_complete},
        {nullptr, 0, 0, 0, nullptr},
    };
    rc = RfcReceive(rfc.handle, importing, no_tables, &exception);
    trace_line(sensor.trace, sensor.settings.option_upper, static_cast<int>(rfc.handle),
               "RfcReceive called", "");
    if (rc == RFC_OK) {
      rfc.run_status = kRunStatusOk;
      sensor.profile.display_host = field_text(rfcsi + kRfchostAt, kRfchostLength);
      rfc.database_system = field_text(rfcsi + kRfcdbsysAt, kRfcdbsysLength);
      rfc.system_info.assign(rfcsi, sizeof rfcsi);
      return rc;
    }
  }
  report_append(sensor.report, rfc_failure_text(rc, exception));
  return rc;
}

}  // namespace tw
