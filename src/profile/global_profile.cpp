#include "profile/global_profile.h"

#include "os/ascii_text.h"
#include "os/text_file.h"

namespace tw {

namespace {

constexpr std::size_t kListPieceSize = 199;
constexpr std::size_t kListingColumn = 20;     // column 21, counted from 0
constexpr std::size_t kAllocationColumn = 19;  // column 20
constexpr std::size_t kOptionTextLimit = 127;
constexpr std::size_t kItemLimit = 90;

std::string from_column(const std::string& line, std::size_t column) {
  return line.size() > column ? line.substr(column) : std::string();
}

/// The item of an allocation text: what follows "Item=" up to a blank or a comma, at
/// most 90 characters, every ":" made a blank; empty without "Item=".
std::string item_of(const std::string& allocation) {
  const std::size_t at = allocation.find("Item=");
  if (at == std::string::npos) return {};
  std::string item(value_at(allocation, at + 5));
  if (item.size() > kItemLimit) item.resize(kItemLimit);
  for (char& c : item) {
    if (c == ':') c = ' ';
  }
  return item;
}

/// The whole line whose first piece is `piece`, without its line end: a list line is read
/// whole, however long, so that no listed system is lost.
std::string whole_line(InputFile& file, std::string piece) {
  read_rest_of_line(file, kListPieceSize, piece);
  strip_line_end(piece);
  return piece;
}

/// The checks both sources end with.
void final_checks(SystemList& list) {
  if (list.listing.empty()) {
    list.error = "Error 1025: Global Server Listing missing...";
  } else if (list.item.empty()) {
    list.error = "Error 1026: Global Item Idenification missing...";
  }
}

}  // namespace

SystemList read_suite_profile(std::string_view path, std::string_view profile_name,
                              std::string_view item) {
  SystemList list;
  InputFile file = open_for_reading(path);
  if (!file) {
    list.error = "Error 1024: ProFile " + std::string(profile_name) + " is missing...";
    return list;
  }
  std::string piece;
  while (read_piece(file, kListPieceSize, piece)) {
    std::string line = piece;
    strip_line_end(line);
    if (line.compare(0, 6, "# Gsng") == 0 && line.size() >= 8 && line.compare(6, 2, ": ") == 0) {
      list.listing += from_column(whole_line(file, std::move(piece)), kListingColumn);
    }
  }
  list.item = item;
  final_checks(list);
  return list;
}

SystemList read_global_profile(std::string_view path, std::string_view profile_name,
                               std::string_view option_upper, std::string_view argument2) {
  SystemList list;
  std::string sensor(option_upper.substr(0, option_upper.find(' ')));
  if (sensor.size() < 10) sensor.resize(10, ' ');
  // Lines are compared on 18 characters: a longer sensor name counts with its first 10.
  const std::string list_key = ("# GSNG: " + sensor).substr(0, 18);
  const std::string allocation_key = ("# GSNX: " + sensor).substr(0, 18);

  InputFile file = open_for_reading(path);
  if (!file) {
    list.error = "Error 10x1: ProFile " + std::string(profile_name) + " is missing...";
    return list;
  }
  bool allocation_found = false;
  std::string provisional_item;
  std::string piece;
  while (read_piece(file, kListPieceSize, piece)) {
    std::string line = piece;
    strip_line_end(line);
    if (line.size() < 18) continue;
    const std::string head = upper_a_to_z(line.substr(0, 18));
    if (head == list_key) {
      list.listing += from_column(whole_line(file, std::move(piece)), kListingColumn);
      continue;
    }
    if (head != allocation_key) continue;

    const std::string allocation = from_column(line, kAllocationColumn);
    if (allocation.find(kSensorAllocation) == std::string::npos) {
      list.error = "Error 1029: Invalid Sensor-Allocation...";
      return list;
    }
    provisional_item = allocation;
    std::string shown = allocation.substr(0, kOptionTextLimit);
    shown = shown.substr(0, shown.find(",Sensor="));
    for (char& c : shown) {
      if (c == ':') c = ' ';
    }
    list.option_kept = std::move(shown);
    list.allocation = allocation;
    list.option_replaced = true;
    allocation_found = true;
    // The last key of this order wins: ",Sid" before ",Host" before ",Alias" before ",Profile".
    if (line.find(",Profile") != std::string::npos) list.label_style = '1';
    if (line.find(",Alias") != std::string::npos) list.label_style = '2';
    if (line.find(",Host") != std::string::npos) list.label_style = '3';
    if (line.find(",Sid") != std::string::npos) list.label_style = '4';
  }
  file = {};
  list.item = item_of(provisional_item);
  if (!allocation_found) {
    list.error = "Error 1030: Global Sensor " + std::string(argument2) + " not found...";
    return list;
  }
  final_checks(list);
  return list;
}

}  // namespace tw
