/* The NetWeaver RFC client interface (release 7.50): the types, records and operations a
 * client program uses to open a connection, look up a function's interface, call it and read
 * its answer, with the binary layout and calling convention of SAP's NetWeaver RFC library,
 * so that either that library or Tarnwheel's stand-in can be loaded under the same names.
 *
 * Texts are SAP_UC: UTF-16 code units in host byte order, two bytes on every platform.
 * Every operation fills the RFC_ERROR_INFO it is given (code RFC_OK on success); a NULL
 * error record is allowed. Handles are opaque; a container's sub-handles (structures, tables,
 * rows) belong to it and end when it is destroyed. */
#ifndef TARNWHEEL_SAPNWRFC_H
#define TARNWHEEL_SAPNWRFC_H

/* SAP_API, the calling convention of every operation. */
#include "tw_rfc_abi.h"

/* Marks the operations; the library decides what it exports by its own export list. */
#ifndef DECL_EXP
#define DECL_EXP
#endif

#ifndef __cplusplus
#include <uchar.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* One UTF-16 code unit; the literals u"..." have this type in C and C++. */
typedef char16_t SAP_UC;
typedef unsigned char SAP_RAW;

/* The ABAP scalar types as the library passes them. */
typedef SAP_UC RFC_CHAR;
typedef RFC_CHAR RFC_NUM;
typedef SAP_RAW RFC_BYTE;
typedef SAP_RAW RFC_BCD;
typedef SAP_RAW RFC_INT1;
typedef short RFC_INT2;
typedef int RFC_INT;
typedef double RFC_FLOAT;
typedef RFC_CHAR RFC_DATE[8]; /* YYYYMMDD */
typedef RFC_CHAR RFC_TIME[6]; /* HHMMSS */

/* Names of functions, parameters, fields and types: at most 30 characters and a zero. */
typedef RFC_CHAR RFC_ABAP_NAME[30 + 1];
typedef RFC_CHAR RFC_PARAMETER_DEFVALUE[30 + 1];
typedef RFC_CHAR RFC_PARAMETER_TEXT[79 + 1];

/* The ABAP type of a field or parameter. */
typedef enum _RFCTYPE {
  RFCTYPE_CHAR = 0,       /* characters, fixed length, padded with blanks */
  RFCTYPE_DATE = 1,       /* YYYYMMDD */
  RFCTYPE_BCD = 2,        /* packed decimal, 1 to 16 bytes */
  RFCTYPE_TIME = 3,       /* HHMMSS */
  RFCTYPE_BYTE = 4,       /* raw bytes, fixed length, padded with zeros */
  RFCTYPE_TABLE = 5,      /* an internal table */
  RFCTYPE_NUM = 6,        /* digits, fixed length, padded with leading zeros */
  RFCTYPE_FLOAT = 7,      /* double */
  RFCTYPE_INT = 8,        /* 4-byte integer */
  RFCTYPE_INT2 = 9,       /* 2-byte integer */
  RFCTYPE_INT1 = 10,      /* 1-byte unsigned integer */
  RFCTYPE_NULL = 14,      /* a type the library does not support */
  RFCTYPE_ABAPOBJECT = 16,
  RFCTYPE_STRUCTURE = 17, /* a structure */
  RFCTYPE_DECF16 = 23,    /* decimal floating point, 8 bytes */
  RFCTYPE_DECF34 = 24,    /* decimal floating point, 16 bytes */
  RFCTYPE_XMLDATA = 28,   /* no longer used */
  RFCTYPE_STRING = 29,    /* characters, variable length */
  RFCTYPE_XSTRING = 30,   /* bytes, variable length */
  RFCTYPE_INT8,           /* 31: 8-byte integer */
  RFCTYPE_UTCLONG,        /* 32 */
  RFCTYPE_UTCSECOND,      /* 33 */
  RFCTYPE_UTCMINUTE,      /* 34 */
  RFCTYPE_DTDAY,          /* 35 */
  RFCTYPE_DTWEEK,         /* 36 */
  RFCTYPE_DTMONTH,        /* 37 */
  RFCTYPE_TSECOND,        /* 38 */
  RFCTYPE_TMINUTE,        /* 39 */
  RFCTYPE_CDAY,           /* 40 */
  RFCTYPE_BOX,            /* 41 */
  RFCTYPE_GENERIC_BOX,    /* 42 */
  _RFCTYPE_max_value
} RFCTYPE;

/* Results of the operations, also RFC_ERROR_INFO.code; the values count up from 0. */
typedef enum _RFC_RC {
  RFC_OK,                          /* 0 */
  RFC_COMMUNICATION_FAILURE,       /* 1: network; the connection is closed */
  RFC_LOGON_FAILURE,               /* 2: the logon was rejected */
  RFC_ABAP_RUNTIME_FAILURE,        /* 3: the partner failed (SYSTEM_FAILURE); connection closed */
  RFC_ABAP_MESSAGE,                /* 4: an E, A or X message of the function; connection closed */
  RFC_ABAP_EXCEPTION,              /* 5: the function raised an exception; errorInfo.key names it */
  RFC_CLOSED,                      /* 6: closed by the partner */
  RFC_CANCELED,                    /* 7: the call was cancelled (RfcCancel) */
  RFC_TIMEOUT,                     /* 8 */
  RFC_MEMORY_INSUFFICIENT,         /* 9 */
  RFC_VERSION_MISMATCH,            /* 10 */
  RFC_INVALID_PROTOCOL,            /* 11: the partner sent data of a form not understood */
  RFC_SERIALIZATION_FAILURE,       /* 12 */
  RFC_INVALID_HANDLE,              /* 13: unknown or already closed handle */
  RFC_RETRY,                       /* 14 */
  RFC_EXTERNAL_FAILURE,            /* 15 */
  RFC_EXECUTED,                    /* 16 */
  RFC_NOT_FOUND,                   /* 17: no such function or type */
  RFC_NOT_SUPPORTED,               /* 18 */
  RFC_ILLEGAL_STATE,               /* 19 */
  RFC_INVALID_PARAMETER,           /* 20: a wrong argument, an unknown name */
  RFC_CODEPAGE_CONVERSION_FAILURE, /* 21 */
  RFC_CONVERSION_FAILURE,          /* 22 */
  RFC_BUFFER_TOO_SMALL,            /* 23: the output was cut to the buffer */
  RFC_TABLE_MOVE_BOF,              /* 24: the cursor would move before the first row */
  RFC_TABLE_MOVE_EOF,              /* 25: the cursor would move past the last row */
  RFC_START_SAPGUI_FAILURE,        /* 26 */
  RFC_ABAP_CLASS_EXCEPTION,        /* 27 */
  RFC_UNKNOWN_ERROR,               /* 28 */
  RFC_AUTHORIZATION_FAILURE,       /* 29 */
  RFC_AUTHENTICATION_FAILURE,      /* 30 */
  RFC_CRYPTOLIB_FAILURE,           /* 31 */
  RFC_IO_FAILURE,                  /* 32 */
  RFC_LOCKING_FAILURE,             /* 33 */
  _RFC_RC_max_value
} RFC_RC;

/* Where an error arose; RFC_ERROR_INFO.group. The names carry no prefix. */
typedef enum _RFC_ERROR_GROUP {
  OK,                              /* 0 */
  ABAP_APPLICATION_FAILURE,        /* 1: an exception raised by the called function */
  ABAP_RUNTIME_FAILURE,            /* 2: a message or failure of the partner's runtime */
  LOGON_FAILURE,                   /* 3 */
  COMMUNICATION_FAILURE,           /* 4: network, or the partner went away */
  EXTERNAL_RUNTIME_FAILURE,        /* 5: inside this library (arguments, memory) */
  EXTERNAL_APPLICATION_FAILURE,    /* 6 */
  EXTERNAL_AUTHORIZATION_FAILURE,  /* 7 */
  EXTERNAL_AUTHENTICATION_FAILURE, /* 8 */
  CRYPTOLIB_FAILURE,               /* 9 */
  LOCKING_FAILURE                  /* 10 */
} RFC_ERROR_GROUP;

/* What went wrong; every text zero-terminated. */
typedef struct _RFC_ERROR_INFO {
  RFC_RC code;
  RFC_ERROR_GROUP group;
  SAP_UC key[128];         /* e.g. "RFC_LOGON_FAILURE", or the exception's name */
  SAP_UC message[512];     /* may span several lines */
  SAP_UC abapMsgClass[20 + 1];
  SAP_UC abapMsgType[1 + 1];
  RFC_NUM abapMsgNumber[3 + 1];
  SAP_UC abapMsgV1[50 + 1];
  SAP_UC abapMsgV2[50 + 1];
  SAP_UC abapMsgV3[50 + 1];
  SAP_UC abapMsgV4[50 + 1];
} RFC_ERROR_INFO;

/* What is known of an open connection and its partner; zero-terminated texts. */
typedef struct _RFC_ATTRIBUTES {
  SAP_UC dest[64 + 1];
  SAP_UC host[100 + 1];        /* own host */
  SAP_UC partnerHost[100 + 1];
  SAP_UC sysNumber[2 + 1];
  SAP_UC sysId[8 + 1];
  SAP_UC client[3 + 1];
  SAP_UC user[12 + 1];
  SAP_UC language[2 + 1];
  SAP_UC trace[1 + 1];
  SAP_UC isoLanguage[2 + 1];
  SAP_UC codepage[4 + 1];
  SAP_UC partnerCodepage[4 + 1];
  SAP_UC rfcRole[1 + 1];       /* 'C' client, 'S' server */
  SAP_UC type[1 + 1];
  SAP_UC partnerType[1 + 1];
  SAP_UC rel[4 + 1];
  SAP_UC partnerRel[4 + 1];
  SAP_UC kernelRel[4 + 1];
  SAP_UC cpicConvId[8 + 1];
  SAP_UC progName[128 + 1];
  SAP_UC partnerBytesPerChar[1 + 1];
  SAP_UC partnerSystemCodepage[4 + 1];
  SAP_UC partnerIP[15 + 1];
  SAP_UC partnerIPv6[45 + 1];
  SAP_UC reserved[17];
} RFC_ATTRIBUTES;

/* One logon parameter of RfcOpenConnection: a name such as "ASHOST" (any letter case) and
 * its value, both zero-terminated. */
typedef struct _RFC_CONNECTION_PARAMETER {
  const SAP_UC* name;
  const SAP_UC* value;
} RFC_CONNECTION_PARAMETER;

/* The opaque handles. The containers of a function, a structure and a table share one handle
 * type. */
typedef struct _RFC_CONNECTION_HANDLE { void* handle; } *RFC_CONNECTION_HANDLE;
typedef struct _RFC_FUNCTION_DESC_HANDLE { void* handle; } *RFC_FUNCTION_DESC_HANDLE;
typedef struct _RFC_TYPE_DESC_HANDLE { void* handle; } *RFC_TYPE_DESC_HANDLE;
typedef struct RFC_DATA_CONTAINER { void* handle; } *DATA_CONTAINER_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_FUNCTION_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_STRUCTURE_HANDLE;
typedef DATA_CONTAINER_HANDLE RFC_TABLE_HANDLE;

/* One field of a structure or table row. Lengths and offsets are in bytes: "nuc" as in a
 * system of one byte per character, "uc" as with two. */
typedef struct _RFC_FIELD_DESC {
  RFC_ABAP_NAME name;
  RFCTYPE type;
  unsigned nucLength;
  unsigned nucOffset;
  unsigned ucLength;
  unsigned ucOffset;
  unsigned decimals;                   /* of a packed number */
  RFC_TYPE_DESC_HANDLE typeDescHandle; /* the type of a structure or table field */
  void* extendedDescription;           /* for the application; the library leaves it alone */
} RFC_FIELD_DESC;

/* The direction of a parameter, seen from the called function. */
typedef enum _RFC_DIRECTION {
  RFC_IMPORT = 0x01,                  /* passed to the function */
  RFC_EXPORT = 0x02,                  /* returned by it */
  RFC_CHANGING = RFC_IMPORT | RFC_EXPORT,
  RFC_TABLES = 0x04 | RFC_CHANGING    /* a table parameter */
} RFC_DIRECTION;

/* One parameter of a function. Lengths are in bytes, as in RFC_FIELD_DESC. */
typedef struct _RFC_PARAMETER_DESC {
  RFC_ABAP_NAME name;
  RFCTYPE type;
  RFC_DIRECTION direction;
  unsigned nucLength;
  unsigned ucLength;
  unsigned decimals;
  RFC_TYPE_DESC_HANDLE typeDescHandle; /* the type of a structure or table parameter */
  RFC_PARAMETER_DEFVALUE defaultValue;
  RFC_PARAMETER_TEXT parameterText;
  RFC_BYTE optional;                   /* 1: may be left out */
  void* extendedDescription;           /* for the application */
} RFC_PARAMETER_DESC;

/* One exception a function declares. */
typedef struct _RFC_EXCEPTION_DESC {
  SAP_UC key[128];
  SAP_UC message[512];
} RFC_EXCEPTION_DESC;

/* ---- General ---------------------------------------------------------------------------- */

/* Sets the release: major e.g. 7500, minor 0, the patch level; any pointer may be NULL.
 * Returns the release as a static text. */
DECL_EXP const SAP_UC* SAP_API RfcGetVersion(unsigned* majorVersion, unsigned* minorVersion,
                                             unsigned* patchLevel);

/* The name of a result code ("RFC_OK" ...), as a static text. */
DECL_EXP const SAP_UC* SAP_API RfcGetRcAsString(RFC_RC rc);

/* The name of a type code ("RFCTYPE_CHAR" ...), as a static text. */
DECL_EXP const SAP_UC* SAP_API RfcGetTypeAsString(RFCTYPE type);

/* The name of a direction ("RFC_IMPORT" ...), as a static text. */
DECL_EXP const SAP_UC* SAP_API RfcGetDirectionAsString(RFC_DIRECTION direction);

/* Converts `utf8Length` bytes of UTF-8 to UTF-16, zero-terminated. `*sapucSize`: the room in
 * code units; when too small, RFC_BUFFER_TOO_SMALL and `*sapucSize` is set to the room
 * needed. `*resultLength`: the code units written, without the zero. */
DECL_EXP RFC_RC SAP_API RfcUTF8ToSAPUC(const RFC_BYTE* utf8, unsigned utf8Length, SAP_UC* sapuc,
                                       unsigned* sapucSize, unsigned* resultLength,
                                       RFC_ERROR_INFO* errorInfo);

/* Converts `sapucLength` code units of UTF-16 to UTF-8, zero-terminated. `*utf8Size`: the
 * room in bytes; when too small, RFC_BUFFER_TOO_SMALL and `*utf8Size` is set to the room
 * needed. `*resultLength`: the bytes written, without the zero. */
DECL_EXP RFC_RC SAP_API RfcSAPUCToUTF8(const SAP_UC* sapuc, unsigned sapucLength, RFC_BYTE* utf8,
                                       unsigned* utf8Size, unsigned* resultLength,
                                       RFC_ERROR_INFO* errorInfo);

/* ---- Connections ------------------------------------------------------------------------ */

/* Opens a client connection and logs on. Parameters: ASHOST and SYSNR (or MSHOST, MSSERV,
 * SYSID/R3NAME and GROUP), optionally GWHOST and GWSERV; CLIENT, USER, PASSWD, LANG. NULL on
 * failure, with errorInfo->code RFC_INVALID_PARAMETER, RFC_COMMUNICATION_FAILURE,
 * RFC_LOGON_FAILURE, RFC_ABAP_RUNTIME_FAILURE or RFC_MEMORY_INSUFFICIENT. */
DECL_EXP RFC_CONNECTION_HANDLE SAP_API RfcOpenConnection(
    RFC_CONNECTION_PARAMETER const* connectionParams, unsigned paramCount,
    RFC_ERROR_INFO* errorInfo);

/* Closes a connection; RFC_INVALID_HANDLE when it is unknown or already closed. */
DECL_EXP RFC_RC SAP_API RfcCloseConnection(RFC_CONNECTION_HANDLE rfcHandle,
                                           RFC_ERROR_INFO* errorInfo);

/* Sets `*isValid` to 1 while the library holds the connection open, else 0 (it does not ask
 * the partner). */
DECL_EXP RFC_RC SAP_API RfcIsConnectionHandleValid(RFC_CONNECTION_HANDLE rfcHandle, int* isValid,
                                                   RFC_ERROR_INFO* errorInfo);

/* From another thread: ends the call running on the connection and closes it; that call
 * returns RFC_CANCELED. RFC_ILLEGAL_STATE when no call is running. Not in older releases. */
DECL_EXP RFC_RC SAP_API RfcCancel(RFC_CONNECTION_HANDLE rfcHandle, RFC_ERROR_INFO* errorInfo);

/* Calls the function of `funcHandle` with its importing values and fills in what it returns.
 * RFC_OK and RFC_ABAP_EXCEPTION (key: the exception) leave the connection open;
 * RFC_ABAP_MESSAGE, RFC_ABAP_RUNTIME_FAILURE and RFC_COMMUNICATION_FAILURE close it. */
DECL_EXP RFC_RC SAP_API RfcInvoke(RFC_CONNECTION_HANDLE rfcHandle, RFC_FUNCTION_HANDLE funcHandle,
                                  RFC_ERROR_INFO* errorInfo);

/* ---- Interfaces of functions and types ---------------------------------------------------- */

/* The interface of a function of the connected system, read through the connection once and
 * then kept by the library per system (never destroy it). NULL with RFC_NOT_FOUND when the
 * system has no such function. */
DECL_EXP RFC_FUNCTION_DESC_HANDLE SAP_API RfcGetFunctionDesc(RFC_CONNECTION_HANDLE rfcHandle,
                                                             SAP_UC const* funcName,
                                                             RFC_ERROR_INFO* errorInfo);

/* The function's name, into `bufferForName`. */
DECL_EXP RFC_RC SAP_API RfcGetFunctionName(RFC_FUNCTION_DESC_HANDLE funcDesc,
                                           RFC_ABAP_NAME bufferForName, RFC_ERROR_INFO* errorInfo);

DECL_EXP RFC_RC SAP_API RfcGetParameterCount(RFC_FUNCTION_DESC_HANDLE funcDesc, unsigned* count,
                                             RFC_ERROR_INFO* errorInfo);

/* The parameter at `index` (from 0); RFC_INVALID_PARAMETER past the last. */
DECL_EXP RFC_RC SAP_API RfcGetParameterDescByIndex(RFC_FUNCTION_DESC_HANDLE funcDesc,
                                                   unsigned index, RFC_PARAMETER_DESC* paramDesc,
                                                   RFC_ERROR_INFO* errorInfo);

/* The parameter of that name; RFC_INVALID_PARAMETER when there is none. */
DECL_EXP RFC_RC SAP_API RfcGetParameterDescByName(RFC_FUNCTION_DESC_HANDLE funcDesc,
                                                  SAP_UC const* name, RFC_PARAMETER_DESC* paramDesc,
                                                  RFC_ERROR_INFO* errorInfo);

/* The type's name, into `bufferForName`. */
DECL_EXP RFC_RC SAP_API RfcGetTypeName(RFC_TYPE_DESC_HANDLE typeHandle,
                                       RFC_ABAP_NAME bufferForName, RFC_ERROR_INFO* errorInfo);

DECL_EXP RFC_RC SAP_API RfcGetFieldCount(RFC_TYPE_DESC_HANDLE typeHandle, unsigned* count,
                                         RFC_ERROR_INFO* errorInfo);

/* The field at `index` (from 0); RFC_INVALID_PARAMETER past the last. */
DECL_EXP RFC_RC SAP_API RfcGetFieldDescByIndex(RFC_TYPE_DESC_HANDLE typeHandle, unsigned index,
                                               RFC_FIELD_DESC* fieldDescr,
                                               RFC_ERROR_INFO* errorInfo);

/* The field of that name; RFC_INVALID_PARAMETER when there is none. */
DECL_EXP RFC_RC SAP_API RfcGetFieldDescByName(RFC_TYPE_DESC_HANDLE typeHandle, SAP_UC const* name,
                                              RFC_FIELD_DESC* fieldDescr,
                                              RFC_ERROR_INFO* errorInfo);

/* The bytes of the whole type with one-byte and with two-byte characters. */
DECL_EXP RFC_RC SAP_API RfcGetTypeLength(RFC_TYPE_DESC_HANDLE typeHandle,
                                         unsigned* nucByteLength, unsigned* ucByteLength,
                                         RFC_ERROR_INFO* errorInfo);

/* ---- Containers ------------------------------------------------------------------------- */

/* A container for one call of the described function, every value initial. */
DECL_EXP RFC_FUNCTION_HANDLE SAP_API RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE funcDescHandle,
                                                       RFC_ERROR_INFO* errorInfo);

/* Frees the container and every structure, table and row handle taken from it. */
DECL_EXP RFC_RC SAP_API RfcDestroyFunction(RFC_FUNCTION_HANDLE funcHandle,
                                           RFC_ERROR_INFO* errorInfo);

/* The interface the function container was made from. */
DECL_EXP RFC_FUNCTION_DESC_HANDLE SAP_API RfcDescribeFunction(RFC_FUNCTION_HANDLE funcHandle,
                                                              RFC_ERROR_INFO* errorInfo);

/* The type of a structure, table or row container. */
DECL_EXP RFC_TYPE_DESC_HANDLE SAP_API RfcDescribeType(DATA_CONTAINER_HANDLE dataHandle,
                                                      RFC_ERROR_INFO* errorInfo);

/* The structure parameter or field `name` of a container (of a table: of its current row). */
DECL_EXP RFC_RC SAP_API RfcGetStructure(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                        RFC_STRUCTURE_HANDLE* structHandle,
                                        RFC_ERROR_INFO* errorInfo);

/* The table parameter or field `name` of a container. */
DECL_EXP RFC_RC SAP_API RfcGetTable(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                    RFC_TABLE_HANDLE* tableHandle, RFC_ERROR_INFO* errorInfo);

DECL_EXP RFC_RC SAP_API RfcGetRowCount(RFC_TABLE_HANDLE tableHandle, unsigned* rowCount,
                                       RFC_ERROR_INFO* errorInfo);

/* The type of the table's rows. */
DECL_EXP RFC_TYPE_DESC_HANDLE SAP_API RfcGetRowType(RFC_TABLE_HANDLE tableHandle,
                                                    RFC_ERROR_INFO* errorInfo);

/* Table cursor; rows count from 0. MoveTo past the last row: RFC_TABLE_MOVE_EOF. */
DECL_EXP RFC_RC SAP_API RfcMoveTo(RFC_TABLE_HANDLE tableHandle, unsigned index,
                                  RFC_ERROR_INFO* errorInfo);
/* To row 0; on an empty table to "-1" (no row). */
DECL_EXP RFC_RC SAP_API RfcMoveToFirstRow(RFC_TABLE_HANDLE tableHandle, RFC_ERROR_INFO* errorInfo);
/* To the last row; on an empty table to "-1". */
DECL_EXP RFC_RC SAP_API RfcMoveToLastRow(RFC_TABLE_HANDLE tableHandle, RFC_ERROR_INFO* errorInfo);
/* One row on; RFC_TABLE_MOVE_EOF from the last row. */
DECL_EXP RFC_RC SAP_API RfcMoveToNextRow(RFC_TABLE_HANDLE tableHandle, RFC_ERROR_INFO* errorInfo);
/* One row back; RFC_TABLE_MOVE_BOF from the first row. */
DECL_EXP RFC_RC SAP_API RfcMoveToPreviousRow(RFC_TABLE_HANDLE tableHandle,
                                             RFC_ERROR_INFO* errorInfo);

/* The row under the cursor, as a structure handle owned by the table; NULL when the cursor
 * is on no row. */
DECL_EXP RFC_STRUCTURE_HANDLE SAP_API RfcGetCurrentRow(RFC_TABLE_HANDLE tableHandle,
                                                       RFC_ERROR_INFO* errorInfo);

/* Appends an initial row, moves the cursor to it and returns it. */
DECL_EXP RFC_STRUCTURE_HANDLE SAP_API RfcAppendNewRow(RFC_TABLE_HANDLE tableHandle,
                                                      RFC_ERROR_INFO* errorInfo);

DECL_EXP RFC_RC SAP_API RfcDeleteAllRows(RFC_TABLE_HANDLE tableHandle, RFC_ERROR_INFO* errorInfo);

/* The field `name` as text into `bufferLength` characters, padded with blanks and not
 * zero-terminated; numbers are written as text. RFC_BUFFER_TOO_SMALL when the value does
 * not fit. */
DECL_EXP RFC_RC SAP_API RfcGetChars(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                    RFC_CHAR* charBuffer, unsigned bufferLength,
                                    RFC_ERROR_INFO* errorInfo);

/* The field `name` as zero-terminated text. `*stringLength` always receives the length of
 * the whole value (without the zero); RFC_BUFFER_TOO_SMALL when the buffer cannot hold it
 * and the zero. */
DECL_EXP RFC_RC SAP_API RfcGetString(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                     SAP_UC* stringBuffer, unsigned bufferLength,
                                     unsigned* stringLength, RFC_ERROR_INFO* errorInfo);

/* The length of a STRING (characters) or XSTRING (bytes) field. */
DECL_EXP RFC_RC SAP_API RfcGetStringLength(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                           unsigned* stringLength, RFC_ERROR_INFO* errorInfo);

/* The field `name` as an integer; text fields are read as a decimal number. */
DECL_EXP RFC_RC SAP_API RfcGetInt(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                  RFC_INT* value, RFC_ERROR_INFO* errorInfo);

/* Sets the field `name` from `valueLength` characters; a CHAR field is padded with blanks,
 * a value longer than the field is refused. */
DECL_EXP RFC_RC SAP_API RfcSetChars(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                    const RFC_CHAR* charValue, unsigned valueLength,
                                    RFC_ERROR_INFO* errorInfo);

/* Sets the integer field `name`. */
DECL_EXP RFC_RC SAP_API RfcSetInt(DATA_CONTAINER_HANDLE dataHandle, SAP_UC const* name,
                                  const RFC_INT value, RFC_ERROR_INFO* errorInfo);

/* A structure (or the current row of a table) of character fields only, as one run of
 * characters laid out as the ABAP structure, not zero-terminated. RFC_BUFFER_TOO_SMALL when
 * `bufferLength` characters cannot hold it. Not in older releases. */
DECL_EXP RFC_RC SAP_API RfcGetStructureIntoCharBuffer(DATA_CONTAINER_HANDLE dataHandle,
                                                      SAP_UC* charBuffer, unsigned bufferLength,
                                                      RFC_ERROR_INFO* errorInfo);

#ifdef __cplusplus
}
#endif

#endif
