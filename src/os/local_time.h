// Local time of day, the only clock the sensor reads.
#pragma once

#include <string>

namespace tw {

/// The local time of day as "HH:MM:SS" on the 24-hour clock: characters 12 to 19 of the
/// standard 24-character date text.
std::string local_time_of_day();

}  // namespace tw
