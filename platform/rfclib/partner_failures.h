// What the failures of a connection mean to the caller of the classic interface: return
// code, key and error text (the texts are those of partner_trouble.h).
#pragma once

#include <string>

#include "connection.h"
#include "partner_trouble.h"
#include "report_error.h"

namespace tw::rfclib {

/*
 * The failure of `operation` for a trouble: a bad address or request RFC_INVALID_PARAMETER;
 * a timeout RFC_FAILURE; a closed connection RFC_SYS_EXCEPTION; a protocol error
 * RFC_FAILURE; a fault its code, keyed by code (1 call failure, 2 exception, 3 system
 * failure); an abort RFC_FAILURE with the error handler called; an unknown system or
 * rejected credentials `refused_rc`; a partner not reached RFC_FAILURE.
 */
Failure failure_of(const char* operation, const Trouble& trouble, RFC_RC refused_rc);

/*
 * failure_of for a transfer that went wrong during `what` ("call of FUNCTION").
 */
Failure transfer_failure(const char* operation, const Transfer& transfer,
                         const std::string& what, const std::string& partner);

}  // namespace tw::rfclib
