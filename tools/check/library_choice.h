// The RFC library the sensor takes from its program folder, seen through the sensor's own
// choice and loading of it, for the check of the library.
#pragma once

#include <string>
#include <vector>

#include "run/run_settings.h"

namespace tw::check {

/// The library the sensor would take, or why it would take none.
struct LibraryChoice {
  std::string directory;                ///< the program folder, final separator; empty: unknown
  std::string kind;                     ///< "classic" or "NetWeaver"; empty when there is none
  std::string file;                     ///< its file name (the one allowed first when none)
  std::vector<std::string> companions;  ///< files that must lie beside it, by name
  std::string error;                    ///< the sensor's "Error 1009: " message when it takes
                                        ///< none (a NetWeaver library lacking a companion)
};

/// The library that the sensor's choice gives for `settings` ("RFCLIB=") in the program
/// folder: the classic one, else the NetWeaver one with its companions (also when one of
/// them is missing, which the sensor's message then names).
LibraryChoice choose_library(const RunSettings& settings);

/// Loads and binds the chosen library as the sensor does; false with the sensor's message.
bool load_chosen_library(const RunSettings& settings, std::string& error);

/// The version the loaded library `path` tells through RfcGetVersion ("7500.0.12"); empty
/// when it has no such entry point.
std::string library_version(const std::string& path);

}  // namespace tw::check
