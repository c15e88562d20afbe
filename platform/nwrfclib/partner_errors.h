// What the troubles with the gateway (partner_trouble.h) mean to a caller of the NetWeaver
// interface. The error texts are the classic library's, word for word.
#pragma once

#include <string>

#include "error.h"
#include "partner_trouble.h"

namespace tw::nwrfclib {

/*
 * The block of lines a network error reads as: a line feed, then LOCATION, ERROR (the
 * text), TIME, RELEASE, COMPONENT, VERSION, RC, DETAIL (only with a detail) and COUNTER,
 * each key padded to 12 characters, a line each.
 */
std::string network_block(const std::string& text, const std::string& detail);

/*
 * The error of an open that failed: a bad request RFC_INVALID_PARAMETER; rejected
 * credentials RFC_LOGON_FAILURE with the partner's text; a fault or abort of the partner
 * RFC_ABAP_RUNTIME_FAILURE (key the exception, "SYSTEM_FAILURE" for code 3, else
 * "RFC_ABAP_RUNTIME_FAILURE"); everything else (unknown service, partner not reached,
 * unknown system, timeout, lost connection, bad frame) RFC_COMMUNICATION_FAILURE with the
 * text in a network block.
 */
Error open_error(const rfclib::Trouble& trouble);

/*
 * The error of a call (or of the lookup of an interface) that failed, and in `closes`
 * whether it ends the connection:
 *   fault with an exception (code 2)  RFC_ABAP_EXCEPTION, key the exception     stays open
 *   fault of another code but 3       RFC_UNKNOWN_ERROR                          stays open
 *   system failure (fault code 3)     RFC_ABAP_RUNTIME_FAILURE, "SYSTEM_FAILURE" closes
 *   abort                             RFC_ABAP_RUNTIME_FAILURE                   closes
 *   connection closed by the partner  RFC_COMMUNICATION_FAILURE                  closes
 *   timeout                           RFC_TIMEOUT, group COMMUNICATION_FAILURE   closes
 *   malformed or unexpected frame     RFC_INVALID_PROTOCOL                       closes
 *   logon refused                     RFC_LOGON_FAILURE or (unknown system)
 *                                     RFC_COMMUNICATION_FAILURE                  closes
 *   a request that cannot be sent     RFC_INVALID_PARAMETER                      stays open
 * The message is the classic library's text.
 */
Error call_error(const rfclib::Trouble& trouble, bool& closes);

}  // namespace tw::nwrfclib
