// The sensor's way to SAP: the RFC client library's operations and the state the RFC
// steps keep for the process.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "profile/profile_record.h"
#include "run/run_settings.h"

#include "saprfc.h"

namespace tw {

struct Sensor;

inline constexpr std::string_view kRunStatusError = "ERR";
inline constexpr std::string_view kRunStatusOk = "OK";

/// The files of the two RFC libraries, loaded from the program's own folder: the classic
/// one, and the NetWeaver one with the companions it needs beside it.
#ifdef _WIN32
inline constexpr std::string_view kRfcLibraryFile = "librfc32.dll";
inline constexpr std::string_view kNwRfcLibraryFile = "sapnwrfc.dll";
inline constexpr std::array<std::string_view, 4> kNwRfcCompanions = {
    "libsapucum.dll", "icuuc50.dll", "icudt50.dll", "icuin50.dll"};
#else
inline constexpr std::string_view kRfcLibraryFile = "librfccm.so";
inline constexpr std::string_view kNwRfcLibraryFile = "libsapnwrfc.so";
inline constexpr std::array<std::string_view, 4> kNwRfcCompanions = {
    "libsapucum.so", "libicuuc.so.50", "libicui18n.so.50", "libicudata.so.50"};
#endif

/// The RFC library a run takes.
enum class RfcLibraryKind { none, classic, netweaver };

/// The library to load, or the "Error 1009: " message of why there is none.
struct RfcLibraryPick {
  RfcLibraryKind kind = RfcLibraryKind::none;
  std::string error;
};

/// Picks the RFC library of the program folder `directory` (with its final separator; empty
/// when unknown) as `choice` allows: the classic one when it is there, else the NetWeaver one,
/// whose companions must all be beside it. `present(path)` tells whether a file is there.
/// A library that is there is picked even when it may not load: loading tells.
RfcLibraryPick pick_rfc_library(RfcLibraryChoice choice, const std::string& directory,
                                const std::function<bool(const std::string&)>& present);

/// Loads the RFC library that `choice` allows from the program's own folder (never from the
/// working directory or a search path) and binds its entry points, once per process; the
/// classic names the RFC steps call forward to them, with the NetWeaver library through the
/// bridge that carries out the classic operations on it. A library that is missing, cannot
/// be loaded, lacks a companion or an entry point gives false and `error`, the
/// "Error 1009: " message that names the file, the folder and what is missing. Until a
/// library is bound the classic names answer as a library without any connection.
bool load_rfc_library(RfcLibraryChoice choice, std::string& error);

/// What the RFC steps keep for the life of the process.
struct RfcState {
  RFC_HANDLE handle = 0;        ///< the open connection, 0 for none; owned by run control
  RFC_ENV environment{};        ///< error handler rfc_error_report, no allocator
  std::string run_status = "ERR";
  std::string database_system;  ///< RFCDBSYS of the last successful system information
  std::string system_info;      ///< the whole RFCSI record of that call (rfcsi_field)
  unsigned statistics_rows = 0;  ///< rows of SHOWMONILOG in the last statistics answer
  /// Channel and value of each known statistic of that answer that was looked at, in
  /// row order (with item selection: the rows up to the item's).
  std::vector<std::pair<std::string, std::string>> statistics;
  RFC_TYPEHANDLE rfcsi_type = 0;     ///< installed once
  RFC_TYPEHANDLE ada_show_type = 0;  ///< installed once

  /// The connection options and detail records handed to every open, with the texts
  /// they point to (kept while the connection is open).
  RFC_OPTIONS options{};
  RFC_CONNOPT_R3ONLY r3{};
  RFC_CONNOPT_CPIC cpic{};
  std::string destination, client, user, password, language, hostname, gwhost, gwservice;
};

/// The destination file of `destination`: "SapRfc." followed by the Destination.
std::string destination_file_name(std::string_view destination);

/// Fills the connection options and detail records of `sensor.rfc` with the values of the
/// profile record and the ",HOST=" and ",NO=" selectors, as open_connection hands them to
/// the library.
void fill_connection_options(Sensor& sensor);

/// Opens a connection with the values of the profile record: by the destination file
/// "SapRfc.<Destination>" (copied to the parameter file) and RfcOpenEx when that file exists,
/// otherwise with RfcOpen. Returns the handle; 0 when the open failed.
RFC_HANDLE open_connection(Sensor& sensor);

/// The connection text of the destination-file way, "CLIENT=c USER=u PASSWD=p LANG=D
/// DEST=d", with the values unpadded: a value with a blank or a tab in double quotes, every
/// other value as it is. A value holding a double quote cannot be written unambiguously:
/// then false, `text` empty and `refused_key` naming its key.
bool build_connect_text(const ProfileRecord& profile, std::string& text, std::string& refused_key);

/// Calls RFC_SYSTEM_INFO; on success sets the run status to "OK", keeps the database
/// system and shows the reported host as the display host. Otherwise appends the error
/// text to the report buffer. Returns the return code.
int read_system_info(Sensor& sensor);

/// The element `element` (such as "RFCSYSID") of an RFCSI record, without its trailing
/// blanks; empty for an unknown element or a record too short to hold it.
std::string rfcsi_field(std::string_view record, std::string_view element);

/// True when the database system is MaxDB: its first three characters are "ADA".
bool is_maxdb(const std::string& database_system);

/// Calls ADA_LOG_STATISTICS and writes the document head with the message text (printed
/// at once) and one channel per known row; with item selection only the item's channel
/// of the system, printed at once. On failure appends the error text. Returns the code.
int read_log_statistics(Sensor& sensor);

/// The channel names of the statistics the sensor knows, in the order of their rows.
std::vector<std::string_view> statistic_channels();

/// Text appended to the report buffer for a failed RFC step with return code `rc`.
std::string rfc_failure_text(int rc, const char* exception);

/// Prints what the library knows about its last error and the closing lines, as the run's
/// answer with status 1, then closes every connection. The caller ends the process with
/// status 1.
void write_rfc_error_report(Sensor& sensor, const char* operation);

/// Registers the sensor whose output the error handler uses.
void set_error_report_target(Sensor* sensor);

/// What the error handler calls once its report is written, just before the process ends
/// with status 1: the last word of a program that runs the RFC steps for another purpose
/// than the sensor's answer. Must not throw.
using ErrorReportEpilogue = void (*)() noexcept;

/// Registers `epilogue` (NULL: none) for the error handler.
void set_error_report_epilogue(ErrorReportEpilogue epilogue);

}  // namespace tw

extern "C" {
/// The library's error handler: reports the failure of `operation` and ends the process
/// with status 1. Does not return.
[[noreturn]] void SAP_API rfc_error_report(char* operation);
}
