// One request and its answer over an open connection, shared by the lookup of an interface
// and the call of a function.
#pragma once

#include <string>

#include "nw_state.h"
#include "partner_trouble.h"
#include "sapnwrfc.h"
#include "wire.h"

namespace tw::nwrfclib {

/*
 * Sends `request` and receives the answer within the call timeout. True with `answer` set;
 * false with `trouble` set for a request that breaks the protocol's limits (kBadRequest) or
 * a transfer that went wrong during `what` ("call of FUNCTION").
 */
bool exchange(Session& session, const wire::Message& request, const std::string& what,
              wire::Message& answer, rfclib::Trouble& trouble);

/*
 * Ends a request that failed with `trouble`: the error of call_error (partner_errors.h)
 * reported, and the connection closed (its handle then invalid) when the error ends it.
 * Returns the error's code.
 */
RFC_RC fail_request(RFC_CONNECTION_HANDLE handle, const rfclib::Trouble& trouble,
                    RFC_ERROR_INFO* info);

}  // namespace tw::nwrfclib
