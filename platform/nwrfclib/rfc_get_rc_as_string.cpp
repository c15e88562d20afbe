// RfcGetRcAsString, RfcGetTypeAsString, RfcGetDirectionAsString: codes as their names.
#include "names.h"
#include "sapnwrfc.h"

/*
 * The name of a result code; the empty text for a value that is none.
 */
extern "C" const SAP_UC* SAP_API RfcGetRcAsString(RFC_RC rc) {
  return tw::nwrfclib::rc_name(rc);
}

/*
 * The name of a type code; the empty text for a value that is none.
 */
extern "C" const SAP_UC* SAP_API RfcGetTypeAsString(RFCTYPE type) {
  return tw::nwrfclib::type_name(type);
}

/*
 * The name of a direction; the empty text for a value that is none.
 */
extern "C" const SAP_UC* SAP_API RfcGetDirectionAsString(RFC_DIRECTION direction) {
  return tw::nwrfclib::direction_name(direction);
}
