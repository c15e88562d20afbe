/* Compile-time checks that the records of saprfc.h have the classic library's binary layout
 * on both targets the sensor is built for: 32-bit (i686) and 64-bit (x86_64). Included by the
 * library and by the sensor, so neither builds with a layout a real library would not read. */
#ifndef TARNWHEEL_SAPRFC_LAYOUT_H
#define TARNWHEEL_SAPRFC_LAYOUT_H

#include <stddef.h>

#include "saprfc.h"
#include "tw_rfc_abi.h"

TW_LAYOUT_ASSERT(sizeof(void*) == 4 || sizeof(void*) == 8, "a 32-bit or 64-bit target");
TW_LAYOUT_ASSERT(sizeof(RFC_HANDLE) == 4 && sizeof(RFC_TYPEHANDLE) == 4, "handles of 4 bytes");
TW_LAYOUT_ASSERT(sizeof(RFC_RC) == 4 && sizeof(RFC_MODE) == 4 && sizeof(RFC_ITMODE) == 4 &&
                     sizeof(RFC_ERROR_GROUP) == 4,
                 "enumerations of 4 bytes");
TW_LAYOUT_ASSERT(RFC_TIMEOUT == 23 && RFC_ERROR_BUSY == 110 && RFC_MODE_CPIC == 1,
                 "the classic values");

TW_SIZE(RFC_ENV, 8, 16);
TW_OFFSET(RFC_ENV, errorhandler, 0, 0);
TW_OFFSET(RFC_ENV, allocate, 4, 8);

TW_SIZE(RFC_OPTIONS, 32, 64);
TW_OFFSET(RFC_OPTIONS, destination, 0, 0);
TW_OFFSET(RFC_OPTIONS, mode, 4, 8);
TW_OFFSET(RFC_OPTIONS, connopt, 8, 16);
TW_OFFSET(RFC_OPTIONS, client, 12, 24);
TW_OFFSET(RFC_OPTIONS, user, 16, 32);
TW_OFFSET(RFC_OPTIONS, password, 20, 40);
TW_OFFSET(RFC_OPTIONS, language, 24, 48);
TW_OFFSET(RFC_OPTIONS, trace, 28, 56);

TW_SIZE(RFC_CONNOPT_R3ONLY, 16, 32);
TW_OFFSET(RFC_CONNOPT_R3ONLY, hostname, 0, 0);
TW_OFFSET(RFC_CONNOPT_R3ONLY, sysnr, 4, 8);
TW_OFFSET(RFC_CONNOPT_R3ONLY, gateway_host, 8, 16);
TW_OFFSET(RFC_CONNOPT_R3ONLY, gateway_service, 12, 24);

TW_SIZE(RFC_CONNOPT_CPIC, 8, 16);
TW_OFFSET(RFC_CONNOPT_CPIC, gateway_host, 0, 0);
TW_OFFSET(RFC_CONNOPT_CPIC, gateway_service, 4, 8);

TW_SIZE(RFC_PARAMETER, 20, 32);
TW_OFFSET(RFC_PARAMETER, name, 0, 0);
TW_OFFSET(RFC_PARAMETER, nlen, 4, 8);
TW_OFFSET(RFC_PARAMETER, type, 8, 12);
TW_OFFSET(RFC_PARAMETER, leng, 12, 16);
TW_OFFSET(RFC_PARAMETER, addr, 16, 24);

TW_SIZE(RFC_TABLE, 28, 40);
TW_OFFSET(RFC_TABLE, name, 0, 0);
TW_OFFSET(RFC_TABLE, nlen, 4, 8);
TW_OFFSET(RFC_TABLE, type, 8, 12);
TW_OFFSET(RFC_TABLE, leng, 12, 16);
TW_OFFSET(RFC_TABLE, ithandle, 16, 24);
TW_OFFSET(RFC_TABLE, itmode, 20, 32);
TW_OFFSET(RFC_TABLE, newitab, 24, 36);

TW_SIZE(RFC_TYPE_ELEMENT, 20, 24);
TW_OFFSET(RFC_TYPE_ELEMENT, name, 0, 0);
TW_OFFSET(RFC_TYPE_ELEMENT, type, 4, 8);
TW_OFFSET(RFC_TYPE_ELEMENT, length, 8, 12);
TW_OFFSET(RFC_TYPE_ELEMENT, decimals, 12, 16);
TW_OFFSET(RFC_TYPE_ELEMENT, not_used, 16, 20);

TW_SIZE(RFC_ERROR_INFO, 545, 545);
TW_OFFSET(RFC_ERROR_INFO, key, 0, 0);
TW_OFFSET(RFC_ERROR_INFO, status, 33, 33);
TW_OFFSET(RFC_ERROR_INFO, message, 161, 161);
TW_OFFSET(RFC_ERROR_INFO, intstat, 417, 417);

TW_SIZE(RFC_ERROR_INFO_EX, 552, 552);
TW_OFFSET(RFC_ERROR_INFO_EX, group, 0, 0);
TW_OFFSET(RFC_ERROR_INFO_EX, key, 4, 4);
TW_OFFSET(RFC_ERROR_INFO_EX, message, 37, 37);

#endif
