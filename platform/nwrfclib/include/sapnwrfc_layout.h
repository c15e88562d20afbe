/* Compile-time checks that the records of sapnwrfc.h have the binary layout of SAP's
 * NetWeaver RFC library on both targets the sensor is built for: 32-bit (i686) and 64-bit
 * (x86_64, Windows and Linux alike). Included by the stand-in library and by every caller, so
 * that none builds with a layout the real library would not read. */
#ifndef TARNWHEEL_SAPNWRFC_LAYOUT_H
#define TARNWHEEL_SAPNWRFC_LAYOUT_H

#include <stddef.h>

#include "sapnwrfc.h"
#include "tw_rfc_abi.h"

TW_LAYOUT_ASSERT(sizeof(void*) == 4 || sizeof(void*) == 8, "a 32-bit or 64-bit target");
TW_LAYOUT_ASSERT(sizeof(SAP_UC) == 2 && sizeof(SAP_RAW) == 1, "two-byte characters");
TW_LAYOUT_ASSERT(sizeof(RFC_INT) == 4 && sizeof(RFC_INT2) == 2 && sizeof(RFC_FLOAT) == 8,
                 "ABAP integer and float sizes");
TW_LAYOUT_ASSERT(sizeof(RFC_RC) == 4 && sizeof(RFC_ERROR_GROUP) == 4 && sizeof(RFCTYPE) == 4 &&
                 sizeof(RFC_DIRECTION) == 4,
                 "enumerations of 4 bytes");
TW_LAYOUT_ASSERT(sizeof(RFC_CONNECTION_HANDLE) == sizeof(void*) &&
                 sizeof(RFC_FUNCTION_HANDLE) == sizeof(void*),
                 "handles of a pointer's size");
TW_LAYOUT_ASSERT(RFC_INVALID_HANDLE == 13 && RFC_NOT_FOUND == 17 && RFC_INVALID_PARAMETER == 20 &&
                 RFC_BUFFER_TOO_SMALL == 23 && RFC_TABLE_MOVE_EOF == 25 &&
                 RFC_UNKNOWN_ERROR == 28 && RFC_LOCKING_FAILURE == 33,
                 "the library's result codes");
TW_LAYOUT_ASSERT(COMMUNICATION_FAILURE == 4 && EXTERNAL_RUNTIME_FAILURE == 5 &&
                     LOCKING_FAILURE == 10,
                 "the library's error groups");
TW_LAYOUT_ASSERT(RFCTYPE_STRUCTURE == 17 && RFCTYPE_STRING == 29 && RFCTYPE_INT8 == 31 &&
                 RFCTYPE_GENERIC_BOX == 42,
                 "the library's type codes");
TW_LAYOUT_ASSERT(RFC_CHANGING == 3 && RFC_TABLES == 7, "the library's directions");

TW_SIZE(RFC_ERROR_INFO, 1752, 1752);
TW_OFFSET(RFC_ERROR_INFO, code, 0, 0);
TW_OFFSET(RFC_ERROR_INFO, group, 4, 4);
TW_OFFSET(RFC_ERROR_INFO, key, 8, 8);
TW_OFFSET(RFC_ERROR_INFO, message, 264, 264);
TW_OFFSET(RFC_ERROR_INFO, abapMsgClass, 1288, 1288);
TW_OFFSET(RFC_ERROR_INFO, abapMsgType, 1330, 1330);
TW_OFFSET(RFC_ERROR_INFO, abapMsgNumber, 1334, 1334);
TW_OFFSET(RFC_ERROR_INFO, abapMsgV1, 1342, 1342);
TW_OFFSET(RFC_ERROR_INFO, abapMsgV2, 1444, 1444);
TW_OFFSET(RFC_ERROR_INFO, abapMsgV3, 1546, 1546);
TW_OFFSET(RFC_ERROR_INFO, abapMsgV4, 1648, 1648);

TW_SIZE(RFC_ATTRIBUTES, 1118, 1118);
TW_OFFSET(RFC_ATTRIBUTES, dest, 0, 0);
TW_OFFSET(RFC_ATTRIBUTES, host, 130, 130);
TW_OFFSET(RFC_ATTRIBUTES, partnerHost, 332, 332);
TW_OFFSET(RFC_ATTRIBUTES, sysNumber, 534, 534);
TW_OFFSET(RFC_ATTRIBUTES, sysId, 540, 540);
TW_OFFSET(RFC_ATTRIBUTES, client, 558, 558);
TW_OFFSET(RFC_ATTRIBUTES, user, 566, 566);
TW_OFFSET(RFC_ATTRIBUTES, language, 592, 592);
TW_OFFSET(RFC_ATTRIBUTES, trace, 598, 598);
TW_OFFSET(RFC_ATTRIBUTES, isoLanguage, 602, 602);
TW_OFFSET(RFC_ATTRIBUTES, codepage, 608, 608);
TW_OFFSET(RFC_ATTRIBUTES, partnerCodepage, 618, 618);
TW_OFFSET(RFC_ATTRIBUTES, rfcRole, 628, 628);
TW_OFFSET(RFC_ATTRIBUTES, type, 632, 632);
TW_OFFSET(RFC_ATTRIBUTES, partnerType, 636, 636);
TW_OFFSET(RFC_ATTRIBUTES, rel, 640, 640);
TW_OFFSET(RFC_ATTRIBUTES, partnerRel, 650, 650);
TW_OFFSET(RFC_ATTRIBUTES, kernelRel, 660, 660);
TW_OFFSET(RFC_ATTRIBUTES, cpicConvId, 670, 670);
TW_OFFSET(RFC_ATTRIBUTES, progName, 688, 688);
TW_OFFSET(RFC_ATTRIBUTES, partnerBytesPerChar, 946, 946);
TW_OFFSET(RFC_ATTRIBUTES, partnerSystemCodepage, 950, 950);
TW_OFFSET(RFC_ATTRIBUTES, partnerIP, 960, 960);
TW_OFFSET(RFC_ATTRIBUTES, partnerIPv6, 992, 992);
TW_OFFSET(RFC_ATTRIBUTES, reserved, 1084, 1084);

TW_SIZE(RFC_CONNECTION_PARAMETER, 8, 16);
TW_OFFSET(RFC_CONNECTION_PARAMETER, name, 0, 0);
TW_OFFSET(RFC_CONNECTION_PARAMETER, value, 4, 8);

TW_SIZE(RFC_FIELD_DESC, 96, 104);
TW_OFFSET(RFC_FIELD_DESC, name, 0, 0);
TW_OFFSET(RFC_FIELD_DESC, type, 64, 64);
TW_OFFSET(RFC_FIELD_DESC, nucLength, 68, 68);
TW_OFFSET(RFC_FIELD_DESC, nucOffset, 72, 72);
TW_OFFSET(RFC_FIELD_DESC, ucLength, 76, 76);
TW_OFFSET(RFC_FIELD_DESC, ucOffset, 80, 80);
TW_OFFSET(RFC_FIELD_DESC, decimals, 84, 84);
TW_OFFSET(RFC_FIELD_DESC, typeDescHandle, 88, 88);
TW_OFFSET(RFC_FIELD_DESC, extendedDescription, 92, 96);

TW_SIZE(RFC_PARAMETER_DESC, 316, 328);
TW_OFFSET(RFC_PARAMETER_DESC, name, 0, 0);
TW_OFFSET(RFC_PARAMETER_DESC, type, 64, 64);
TW_OFFSET(RFC_PARAMETER_DESC, direction, 68, 68);
TW_OFFSET(RFC_PARAMETER_DESC, nucLength, 72, 72);
TW_OFFSET(RFC_PARAMETER_DESC, ucLength, 76, 76);
TW_OFFSET(RFC_PARAMETER_DESC, decimals, 80, 80);
TW_OFFSET(RFC_PARAMETER_DESC, typeDescHandle, 84, 88);
TW_OFFSET(RFC_PARAMETER_DESC, defaultValue, 88, 96);
TW_OFFSET(RFC_PARAMETER_DESC, parameterText, 150, 158);
TW_OFFSET(RFC_PARAMETER_DESC, optional, 310, 318);
TW_OFFSET(RFC_PARAMETER_DESC, extendedDescription, 312, 320);

TW_SIZE(RFC_EXCEPTION_DESC, 1280, 1280);
TW_OFFSET(RFC_EXCEPTION_DESC, key, 0, 0);
TW_OFFSET(RFC_EXCEPTION_DESC, message, 256, 256);

#endif
