// Connecting to the gateway and logging on, shared by both stand-in libraries.
#pragma once

#include <memory>
#include <string>

#include "connection.h"
#include "partner_trouble.h"

namespace tw::rfclib {

/// The target system and the logon, each text exactly as the caller gave it.
struct LogonRequest {
  std::string ashost;
  int sysnr = 0;  ///< 0 to 99
  std::string gwhost, gwservice;
  std::string client, user, password, language;
  bool check_now = false;  ///< check the credentials now, not at the first call
};

/*
 * Connects to the gateway of the request within the connect timeout, sends the logon and
 * waits for its answer within the call timeout. Returns the logged-on connection with
 * `system` set to the name the gateway gives the system; or nullptr with `trouble` set
 * (kBadAddress, kBadRequest, kNotReached, or what the gateway's answer means).
 */
std::unique_ptr<Connection> log_on(const LogonRequest& request, std::string& system,
                                   Trouble& trouble);

}  // namespace tw::rfclib
