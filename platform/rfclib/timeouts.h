// How long the library waits: for a connection, and for the answer to a call.
#pragma once

#include <chrono>

#include "net.h"

namespace tw::rfclib {

using Seconds = std::chrono::duration<double>;

/*
 * Waiting for a connection to the gateway: RFC_CONNECT_TIMEOUT seconds, else 5 s.
 */
Seconds connect_timeout();

/*
 * Waiting for the answer to a call (or a logon): RFC_CALL_TIMEOUT seconds, else 25 s.
 */
Seconds call_timeout();

/*
 * Reads a number of seconds such as "5", "0.5" or " 2.25 ". Returns `fallback` for NULL, an
 * empty text, anything that is not a plain positive decimal number, and for values beyond
 * a day.
 */
Seconds parse_seconds(const char* text, Seconds fallback);

/*
 * The moment `timeout` from now.
 */
net::Deadline deadline_after(Seconds timeout);

}  // namespace tw::rfclib
