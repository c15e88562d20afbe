// What goes wrong between a client library and the gateway, with the error texts both
// stand-in libraries (classic and NetWeaver) give for it. Each library turns a Trouble into
// its own return code and error record.
#pragma once

#include <cstdint>
#include <string>

#include "connection.h"
#include "wire.h"

namespace tw::rfclib {

/// The text of a rejected logon when the partner gives none.
inline constexpr const char* kLogonRejected = "Name or password is incorrect (repeat logon)";

/// One thing that went wrong, in words.
struct Trouble {
  enum class Kind {
    kBadAddress,     ///< no gateway address can be had from the request
    kBadRequest,     ///< the request breaks a limit of the protocol
    kNotReached,     ///< no connection to the gateway
    kUnknownSystem,  ///< the gateway does not know the system
    kLogonRejected,  ///< the credentials were rejected
    kTimedOut,       ///< no answer within the timeout
    kClosed,         ///< the partner closed the connection before answering
    kMalformed,      ///< a frame broke the protocol, or came where none of its type may
    kFault,          ///< the partner answered with a fault
    kAbort,          ///< the partner gave up
  };
  Kind kind = Kind::kMalformed;
  std::string text{};      ///< the error text
  std::string detail{};    ///< the system's reason and the partner, when there are
  std::string partner{};   ///< "HOST:PORT" when the text is the partner's
  std::uint32_t code = 0;  ///< a fault's return code
  std::string exception{}; ///< a fault's exception name
};

/*
 * A transfer that went wrong during `what` ("call of FUNCTION", "logon to partner 'P'")
 * with the gateway `partner`: "timeout during WHAT", "connection closed by partner" or
 * "invalid frame from partner: REASON"; the detail names the partner.
 */
Trouble transfer_trouble(const Transfer& transfer, const std::string& what,
                         const std::string& partner);

/*
 * An answer other than the one hoped for, to `what` ("logon", "call of FUNCTION"): a
 * fault (the partner's text or, without one, the library's own by code: 2 "exception NAME
 * raised in WHAT", 3 "system exception in WHAT", else "WHAT failed with return code N"),
 * an abort ("connection aborted by partner" without a text), a refused logon (an unknown
 * system reads "partner 'PARTNER' not reached", rejected credentials the partner's text or
 * kLogonRejected), and any other message a protocol error.
 */
Trouble answer_trouble(const wire::Message& answer, const std::string& what,
                       const std::string& partner);

/*
 * "partner 'PARTNER' not reached", with the system's reason as detail.
 */
Trouble not_reached(const std::string& partner, std::string reason);

}  // namespace tw::rfclib
