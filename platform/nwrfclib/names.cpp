#include "names.h"

#include <iterator>

namespace tw::nwrfclib {

namespace {

/// The names of the result codes, in the order of their values.
constexpr const SAP_UC* kRcNames[] = {
    u"RFC_OK",
    u"RFC_COMMUNICATION_FAILURE",
    u"RFC_LOGON_FAILURE",
    u"RFC_ABAP_RUNTIME_FAILURE",
    u"RFC_ABAP_MESSAGE",
    u"RFC_ABAP_EXCEPTION",
    u"RFC_CLOSED",
    u"RFC_CANCELED",
    u"RFC_TIMEOUT",
    u"RFC_MEMORY_INSUFFICIENT",
    u"RFC_VERSION_MISMATCH",
    u"RFC_INVALID_PROTOCOL",
    u"RFC_SERIALIZATION_FAILURE",
    u"RFC_INVALID_HANDLE",
    u"RFC_RETRY",
    u"RFC_EXTERNAL_FAILURE",
    u"RFC_EXECUTED",
    u"RFC_NOT_FOUND",
    u"RFC_NOT_SUPPORTED",
    u"RFC_ILLEGAL_STATE",
    u"RFC_INVALID_PARAMETER",
    u"RFC_CODEPAGE_CONVERSION_FAILURE",
    u"RFC_CONVERSION_FAILURE",
    u"RFC_BUFFER_TOO_SMALL",
    u"RFC_TABLE_MOVE_BOF",
    u"RFC_TABLE_MOVE_EOF",
    u"RFC_START_SAPGUI_FAILURE",
    u"RFC_ABAP_CLASS_EXCEPTION",
    u"RFC_UNKNOWN_ERROR",
    u"RFC_AUTHORIZATION_FAILURE",
    u"RFC_AUTHENTICATION_FAILURE",
    u"RFC_CRYPTOLIB_FAILURE",
    u"RFC_IO_FAILURE",
    u"RFC_LOCKING_FAILURE",
};
static_assert(std::size(kRcNames) == _RFC_RC_max_value, "a name for every result code");

/// The names of the type codes from 0 to RFCTYPE_GENERIC_BOX; NULL for the unused codes.
constexpr const SAP_UC* kTypeNames[] = {
    u"RFCTYPE_CHAR",    u"RFCTYPE_DATE",      u"RFCTYPE_BCD",       u"RFCTYPE_TIME",
    u"RFCTYPE_BYTE",    u"RFCTYPE_TABLE",     u"RFCTYPE_NUM",       u"RFCTYPE_FLOAT",
    u"RFCTYPE_INT",     u"RFCTYPE_INT2",      u"RFCTYPE_INT1",      nullptr,
    nullptr,            nullptr,              u"RFCTYPE_NULL",      nullptr,
    u"RFCTYPE_ABAPOBJECT", u"RFCTYPE_STRUCTURE", nullptr,           nullptr,
    nullptr,            nullptr,              nullptr,              u"RFCTYPE_DECF16",
    u"RFCTYPE_DECF34",  nullptr,              nullptr,              nullptr,
    u"RFCTYPE_XMLDATA", u"RFCTYPE_STRING",    u"RFCTYPE_XSTRING",   u"RFCTYPE_INT8",
    u"RFCTYPE_UTCLONG", u"RFCTYPE_UTCSECOND", u"RFCTYPE_UTCMINUTE", u"RFCTYPE_DTDAY",
    u"RFCTYPE_DTWEEK",  u"RFCTYPE_DTMONTH",   u"RFCTYPE_TSECOND",   u"RFCTYPE_TMINUTE",
    u"RFCTYPE_CDAY",    u"RFCTYPE_BOX",       u"RFCTYPE_GENERIC_BOX",
};
static_assert(std::size(kTypeNames) == _RFCTYPE_max_value, "a place for every type code");

/*
 * The entry `index` of a table of names; the empty text beyond it or where it has none.
 */
template <std::size_t size>
const SAP_UC* entry(const SAP_UC* const (&names)[size], unsigned index) {
  return index < size && names[index] != nullptr ? names[index] : u"";
}

}  // namespace

const SAP_UC* rc_name(RFC_RC rc) { return entry(kRcNames, static_cast<unsigned>(rc)); }

const SAP_UC* type_name(RFCTYPE type) { return entry(kTypeNames, static_cast<unsigned>(type)); }

const SAP_UC* direction_name(RFC_DIRECTION direction) {
  switch (direction) {
    case RFC_IMPORT: return u"RFC_IMPORT";
    case RFC_EXPORT: return u"RFC_EXPORT";
    case RFC_CHANGING: return u"RFC_CHANGING";
    case RFC_TABLES: return u"RFC_TABLES";
  }
  return u"";
}


}  // namespace tw::nwrfclib
