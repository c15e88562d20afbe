// The destination file's way of opening: the file "SapRfc.<Destination>", the entry the
// library will read from the parameter file, and the connection text.
#pragma once

#include <string>
#include <string_view>

#include "check/check_run.h"
#include "check/gateway_target.h"

namespace tw::check {

/// Checks the destination file `file_name` (which the sensor will use) as the library will
/// read it through the parameter file: the file's encoding, the entry of the profile's
/// Destination and its values, RFC_INI, and whether the connection text can be built.
/// On success fills `target` from the entry and returns true.
bool check_destination_file(CheckRun& run, const std::string& file_name, GatewayTarget& target,
                            std::string_view prefix);

}  // namespace tw::check
