// What an administrator can do about a failure the RFC library reports, told by its
// error text.
#pragma once

#include <string>
#include <string_view>

namespace tw::check {

/// The remedy for a library error with the text `message` and the internal status
/// `internal_status` (both as RfcLastError gives them; letter case ignored): for a gateway
/// not reached (connection refused, host unknown, timed out), a system unknown to the
/// gateway, a rejected logon, an unknown service, a missing destination entry, an
/// exception of the function, a connection the partner closed or a timeout of a call;
/// for anything else, where to read further.
std::string remedy_for_library_error(std::string_view message, std::string_view internal_status);

}  // namespace tw::check
