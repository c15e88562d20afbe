/* nwrfc-client: a small client of the NetWeaver RFC interface, written against that
 * interface alone (sapnwrfc.h), so that it runs with SAP's library as with Tarnwheel's
 * stand-in.
 *
 *   nwrfc-client NAME=VALUE... [FUNCTION...]
 *
 * Opens a connection with the logon parameters given (ASHOST=sapprd SYSNR=00 GWHOST=...
 * GWSERV=... CLIENT=... USER=... PASSWD=... LANG=E), then for each function
 * (RFC_SYSTEM_INFO and ADA_LOG_STATISTICS when none is named) looks up its interface,
 * describes its parameters and the fields of their types, calls it and prints a few fields
 * and every table row; closes the connection. A failure prints its code, group, key and
 * message (of a network block only the ERROR and DETAIL lines). Exit status: 0 when all
 * went well, 1 after a failure, 2 for a wrong command line. */
#include <stdio.h>
#include <string.h>

#include "sapnwrfc.h"

#define MAX_PARAMETERS 32
#define MAX_TEXT 256

/* Writes `length` units of a UTF-16 text as UTF-8, without its trailing blanks. */
static void put_text(const SAP_UC* text, unsigned length) {
  RFC_BYTE utf8[4 * MAX_TEXT + 1];
  unsigned size = sizeof utf8, written = 0;
  RFC_ERROR_INFO info;
  while (length > 0 && text[length - 1] == u' ') --length;
  if (length > MAX_TEXT) length = MAX_TEXT;
  if (RfcSAPUCToUTF8(text, length, utf8, &size, &written, &info) == RFC_OK)
    fwrite(utf8, 1, written, stdout);
}

/* Writes a zero-terminated UTF-16 text as UTF-8. */
static void put_zero_terminated(const SAP_UC* text) {
  unsigned length = 0;
  while (text[length] != 0) ++length;
  put_text(text, length);
}

/* Converts a UTF-8 argument to UTF-16 into `out` (MAX_TEXT + 1 units); 0 when it does not
 * fit or is no UTF-8. */
static int from_argument(const char* argument, size_t length, SAP_UC* out) {
  unsigned size = MAX_TEXT + 1, written = 0;
  RFC_ERROR_INFO info;
  return RfcUTF8ToSAPUC((const RFC_BYTE*)argument, (unsigned)length, out, &size, &written,
                        &info) == RFC_OK;
}

/* Prints the failure of `operation` on `what`; returns 1. */
static int failed(const char* operation, const char* what, const RFC_ERROR_INFO* info) {
  const SAP_UC* line = info->message;
  printf("%s%s%s: ", operation, what[0] != 0 ? " " : "", what);
  put_zero_terminated(RfcGetRcAsString(info->code));
  printf(" (group %d), key ", (int)info->group);
  put_zero_terminated(info->key);
  printf("\n");
  while (*line != 0) {
    const SAP_UC* end = line;
    unsigned length;
    while (*end != 0 && *end != u'\n') ++end;
    length = (unsigned)(end - line);
    /* A message that begins with a line feed is a network block of "KEY value" lines. */
    if (length > 0 && (info->message[0] != u'\n' ||
                       (length > 5 && memcmp(line, u"ERROR", 5 * sizeof(SAP_UC)) == 0) ||
                       (length > 6 && memcmp(line, u"DETAIL", 6 * sizeof(SAP_UC)) == 0))) {
      printf("  ");
      put_text(line, length);
      printf("\n");
    }
    line = *end == 0 ? end : end + 1;
  }
  return 1;
}

/* Prints the parameters of an interface and the fields of their structures and tables. */
static void describe(RFC_FUNCTION_DESC_HANDLE desc) {
  unsigned count = 0, i, k;
  RFC_ERROR_INFO info;
  RfcGetParameterCount(desc, &count, &info);
  for (i = 0; i < count; ++i) {
    RFC_PARAMETER_DESC parameter;
    unsigned fields = 0, nuc = 0, uc = 0;
    RFC_ABAP_NAME type_name;
    if (RfcGetParameterDescByIndex(desc, i, &parameter, &info) != RFC_OK) continue;
    printf("  ");
    put_zero_terminated(parameter.name);
    printf(" ");
    put_zero_terminated(RfcGetDirectionAsString(parameter.direction));
    printf(" ");
    put_zero_terminated(RfcGetTypeAsString(parameter.type));
    printf(" %u/%u bytes\n", parameter.nucLength, parameter.ucLength);
    if (parameter.typeDescHandle == NULL) continue;
    RfcGetTypeName(parameter.typeDescHandle, type_name, &info);
    RfcGetFieldCount(parameter.typeDescHandle, &fields, &info);
    RfcGetTypeLength(parameter.typeDescHandle, &nuc, &uc, &info);
    printf("    type ");
    put_zero_terminated(type_name);
    printf(", %u fields, %u/%u bytes\n", fields, nuc, uc);
    for (k = 0; k < fields; ++k) {
      RFC_FIELD_DESC field;
      if (RfcGetFieldDescByIndex(parameter.typeDescHandle, k, &field, &info) != RFC_OK) continue;
      printf("    ");
      put_zero_terminated(field.name);
      printf(" ");
      put_zero_terminated(RfcGetTypeAsString(field.type));
      printf(" at %u, %u bytes\n", field.nucOffset, field.nucLength);
    }
  }
}

/* Prints the character field `name` of a container: "  LABEL: value". */
static void print_chars(DATA_CONTAINER_HANDLE container, const SAP_UC* name, const char* label) {
  SAP_UC buffer[MAX_TEXT];
  RFC_ERROR_INFO info;
  printf("  %s: ", label);
  if (RfcGetChars(container, name, buffer, MAX_TEXT, &info) == RFC_OK)
    put_text(buffer, MAX_TEXT);
  else
    put_zero_terminated(RfcGetRcAsString(info.code));
  printf("\n");
}

/* Prints what a call brought back: a few fields of RFCSI_EXPORT and the resources, and the
 * rows of every table parameter. */
static int print_results(RFC_FUNCTION_DESC_HANDLE desc, RFC_FUNCTION_HANDLE call) {
  RFC_ERROR_INFO info;
  RFC_STRUCTURE_HANDLE rfcsi;
  RFC_INT resources = 0;
  unsigned count = 0, i;
  if (RfcGetStructure(call, u"RFCSI_EXPORT", &rfcsi, &info) == RFC_OK) {
    print_chars(rfcsi, u"RFCSYSID", "system");
    print_chars(rfcsi, u"RFCHOST", "host");
    print_chars(rfcsi, u"RFCDBSYS", "database");
    print_chars(rfcsi, u"RFCIPV6ADDR", "IPv6 address");
  }
  if (RfcGetInt(call, u"CURRENT_RESOURCES", &resources, &info) == RFC_OK)
    printf("  resources: %d\n", (int)resources);
  RfcGetParameterCount(desc, &count, &info);
  for (i = 0; i < count; ++i) {
    RFC_PARAMETER_DESC parameter;
    RFC_TABLE_HANDLE table;
    unsigned rows = 0, row;
    if (RfcGetParameterDescByIndex(desc, i, &parameter, &info) != RFC_OK ||
        parameter.type != RFCTYPE_TABLE ||
        RfcGetTable(call, parameter.name, &table, &info) != RFC_OK)
      continue;
    RfcGetRowCount(table, &rows, &info);
    printf("  ");
    put_zero_terminated(parameter.name);
    printf(": %u rows\n", rows);
    for (row = 0; row < rows; ++row) {
      SAP_UC r1[40], r2[26];
      if (RfcMoveTo(table, row, &info) != RFC_OK) return failed("RfcMoveTo", "", &info);
      if (RfcGetChars(table, u"R1", r1, 40, &info) != RFC_OK ||
          RfcGetChars(table, u"R2", r2, 26, &info) != RFC_OK)
        return failed("RfcGetChars", "", &info);
      printf("    ");
      put_text(r1, 40);
      printf(" | ");
      put_text(r2, 26);
      printf("\n");
    }
  }
  return 0;
}

/* Looks up, describes, calls and prints one function; returns 1 after a failure. */
static int run_function(RFC_CONNECTION_HANDLE connection, const char* name) {
  SAP_UC function_name[MAX_TEXT + 1];
  RFC_ERROR_INFO info;
  RFC_FUNCTION_DESC_HANDLE desc;
  RFC_FUNCTION_HANDLE call;
  int status;
  if (!from_argument(name, strlen(name), function_name)) return 2;
  desc = RfcGetFunctionDesc(connection, function_name, &info);
  if (desc == NULL) return failed("RfcGetFunctionDesc", name, &info);
  printf("%s\n", name);
  describe(desc);
  call = RfcCreateFunction(desc, &info);
  if (call == NULL) return failed("RfcCreateFunction", name, &info);
  status = RfcInvoke(connection, call, &info) == RFC_OK ? print_results(desc, call)
                                                         : failed("RfcInvoke", name, &info);
  RfcDestroyFunction(call, &info);
  return status;
}

int main(int argc, char** argv) {
  static SAP_UC names[MAX_PARAMETERS][MAX_TEXT + 1], values[MAX_PARAMETERS][MAX_TEXT + 1];
  RFC_CONNECTION_PARAMETER parameters[MAX_PARAMETERS];
  const char* functions[MAX_PARAMETERS];
  unsigned count = 0, function_count = 0, major = 0, minor = 0, patch = 0, i;
  RFC_ERROR_INFO info;
  RFC_CONNECTION_HANDLE connection;
  int status = 0;
  const SAP_UC* version = RfcGetVersion(&major, &minor, &patch);

  for (i = 1; i < (unsigned)argc; ++i) {
    const char* equals = strchr(argv[i], '=');
    if (equals == NULL && function_count < MAX_PARAMETERS) {
      functions[function_count++] = argv[i];
      continue;
    }
    if (equals == NULL || count == MAX_PARAMETERS ||
        !from_argument(argv[i], (size_t)(equals - argv[i]), names[count]) ||
        !from_argument(equals + 1, strlen(equals + 1), values[count])) {
      fprintf(stderr, "usage: nwrfc-client NAME=VALUE... [FUNCTION...]\n");
      return 2;
    }
    parameters[count].name = names[count];
    parameters[count].value = values[count];
    ++count;
  }
  if (function_count == 0) {
    functions[function_count++] = "RFC_SYSTEM_INFO";
    functions[function_count++] = "ADA_LOG_STATISTICS";
  }
  printf("library ");
  put_zero_terminated(version);
  printf(" (%u.%u.%u)\n", major, minor, patch);

  connection = RfcOpenConnection(parameters, count, &info);
  if (connection == NULL) return failed("RfcOpenConnection", "", &info);
  for (i = 0; i < function_count; ++i)
    if (run_function(connection, functions[i]) != 0) status = 1;
  if (RfcCloseConnection(connection, &info) != RFC_OK)
    status = failed("RfcCloseConnection", "", &info);
  else
    printf("closed\n");
  return status;
}
