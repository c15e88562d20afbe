// RfcSAPUCToUTF8 and RfcUTF8ToSAPUC: texts between UTF-16 and UTF-8.
#include <cstddef>

#include "companions/companions.h"
#include "error.h"
#include "sapnwrfc.h"

namespace tw::nwrfclib {

namespace {

/*
 * The checks both conversions share: an input of `length` units needs a pointer, and the
 * size a place.
 */
bool arguments_given(const void* input, unsigned length, const unsigned* size,
                     RFC_ERROR_INFO* info) {
  if ((input == nullptr && length != 0) || size == nullptr) {
    report(info, make_error(RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE,
                            "no input text or no buffer size given"));
    return false;
  }
  return true;
}

/*
 * Ends a conversion that needs `needed` units (the zero included) of a buffer of `*size`:
 * RFC_BUFFER_TOO_SMALL with `*size` set to `needed`, or RFC_OK with the zero written after
 * the text and `*result_length` set.
 */
template <typename Unit>
RFC_RC finish(std::size_t needed, Unit* out, unsigned* size, unsigned* result_length,
              RFC_ERROR_INFO* info) {
  if (needed > *size || out == nullptr) {
    *size = static_cast<unsigned>(needed);
    return report(info, make_error(RFC_BUFFER_TOO_SMALL, EXTERNAL_RUNTIME_FAILURE,
                                   "the buffer needs " + std::to_string(needed) + " units"));
  }
  out[needed - 1] = 0;
  if (result_length != nullptr) *result_length = static_cast<unsigned>(needed - 1);
  return succeed(info);
}

}  // namespace

}  // namespace tw::nwrfclib

/*
 * UTF-16 to UTF-8 (a lone surrogate as U+FFFD), zero-terminated; sizes in bytes.
 * RFC_BUFFER_TOO_SMALL with `*utf8Size` set to the bytes needed, the zero included.
 */
extern "C" RFC_RC SAP_API RfcSAPUCToUTF8(const SAP_UC* sapuc, unsigned sapucLength,
                                         RFC_BYTE* utf8, unsigned* utf8Size,
                                         unsigned* resultLength, RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return guarded(errorInfo, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    if (!arguments_given(sapuc, sapucLength, utf8Size, errorInfo)) return RFC_INVALID_PARAMETER;
    const std::size_t room = utf8 == nullptr || *utf8Size == 0 ? 0 : *utf8Size - 1;
    const std::size_t bytes = tw_sapucum_to_utf8(sapuc, sapucLength, utf8, room);
    return finish(bytes + 1, utf8, utf8Size, resultLength, errorInfo);
  });
}

/*
 * UTF-8 to UTF-16, zero-terminated; sizes in code units. RFC_BUFFER_TOO_SMALL with
 * `*sapucSize` set to the units needed, the zero included; RFC_CODEPAGE_CONVERSION_FAILURE
 * for bytes that are no UTF-8.
 */
extern "C" RFC_RC SAP_API RfcUTF8ToSAPUC(const RFC_BYTE* utf8, unsigned utf8Length,
                                         SAP_UC* sapuc, unsigned* sapucSize,
                                         unsigned* resultLength, RFC_ERROR_INFO* errorInfo) {
  using namespace tw::nwrfclib;
  return guarded(errorInfo, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    if (!arguments_given(utf8, utf8Length, sapucSize, errorInfo)) return RFC_INVALID_PARAMETER;
    const std::size_t room = sapuc == nullptr || *sapucSize == 0 ? 0 : *sapucSize - 1;
    const std::size_t units = tw_sapucum_from_utf8(utf8, utf8Length, sapuc, room);
    if (units == static_cast<std::size_t>(-1))
      return report(errorInfo, make_error(RFC_CODEPAGE_CONVERSION_FAILURE,
                                          EXTERNAL_RUNTIME_FAILURE, "the text is no UTF-8"));
    return finish(units + 1, sapuc, sapucSize, resultLength, errorInfo);
  });
}
