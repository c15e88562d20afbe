#include <algorithm>
#include <climits>
#include <cstdio>

#include "os/ascii_text.h"
#include "os/regular_file.h"
#include "os/rfc_file_names.h"

#include "rfc/rfc.h"
#include "run/sensor.h"

namespace tw {

namespace {

/// A value, or no value at all (NULL) when it is empty.
char* value_or_none(std::string& text) { return text.empty() ? nullptr : text.data(); }

std::string padded(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

/// Copies the destination file to the parameter file byte for byte, as the file seam
/// reads it (past a byte-order mark). False when the copy cannot be written.
bool write_parameter_file(InputFile& destination_file) {
  const FileHandle ini(open_regular_file(native_path(kRfcParameterFile), "wb"));
  if (!ini) return false;
  std::string block;
  bool ok = true;
  while (read_block(destination_file, 4096, block)) {
    ok = ok && std::fwrite(block.data(), 1, block.size(), ini.get()) == block.size();
  }
  ok = ok && !destination_file.failed;
  return std::fflush(ini.get()) == 0 && ok;
}

}  // namespace

std::string destination_file_name(std::string_view destination) {
  return "SapRfc." + std::string(destination);
}

void fill_connection_options(Sensor& sensor) {
  RfcState& rfc = sensor.rfc;
  const ProfileRecord& profile = sensor.profile;
  const RunSettings& settings = sensor.settings;

  rfc.destination = profile.destination;
  rfc.client = profile.client;
  rfc.user = padded(profile.user, 12);
  rfc.password = padded(profile.password, 10);
  rfc.language = profile.language;
  rfc.hostname = profile.hostname;
  rfc.gwhost = profile.gwhost;
  rfc.gwservice = profile.gwservice;
  std::string sysnr = profile.sysnr;

  // ",HOST=" names the application server; ",NO=" the system number.
  if (find_selector(settings, ",HOST=") != std::string::npos) {
    rfc.hostname = selector_value(settings, ",HOST=");
  }
  if (find_selector(settings, ",NO=") != std::string::npos) {
    sysnr = selector_value(settings, ",NO=");
  }

  const bool r2 = profile.mode == "R/2";
  rfc.options.destination = rfc.destination.data();
  rfc.options.mode = r2 ? RFC_MODE_CPIC : RFC_MODE_R3ONLY;
  rfc.options.client = rfc.client.data();
  rfc.options.user = rfc.user.data();
  rfc.options.password = rfc.password.data();
  rfc.options.language = rfc.language.data();
  rfc.options.trace = 0;
  if (r2) {
    rfc.cpic.gateway_host = value_or_none(rfc.gwhost);
    rfc.cpic.gateway_service = value_or_none(rfc.gwservice);
    rfc.options.connopt = &rfc.cpic;
  } else {
    rfc.r3.hostname = value_or_none(rfc.hostname);
    // An empty system number is 0, never the number of a system opened before.
    rfc.r3.sysnr =
        sysnr.empty()
            ? 0
            : static_cast<int>(std::clamp<long long>(leading_decimal(sysnr), INT_MIN, INT_MAX));
    rfc.r3.gateway_host = value_or_none(rfc.gwhost);
    rfc.r3.gateway_service = value_or_none(rfc.gwservice);
    rfc.options.connopt = &rfc.r3;
  }
}

RFC_HANDLE open_connection(Sensor& sensor) {
  RfcState& rfc = sensor.rfc;
  const ProfileRecord& profile = sensor.profile;
  const RunSettings& settings = sensor.settings;
  fill_connection_options(sensor);

  InputFile destination_file = open_for_reading(destination_file_name(rfc.destination), true);
  if (!destination_file) {
    const RFC_HANDLE handle = RfcOpen(&rfc.options);
    trace_line(sensor.trace, settings.option_upper, static_cast<int>(handle), "RfcOpen called",
               "");
    return handle;
  }

  if (settings.console_mode) {
    print(sensor.out, "* SapRfc.Ini.......: " + profile.destination + "<\n");
  }
  std::string text, refused_key;
  if (!build_connect_text(profile, text, refused_key)) {
    // Never log on with a value other than the profile's: the open fails here.
    append_rfc_trace_line("Tarnwheel: RfcOpenEx not called for destination " +
                          profile.destination + ": the " + refused_key +
                          " value holds a double quote, which the connection text cannot "
                          "carry");
    trace_line(sensor.trace, settings.option_upper, 0, "RfcOpenEx not called", "");
    return 0;
  }
  if (!write_parameter_file(destination_file)) return 0;

  RFC_ERROR_INFO_EX error_info{};
  const RFC_HANDLE handle = RfcOpenEx(text.data(), &error_info);
  trace_line(sensor.trace, settings.option_upper, static_cast<int>(handle), "RfcOpenEx called",
             "");
  return handle;
}

}  // namespace tw
