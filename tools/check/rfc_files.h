// The names of the RFC library's files in the working directory, as the sensor uses them.
#pragma once

#include <string_view>

#include "os/rfc_file_names.h"

namespace tw::check {

/// The library's parameter file, which the sensor writes from a destination file.
inline constexpr std::string_view kParameterFile = kRfcParameterFile;
/// The library's error trace, whose last error the sensor quotes.
inline constexpr std::string_view kTraceFile = kRfcTraceFile;

}  // namespace tw::check
