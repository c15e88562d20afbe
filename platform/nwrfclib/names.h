// The names of the codes of the NetWeaver interface, as static texts.
#pragma once

#include "sapnwrfc.h"

namespace tw::nwrfclib {

/*
 * "RFC_OK" ..., "RFCTYPE_CHAR" ..., "RFC_IMPORT" ...; the empty text for a value that is
 * none.
 */
const SAP_UC* rc_name(RFC_RC rc);
const SAP_UC* type_name(RFCTYPE type);
const SAP_UC* direction_name(RFC_DIRECTION direction);

}  // namespace tw::nwrfclib
