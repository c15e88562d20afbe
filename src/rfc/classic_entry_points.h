// The twelve classic operations as the RFC steps reach them: bound from the classic library,
// or the bridge's own on the NetWeaver library.
#pragma once

#include "saprfc.h"

namespace tw {

/// One pointer per classic operation; all NULL until a library was loaded whole.
struct ClassicEntryPoints {
  void(SAP_API* environment)(RFC_ENV*);
  RFC_HANDLE(SAP_API* open)(RFC_OPTIONS*);
  RFC_HANDLE(SAP_API* open_ex)(char*, RFC_ERROR_INFO_EX*);
  RFC_RC(SAP_API* install_structure)(char*, RFC_TYPE_ELEMENT*, unsigned, RFC_TYPEHANDLE*);
  RFC_RC(SAP_API* call)(RFC_HANDLE, char*, RFC_PARAMETER*, RFC_TABLE*);
  RFC_RC(SAP_API* receive)(RFC_HANDLE, RFC_PARAMETER*, RFC_TABLE*, char**);
  int(SAP_API* last_error)(RFC_ERROR_INFO*);
  void(SAP_API* close)(RFC_HANDLE);
  ITAB_H(SAP_API* it_create)(char*, unsigned, unsigned, unsigned);
  unsigned(SAP_API* it_fill)(ITAB_H);
  void*(SAP_API* it_get_line)(ITAB_H, unsigned);
  int(SAP_API* it_delete)(ITAB_H);
};

}  // namespace tw
