/* Internal tables of the classic RFC client interface: rows of a fixed length, counted
 * from 1. The calling convention is the one of saprfc.h. */
#ifndef TARNWHEEL_SAPITAB_H
#define TARNWHEEL_SAPITAB_H

#include "tw_rfc_abi.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifndef TARNWHEEL_ITAB_H_TYPE
#define TARNWHEEL_ITAB_H_TYPE
typedef void* ITAB_H; /* an internal table; NULL: none */
#endif

/* Creates an empty table of rows of `line_length` bytes; `occurs` rows are reserved at the
 * first append, `memory` is unused (0). NULL when memory runs out. */
ITAB_H SAP_API ItCreate(char* name, unsigned line_length, unsigned occurs, unsigned memory);

/* The number of rows. */
unsigned SAP_API ItFill(ITAB_H table);

/* Row `line` (from 1), read only; NULL when there is no such row. */
void* SAP_API ItGetLine(ITAB_H table, unsigned line);

/* Frees the table and its rows; the handle is gone afterwards. 0 on success. */
int SAP_API ItDelete(ITAB_H table);

#ifdef __cplusplus
}
#endif

#endif
