/* What the interface headers of both RFC libraries (saprfc.h, sapnwrfc.h) share: the
 * calling convention of their operations, and the compile-time checks their layout headers
 * make of every record. */
#ifndef TARNWHEEL_RFC_ABI_H
#define TARNWHEEL_RFC_ABI_H

/* The calling convention of every operation and callback: stdcall on 32-bit Windows, the
 * platform's C convention everywhere else. Callers, the libraries and the callbacks a caller
 * registers all use it. */
#ifndef SAP_API
#if defined(_WIN32) && !defined(_WIN64)
#define SAP_API __stdcall
#else
#define SAP_API
#endif
#endif

#ifdef __cplusplus
#define TW_LAYOUT_ASSERT static_assert
#else
#define TW_LAYOUT_ASSERT _Static_assert
#endif

/* The size or offset on a 32-bit target, or on a 64-bit one. */
#define TW_LAYOUT(bits32, bits64) (sizeof(void*) == 4 ? (bits32) : (bits64))
#define TW_OFFSET(record, field, bits32, bits64) \
  TW_LAYOUT_ASSERT(offsetof(record, field) == TW_LAYOUT(bits32, bits64), #record "." #field)
#define TW_SIZE(record, bits32, bits64) \
  TW_LAYOUT_ASSERT(sizeof(record) == TW_LAYOUT(bits32, bits64), "size of " #record)

#endif
