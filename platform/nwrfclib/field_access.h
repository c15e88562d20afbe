// Reaching one value of a container by the handle and name a getter or setter is given.
#pragma once

#include "container.h"
#include "sapnwrfc.h"

namespace tw::nwrfclib {

/*
 * The value `name` of the container `handle` (of a table: of its current row), with its
 * element. NULL with `error` set for a handle that is no live container
 * (RFC_INVALID_HANDLE), a table whose cursor is on no row, no name or an unknown one
 * (RFC_INVALID_PARAMETER).
 */
Value* reach_value(DATA_CONTAINER_HANDLE handle, const SAP_UC* name, const Element*& element,
                   Error& error);

/*
 * The error of a value whose type the operation cannot serve (RFC_CONVERSION_FAILURE).
 */
Error wrong_type(const Element& element, const char* operation);

}  // namespace tw::nwrfclib
