// What a failure of the NetWeaver library means to a classic caller: the classic result,
// key, error text and exception name, and what became of the connection.
#pragma once

#include <string>

#include "report_error.h"
#include "rfc/nw/nw_session.h"

namespace tw::nw {

/// A failed call of a function, in classic terms.
struct CallFailure {
  rfclib::Failure failure{};
  std::string raised{};          ///< the exception name of RFC_EXCEPTION
  bool connection_gone = false;  ///< the library closed the connection
  bool close = false;            ///< the bridge closes the connection itself
};

/*
 * The classic error text of a message of the library: the text of its line "ERROR ..."
 * (a network failure is a block of such lines), else the message on one line; `detail`
 * gets the text of a line "DETAIL ...".
 */
std::string classic_text(const std::string& message, std::string& detail);

/*
 * A failed open (RfcOpen, RfcOpenEx) of a connection to `partner`.
 */
rfclib::Failure open_failure(const NwError& error, const char* operation,
                             const std::string& partner);

/*
 * A failed call of `function` on a connection to `partner`, reported by RfcReceive.
 */
CallFailure call_failure(const NwError& error, const std::string& function,
                         const std::string& partner);

}  // namespace tw::nw
