// The data of a call between a function container and the messages on the wire.
#pragma once

#include <string>

#include "container.h"
#include "wire.h"

namespace tw::nwrfclib {

/*
 * The call of a function container: each importing or changing parameter the caller set
 * (characters in UTF-8 within the parameter's bytes, an integer as such) and every
 * structure among them as its flat record; each table parameter with its rows.
 */
wire::Call call_of(const Container& function);

/*
 * Takes a reply into a function container: exporting parameters back to their initial
 * values, then each value and table the reply names (names compared without regard to the
 * letter case of a to z; others passed over) filled in, rows appended. A row longer than
 * its table's line changes nothing: false with `problem` set.
 */
bool take_reply(Container& function, const wire::Reply& reply, std::string& problem);

}  // namespace tw::nwrfclib
