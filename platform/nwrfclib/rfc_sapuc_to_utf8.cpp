// RfcSAPUCToUTF8 and RfcUTF8ToSAPUC: texts between UTF-16 and UTF-8.
#include <cstddef>

#include "companions/companions.h"
#include "error.h"
#include "sapnwrfc.h"

namespace tw::nwrfclib {

namespace {

/*
 * A conversion of `length` units of `input` into `out` of `*size` units (the zero
 * included): `convert(room)` writes as much as `room` units allow and returns the units of
 * the whole text, or (size_t)-1 for an input it cannot read. RFC_BUFFER_TOO_SMALL sets
 * `*size` to the units needed; RFC_OK writes the zero after the text and sets
 * `*result_length`.
 */
template <typename Unit, typename Convert>
RFC_RC convert_text(const void* input, unsigned length, Unit* out, unsigned* size,
                    unsigned* result_length, RFC_ERROR_INFO* info, Convert&& convert) {
  return guarded(info, RFC_UNKNOWN_ERROR, [&]() -> RFC_RC {
    if ((input == nullptr && length != 0) || size == nullptr)
      return report(info, make_error(RFC_INVALID_PARAMETER, EXTERNAL_RUNTIME_FAILURE,
                                     "no input text or no buffer size given"));
    const std::size_t units = convert(out == nullptr || *size == 0 ? 0 : *size - 1);
    if (units == static_cast<std::size_t>(-1))
      return report(info, make_error(RFC_CODEPAGE_CONVERSION_FAILURE, EXTERNAL_RUNTIME_FAILURE,
                                     "the text is no UTF-8"));
    if (units + 1 > *size || out == nullptr) {
      *size = static_cast<unsigned>(units + 1);
      return report(info, make_error(RFC_BUFFER_TOO_SMALL, EXTERNAL_RUNTIME_FAILURE,
                                     "the buffer needs " + std::to_string(units + 1) + " units"));
    }
    out[units] = 0;
    if (result_length != nullptr) *result_length = static_cast<unsigned>(units);
    return succeed(info);
  });
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
  return tw::nwrfclib::convert_text(sapuc, sapucLength, utf8, utf8Size, resultLength, errorInfo,
                                    [&](std::size_t room) {
                                      return tw_sapucum_to_utf8(sapuc, sapucLength, utf8, room);
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
  return tw::nwrfclib::convert_text(utf8, utf8Length, sapuc, sapucSize, resultLength, errorInfo,
                                    [&](std::size_t room) {
                                      return tw_sapucum_from_utf8(utf8, utf8Length, sapuc, room);
                                    });
}
