#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "os/ascii_text.h"
#include "rfc/rfc.h"
#include "run/sensor.h"

namespace tw {

namespace {

constexpr unsigned kRowLength = 66;
constexpr std::size_t kLabelLength = 40;
constexpr std::size_t kValueLength = 26;

/// A known statistic: the row label that carries it, its channel and the channel's unit.
struct Statistic {
  const char* label;
  const char* channel;
  const char* unit;
};

const std::array<Statistic, 10> kStatistics = {{
    {"LOG PAGE PHYSICAL READS", "PhysReads", ""},
    {"LOG PAGE PHYSICAL WRITES", "PhysWrites", ""},
    {"LOG QUEUE PAGES", "QuePages", "Pages"},
    {"LOG QUEUE MAX USED PAGES", "MaxUsed", "Pages"},
    {"LOG QUEUE INSERTS", "QueInserts", ""},
    {"LOG QUEUE OVERFLOWS", "OverFlows", ""},
    {"LOG QUEUE GROUP COMMITS", "GrpCommits", ""},
    {"LOG QUEUE WAITS FOR LOG PAGE WRITE", "WaitOnWrites", ""},
    {"LOG QUEUE MAX WAITS PER LOG PAGE", "MaxWaitsOnPage", ""},
    {"LOG QUEUE AVG WAITS PER LOG PAGE", "AvgWaitsOnPage", ""},
}};

const Statistic* find_statistic(const std::string& label) {
  for (const Statistic& statistic : kStatistics) {
    if (label == statistic.label) return &statistic;
  }
  return nullptr;
}

[[noreturn]] void report_and_end(const char* operation) {
  rfc_error_report(const_cast<char*>(operation));
}

/// A character field without its trailing blanks; a NUL ends it.
std::string trimmed(const char* field, std::size_t length) {
  std::size_t n = strnlen(field, length);
  while (n > 0 && field[n - 1] == ' ') --n;
  return std::string(field, n);
}

struct Row {
  std::string label;  ///< upper-cased
  std::string value;
};

Row fetch_row(ITAB_H table, unsigned line, const char* failure) {
  const char* row = static_cast<const char*>(ItGetLine(table, line));
  if (row == nullptr) report_and_end(failure);
  return Row{upper_a_to_z(trimmed(row, kLabelLength)), trimmed(row + kLabelLength, kValueLength)};
}

/// The decimal number at the start of a value: leading blanks skipped, an optional sign,
/// digits up to the first other character; no digits gives 0. A count cannot be negative,
/// so a minus sign gives 0, and a number beyond 32 bits stays at the largest figure.
std::uint32_t figure_of(const std::string& value) {
  return static_cast<std::uint32_t>(std::clamp<long long>(leading_decimal(value), 0, UINT32_MAX));
}

std::string grouped(std::uint32_t figure) {
  std::string text = std::to_string(figure);
  group_digits(text);
  return text;
}

void install_ada_show(Sensor& sensor) {
  if (sensor.rfc.ada_show_type != 0) return;
  RFC_TYPE_ELEMENT elements[] = {
      {const_cast<char*>("R1"), TYPC, kLabelLength, 0, 0},
      {const_cast<char*>("R2"), TYPC, kValueLength, 0, 0},
  };
  char name[] = "ADA_SHOW";
  if (RfcInstallStructure(name, elements, 2, &sensor.rfc.ada_show_type) != RFC_OK) {
    report_and_end("RfcInstallStructure");
  }
}

/// The successful call: message text, then the channels (or the item's channel).
void report_rows(Sensor& sensor, ITAB_H monilog, ITAB_H statlog) {
  RfcState& rfc = sensor.rfc;
  Report& report = sensor.report;
  const RunSettings& settings = sensor.settings;
  rfc.run_status = kRunStatusOk;

  rfc.statistics_rows = ItFill(monilog);
  std::uint32_t queue_size = 0, overflows = 0, group_commits = 0;
  for (unsigned line = 1; line <= ItFill(monilog); ++line) {
    const Row row = fetch_row(monilog, line, "ItGetLine SHOWMONILOG");
    if (row.label == "LOG QUEUE PAGES") queue_size = figure_of(row.value);
    if (row.label == "LOG QUEUE OVERFLOWS") overflows = figure_of(row.value);
    if (row.label == "LOG QUEUE GROUP COMMITS") group_commits = figure_of(row.value);
  }

  if (!settings.item_selection) {
    open_document(report);
    open_text(report);
    report_append(report, "(" + sensor.profile.destination + ") LogQueues: Sizing=" +
                              grouped(queue_size) + " Pages, Overflows=" + grouped(overflows) +
                              ", Commits=" + grouped(group_commits));
    close_text(report);
    const std::string head = std::move(report.buffer);
    report.buffer.clear();
    // The rest is complete before the head goes out, so that the head and its rest are
    // recorded together for an answer at the deadline.
    for (unsigned line = 1; line <= ItFill(monilog); ++line) {
      const Row row = fetch_row(monilog, line, "ItGetLine SHOWMONILOG");
      const Statistic* statistic = find_statistic(row.label);
      if (statistic != nullptr) {
        add_channel(report, statistic->channel, row.value, statistic->unit, statistic->channel);
        rfc.statistics.emplace_back(statistic->channel, row.value);
      }
    }
    close_document(report);
    print_document_head(sensor, head);
  } else {
    for (unsigned line = 1; line <= ItFill(monilog); ++line) {
      const Row row = fetch_row(monilog, line, "ItGetLine SHOWMONILOG");
      const Statistic* statistic = find_statistic(row.label);
      sensor.list.found_mark = 'X';
      report.buffer.clear();
      if (statistic != nullptr) rfc.statistics.emplace_back(statistic->channel, row.value);
      if (statistic != nullptr && settings.item == statistic->channel) {
        // The system's channel carries the settings of the item's statistic.
        add_channel(report, sensor.list.system_label, row.value, statistic->unit,
                    statistic->channel);
        print(sensor.out, report.buffer);
        report.buffer.clear();
        break;
      }
    }
  }

  for (unsigned line = 1; line <= ItFill(statlog); ++line) {
    if (ItGetLine(statlog, line) == nullptr) report_and_end("ItGetLine SHOWSTATLOG");
  }
}

}  // namespace

std::vector<std::string_view> statistic_channels() {
  std::vector<std::string_view> channels;
  for (const Statistic& statistic : kStatistics) channels.emplace_back(statistic.channel);
  return channels;
}

int read_log_statistics(Sensor& sensor) {
  RfcState& rfc = sensor.rfc;
  rfc.statistics_rows = 0;
  rfc.statistics.clear();
  install_ada_show(sensor);
  char monilog_name[] = "SHOWMONILOG";
  char statlog_name[] = "SHOWSTATLOG";
  ITAB_H monilog = ItCreate(monilog_name, kRowLength, 0, 0);
  if (monilog == nullptr) report_and_end("ItCreate SHOWMONILOG");
  ITAB_H statlog = ItCreate(statlog_name, kRowLength, 0, 0);
  if (statlog == nullptr) report_and_end("ItCreate SHOWSTATLOG");

  RFC_TABLE tables[] = {
      {monilog_name, 11, rfc.ada_show_type, kRowLength, monilog, RFC_ITMODE_BYREFERENCE, 0},
      {statlog_name, 11, rfc.ada_show_type, kRowLength, statlog, RFC_ITMODE_BYREFERENCE, 0},
      {nullptr, 0, 0, 0, nullptr, RFC_ITMODE_BYREFERENCE, 0},
  };
  RFC_PARAMETER no_parameters[1] = {};
  char function[] = "ADA_LOG_STATISTICS";
  const std::string& options = sensor.settings.option_upper;
  const int handle_number = static_cast<int>(rfc.handle);

  char* exception = nullptr;
  int rc = RfcCall(rfc.handle, function, no_parameters, tables);
  trace_line(sensor.trace, options, handle_number, "RfcCall called", "");
  if (rc == RFC_OK) {
    rc = RfcReceive(rfc.handle, no_parameters, tables, &exception);
    trace_line(sensor.trace, options, handle_number, "RfcReceive called", "");
  }
  if (rc == RFC_OK) {
    report_rows(sensor, monilog, statlog);
  } else {
    report_append(sensor.report, rfc_failure_text(rc, exception));
  }

  if (ItDelete(monilog) != 0) report_and_end("ItDelete SHOWMONILOG");
  if (ItDelete(statlog) != 0) report_and_end("ItDelete SHOWSTATLOG");
  return rc;
}

}  // namespace tw
