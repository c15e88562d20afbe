#include "check/failure_advice.h"

#include <array>

#include "os/ascii_text.h"

namespace tw::check {

namespace {

/// A text that marks a kind of failure, and what to do about it. The first match counts.
struct Advice {
  std::string_view marker;  ///< in upper case
  std::string_view remedy;
};

constexpr std::array<Advice, 12> kAdvice = {{
    {"SYSTEM UNKNOWN TO THE GATEWAY",
     "the gateway does not serve this application server and system number: correct "
     "Hostname and Sysnr (or ,HOST= and ,NO=) to the system's own"},
    {"CONNECTION REFUSED",
     "nothing listens at the gateway's port: check Gwservice (sapgwNN or port 33NN for system "
     "number NN) and that the SAP gateway runs"},
    {"HOST UNKNOWN",
     "the gateway's host name resolves to no address: correct Gwhost (or Hostname), or add "
     "the name to the DNS or the hosts file of the probe"},
    {"NAME OR PASSWORD IS INCORRECT",
     "check User and Client, and write the Password line anew with tarnwheel-passwd; the user "
     "may also be locked in the SAP system (SU01)"},
    {"PASSWORD",
     "check User and Client, and write the Password line anew with tarnwheel-passwd"},
    {"SERVICE '",
     "Gwservice must be the gateway's port number, sapgwNN (port 33NN) or a name of the "
     "probe's services file"},
    {"NOT FOUND IN",
     "add the destination's entry (DEST=, TYPE=A, ASHOST=, SYSNR=) to the destination file"},
    {"HAS NO",
     "complete the destination's entry (TYPE=A, ASHOST=, SYSNR=) in the destination file"},
    {"EXCEPTION",
     "the function module raised an exception: check the user's authorization for "
     "RFC_SYSTEM_INFO and ADA_LOG_STATISTICS (S_RFC)"},
    {"CONNECTION CLOSED BY PARTNER",
     "the SAP side closed the connection: look at its system log (SM21) and work processes "
     "(SM50)"},
    {"TIMED OUT",
     "no answer in time: a firewall between probe and gateway may drop the connection, or "
     "the host is down"},
    {"TIMEOUT",
     "the SAP system did not answer in time: look at its work processes (SM50) and load"},
}};

}  // namespace

std::string remedy_for_library_error(std::string_view message, std::string_view internal_status) {
  const std::string text = upper_a_to_z(std::string(message) + " " + std::string(internal_status));
  for (const Advice& advice : kAdvice) {
    if (text.find(advice.marker) != std::string::npos) return std::string(advice.remedy);
  }
  return "read the RFC library's trace file in the working directory and the SAP system's log";
}

}  // namespace tw::check
