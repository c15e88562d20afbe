// RfcGetVersion: the release the library stands in for.
#include "sapnwrfc.h"

/*
 * 7500, 0 and patch level 0; returns "750 Patch Level 0".
 */
extern "C" const SAP_UC* SAP_API RfcGetVersion(unsigned* majorVersion, unsigned* minorVersion,
                                               unsigned* patchLevel) {
  if (majorVersion != nullptr) *majorVersion = 7500;
  if (minorVersion != nullptr) *minorVersion = 0;
  if (patchLevel != nullptr) *patchLevel = 0;
  return u"750 Patch Level 0";
}
