/* The classic RFC client interface, non-Unicode: types, records and the operations the
 * sensor calls, with the binary layout and calling convention of SAP's classic RFC library,
 * so that either that library or Tarnwheel's stand-in can be loaded under the same names.
 * The internal tables are declared in sapitab.h.
 *
 * Every text passed in is zero-terminated; every text passed out is zero-terminated within
 * the size of its field. The stand-in speaks Tarnwheel's own wire protocol
 * (docs/wire-protocol.md), to the simulated SAP side only. */
#ifndef TARNWHEEL_SAPRFC_H
#define TARNWHEEL_SAPRFC_H

/* SAP_API, the calling convention of every operation and of both callbacks of RFC_ENV. */
#include "tw_rfc_abi.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned RFC_HANDLE;      /* a connection; 0: none */
typedef unsigned RFC_TYPEHANDLE;  /* a type code, or the handle of an installed structure */
#ifndef TARNWHEEL_ITAB_H_TYPE
#define TARNWHEEL_ITAB_H_TYPE
typedef void* ITAB_H; /* an internal table; NULL: none */
#endif
typedef char RFC_CHAR;
typedef char rfc_char_t;

#define RFC_HANDLE_NULL 0u

/* Results of the operations, 0 to 23. */
typedef enum {
  RFC_OK = 0,
  RFC_FAILURE = 1,
  RFC_EXCEPTION = 2,
  RFC_SYS_EXCEPTION = 3,
  RFC_CALL = 4,
  RFC_INTERNAL_COM = 5,
  RFC_CLOSED = 6,
  RFC_RETRY = 7,
  RFC_NO_TID = 8,
  RFC_EXECUTED = 9,
  RFC_SYNCHRONIZE = 10,
  RFC_MEMORY_INSUFFICIENT = 11,
  RFC_VERSION_MISMATCH = 12,
  RFC_NOT_FOUND = 13,
  RFC_CALL_NOT_SUPPORTED = 14,
  RFC_NOT_OWNER = 15,
  RFC_NOT_INITIALIZED = 16,
  RFC_SYSTEM_CALLED = 17,
  RFC_INVALID_HANDLE = 18,
  RFC_INVALID_PARAMETER = 19,
  RFC_CANCELED = 20,
  RFC_CONVERSION = 21,
  RFC_INVALID_PROTOCOL = 22,
  RFC_TIMEOUT = 23
} RFC_RC;

/* Type codes of fields, parameters and table lines (the ones used here). */
#define TYPC 0
#define TYPINT 8

/* Connection kinds of RFC_OPTIONS.mode; there is no kind 2. */
typedef enum {
  RFC_MODE_R3ONLY = 0,    /* connopt: RFC_CONNOPT_R3ONLY */
  RFC_MODE_CPIC = 1,      /* R/2; connopt: RFC_CONNOPT_CPIC */
  RFC_MODE_VERSION_3 = 3, /* connopt: a record of later releases, not used here */
  RFC_MODE_PARAMETER = 4  /* everything from the parameter file; connopt NULL */
} RFC_MODE;

/* Connection details of an R/3 connection. A NULL text means "no value". */
typedef struct {
  char* hostname;         /* application server host */
  int sysnr;              /* system number */
  char* gateway_host;     /* NULL: the application server host */
  char* gateway_service;  /* NULL: sapgwNN with NN the system number */
} RFC_CONNOPT_R3ONLY;

/* Connection details of a CPI-C (R/2) connection. */
typedef struct {
  char* gateway_host;
  char* gateway_service;
} RFC_CONNOPT_CPIC;

/* Everything RfcOpen needs, in this field order; zero-filled before use. */
typedef struct {
  char* destination;
  RFC_MODE mode;
  void* connopt; /* the details record of `mode` */
  char* client;
  char* user;
  char* password;
  char* language;
  int trace;
} RFC_OPTIONS;

/* One element of a structure to install; elements lie one after the other. */
typedef struct {
  char* name;
  RFC_TYPEHANDLE type;
  unsigned length;
  unsigned decimals;
  unsigned not_used; /* 0 */
} RFC_TYPE_ELEMENT;

/* One exporting or importing parameter; a list ends with an entry whose name is NULL. */
typedef struct {
  void* name;
  unsigned nlen;
  RFC_TYPEHANDLE type;
  unsigned leng;
  void* addr;
} RFC_PARAMETER;

typedef enum {
  RFC_ITMODE_BYREFERENCE = 0,
  RFC_ITMODE_BYVALUE = 1,
  RFC_ITMODE_KEEPALIVE = 2
} RFC_ITMODE;

/* One table of a call; a list ends with an entry whose name is NULL. */
typedef struct {
  void* name;
  unsigned nlen;
  RFC_TYPEHANDLE type;
  unsigned leng;
  ITAB_H ithandle;
  RFC_ITMODE itmode;
  int newitab;
} RFC_TABLE;

/* What the library knows of its last error. */
typedef struct {
  char key[33];
  char status[128];
  char message[256];
  char intstat[128];
} RFC_ERROR_INFO;

/* Kinds of error of RFC_ERROR_INFO_EX.group. */
typedef enum {
  RFC_ERROR_PROGRAM = 101,               /* a wrong argument, the connection text, the parameter file */
  RFC_ERROR_COMMUNICATION = 102,         /* partner not reached, connection lost, timeout */
  RFC_ERROR_LOGON_FAILURE = 103,         /* name or password rejected */
  RFC_ERROR_SYSTEM_FAILURE = 104,        /* the partner failed or aborted */
  RFC_ERROR_APPLICATION_EXCEPTION = 105, /* the function raised an exception */
  RFC_ERROR_RESOURCE = 106,              /* memory ran out */
  RFC_ERROR_PROTOCOL = 107,              /* a frame the protocol does not allow */
  RFC_ERROR_INTERNAL = 108,
  RFC_ERROR_CANCELLED = 109,
  RFC_ERROR_BUSY = 110
} RFC_ERROR_GROUP;

/* The error record of RfcOpenEx. */
typedef struct {
  RFC_ERROR_GROUP group;
  char key[33];
  char message[513];
} RFC_ERROR_INFO_EX;

/* Called with the name of the failing operation; is not expected to return. */
typedef void(SAP_API* RFC_ERROR_HANDLER)(char* operation);

/* Called like realloc: `old` NULL allocates, `size` 0 frees (the result is then ignored);
 * NULL when memory runs out. */
typedef void*(SAP_API* RFC_ALLOCATE)(void* old, unsigned long size);

/* The error handler first, then the allocator (NULL: the library's own). */
typedef struct {
  RFC_ERROR_HANDLER errorhandler;
  RFC_ALLOCATE allocate;
} RFC_ENV;

/* Registers the error handler and allocator for every later operation. */
void SAP_API RfcEnvironment(RFC_ENV* environment);

/* Opens a connection from options; RFC_HANDLE_NULL when the gateway cannot be reached or
 * does not know the system. The logon itself is checked at the first call. */
RFC_HANDLE SAP_API RfcOpen(RFC_OPTIONS* options);

/* Opens a connection from a text of blank-separated KEY=value words ("CLIENT=.. USER=..
 * PASSWD=.. LANG=.. DEST=.."; a value with blanks in double quotes), the destination taken
 * from the parameter file (SapRfc.ini, or the file RFC_INI names); checks the logon at
 * once. RFC_HANDLE_NULL on failure, with `error_info` filled when not NULL. */
RFC_HANDLE SAP_API RfcOpenEx(char* connect_param, RFC_ERROR_INFO_EX* error_info);

/* Installs a structure of `entries` elements. Installing a name again gives the handle
 * installed before. */
RFC_RC SAP_API RfcInstallStructure(char* name, RFC_TYPE_ELEMENT* elements, unsigned entries,
                                   RFC_TYPEHANDLE* type_handle);

/* Sends a call of `function` with its exporting parameters and tables. */
RFC_RC SAP_API RfcCall(RFC_HANDLE handle, char* function, RFC_PARAMETER* exporting,
                       RFC_TABLE* tables);

/* Receives the answer to the last call: importing parameters and table rows. Only for
 * RFC_EXCEPTION and RFC_SYS_EXCEPTION is `*exception` set, to the exception's name
 * ("SYSTEM_FAILURE" or "COMMUNICATION_FAILURE" for a system exception, after which the
 * connection is closed); the error text is in RfcLastError and the trace file. */
RFC_RC SAP_API RfcReceive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables,
                          char** exception);

/* Fills `info` with the last error and returns 0; returns 1 when there is none. */
int SAP_API RfcLastError(RFC_ERROR_INFO* info);

/* Closes a connection; RFC_HANDLE_NULL closes every open connection. */
void SAP_API RfcClose(RFC_HANDLE handle);

#ifdef __cplusplus
}
#endif

#include "sapitab.h"

#endif
