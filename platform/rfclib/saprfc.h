/* The RFC client library: the classic operations, names and types the sensor is written
 * against. Connections run over TCP to the SAP gateway with Tarnwheel's own wire protocol
 * (docs/wire-protocol.md). Every text passed in is zero-terminated; every text passed out
 * is zero-terminated within the size of its field. */
#ifndef TARNWHEEL_SAPRFC_H
#define TARNWHEEL_SAPRFC_H

#ifdef __cplusplus
extern "C" {
#endif

typedef unsigned int RFC_HANDLE;      /* 0: no connection */
typedef unsigned int RFC_TYPEHANDLE;  /* a type code, or the handle of an installed structure */
typedef void* ITAB_H;                 /* an internal table; NULL: none */
typedef char RFC_CHAR;

/* Results of RfcInstallStructure, RfcCall and RfcReceive. */
typedef enum {
  RFC_OK = 0,
  RFC_FAILURE = 1,
  RFC_EXCEPTION = 2,
  RFC_SYS_EXCEPTION = 3,
  RFC_CALL = 4,
  RFC_INTERNAL_COM = 5,
  RFC_CLOSED = 6,
  RFC_MEMORY_INSUFFICIENT = 11,
  RFC_VERSION_MISMATCH = 12,
  RFC_INVALID_HANDLE = 18,
  RFC_INVALID_PARAMETER = 19,
  RFC_INVALID_PROTOCOL = 22,
  RFC_TIMEOUT = 23
} RFC_RC;

/* Type codes of fields, parameters and table lines. */
enum { TYPC = 0, TYPINT = 8 };

/* Connection kinds of RFC_OPTIONS.mode. */
typedef enum { RFC_MODE_R3ONLY = 0, RFC_MODE_CPIC = 1 } RFC_MODE;

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

/* Everything RfcOpen needs, in this field order. */
typedef struct {
  char* destination;
  RFC_MODE mode;
  void* connopt;  /* RFC_CONNOPT_R3ONLY* or RFC_CONNOPT_CPIC*, by mode */
  char* client;
  char* user;
  char* password;
  char* language;
  int trace;
} RFC_OPTIONS;

/* One element of a structure to install. */
typedef struct {
  char* name;
  unsigned type;
  unsigned length;
  unsigned decimals;
  unsigned reserved; /* 0 */
} RFC_TYPE_ELEMENT;

/* One exporting or importing parameter; a list ends with an entry whose name is NULL. */
typedef struct {
  void* name;
  unsigned nlen;
  unsigned type;
  unsigned leng;
  void* addr;
} RFC_PARAMETER;

typedef enum { RFC_ITMODE_BYREFERENCE = 0, RFC_ITMODE_BYVALUE = 1, RFC_ITMODE_KEEPALIVE = 2 } RFC_ITMODE;

/* One table of a call; a list ends with an entry whose name is NULL. */
typedef struct {
  void* name;
  unsigned nlen;
  unsigned type;
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

/* Groups of RFC_ERROR_INFO_EX.group. */
enum {
  RFC_ERROR_GROUP_PARAMETER = 1,     /* the connection text, the parameter file, an argument */
  RFC_ERROR_GROUP_COMMUNICATION = 2, /* partner not reached, connection lost, timeout, bad frame */
  RFC_ERROR_GROUP_LOGON = 3,         /* name or password rejected */
  RFC_ERROR_GROUP_PARTNER = 4,       /* the partner answered with a fault or an abort */
  RFC_ERROR_GROUP_RESOURCE = 5       /* memory ran out */
};

/* The error record of RfcOpenEx. */
typedef struct {
  int group;
  char key[33];
  char message[513];
} RFC_ERROR_INFO_EX;

/* Called with the name of the failing operation; is not expected to return. */
typedef void (*RFC_ERROR_HANDLER)(char* operation);

/* `allocate` is called like realloc: `old` NULL allocates, `size` 0 frees (the result is
 * then ignored); it returns NULL when memory runs out. The library takes the memory of
 * internal table lines from it. */
typedef struct {
  RFC_ERROR_HANDLER errorhandler;
  void* (*allocate)(void* old, unsigned long size); /* NULL: the library's own */
} RFC_ENV;

/* Registers the error handler (and allocator) for every later operation. */
void RfcEnvironment(RFC_ENV* environment);

/* Opens a connection from options; 0 when the gateway cannot be reached or does not know
 * the system. The logon itself is checked at the first call. */
RFC_HANDLE RfcOpen(RFC_OPTIONS* options);

/* Opens a connection from a text "CLIENT=.. USER=.. PASSWD=.. LANG=.. DEST=..", the
 * destination taken from the parameter file (SapRfc.ini, or the file RFC_INI names);
 * checks the logon at once. 0 on failure, with `error_info` filled when not NULL. */
RFC_HANDLE RfcOpenEx(const char* connect_param, RFC_ERROR_INFO_EX* error_info);

/* Installs a structure of `entries` elements (only the first `entries` of the array). */
RFC_RC RfcInstallStructure(char* name, RFC_TYPE_ELEMENT* elements, unsigned entries,
                           RFC_TYPEHANDLE* type_handle);

/* Sends a call of `function` with its exporting parameters and tables. */
RFC_RC RfcCall(RFC_HANDLE handle, char* function, RFC_PARAMETER* exporting, RFC_TABLE* tables);

/* Receives the answer to the last call: importing parameters and table rows. For
 * RFC_EXCEPTION and RFC_SYS_EXCEPTION `*exception` points to the exception text. */
RFC_RC RfcReceive(RFC_HANDLE handle, RFC_PARAMETER* importing, RFC_TABLE* tables,
                  char** exception);

/* Fills `info` with the last error; returns 0. */
int RfcLastError(RFC_ERROR_INFO* info);

/* Closes a connection; 0 closes every open connection. */
void RfcClose(RFC_HANDLE handle);

/* Internal tables: in memory, lines counted from 1. */
ITAB_H ItCreate(char* name, unsigned line_length, unsigned occurs, unsigned memory);
unsigned ItFill(ITAB_H table);
void* ItGetLine(ITAB_H table, unsigned line);
/* Appends an empty line and returns it (used by the library when receiving rows). */
void* ItAppLine(ITAB_H table);
int ItDelete(ITAB_H table);

#ifdef __cplusplus
}
#endif

#endif
