#include "error.h"

#include <iterator>

#include "names.h"
#include "text.h"

namespace tw::nwrfclib {

Error make_error(RFC_RC code, RFC_ERROR_GROUP group, std::string_view message) {
  return {.code = code, .group = group, .message = from_bytes(message)};
}

RFC_RC report(RFC_ERROR_INFO* info, const Error& error) {
  if (info == nullptr) return error.code;
  *info = RFC_ERROR_INFO{};
  info->code = error.code;
  info->group = error.group;
  copy_text(info->key, std::size(info->key), error.key.empty() ? rc_name(error.code) : error.key);
  copy_text(info->message, std::size(info->message), error.message);
  copy_text(info->abapMsgClass, std::size(info->abapMsgClass), error.abap_class);
  copy_text(info->abapMsgType, std::size(info->abapMsgType), error.abap_type);
  copy_text(info->abapMsgNumber, std::size(info->abapMsgNumber), error.abap_number);
  copy_text(info->abapMsgV1, std::size(info->abapMsgV1), error.abap_v1);
  return error.code;
}

RFC_RC succeed(RFC_ERROR_INFO* info) {
  if (info == nullptr) return RFC_OK;
  // Every call ends here on success: empty texts, not a cleared record of 1.7 KB.
  info->code = RFC_OK;
  info->group = OK;
  for (SAP_UC* text : {info->key, info->message, info->abapMsgClass, info->abapMsgType,
                       info->abapMsgNumber, info->abapMsgV1, info->abapMsgV2, info->abapMsgV3,
                       info->abapMsgV4}) {
    text[0] = u'\0';
  }
  return RFC_OK;
}

}  // namespace tw::nwrfclib
