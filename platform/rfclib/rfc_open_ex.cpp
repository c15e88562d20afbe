// RfcOpenEx: a connection from a connection text and the parameter file; the logon is
// checked at once.
#include <cstring>

#include "api_guard.h"
#include "connect_text.h"
#include "library_state.h"
#include "open_connection.h"
#include "parameter_file.h"
#include "saprfc.h"
#include "text_util.h"

namespace tw::rfclib {

namespace {

/*
 * The request for a connection text, or false with `failure` set.
 */
bool request_of(const char* connect_param, OpenRequest& request, Failure& failure) {
  failure = {.operation = "RfcOpenEx", .rc = RFC_INVALID_PARAMETER, .key = kKeyParameter};
  ConnectText text;
  if (connect_param == nullptr) {
    failure.text = "no connection text given";
    return false;
  }
  if (!parse_connect_text(connect_param, text, failure.text)) return false;
  const std::string file_name = parameter_file_name();
  std::string file_text;
  if (!read_whole_file(file_name, file_text)) {
    failure.text = "parameter file '" + file_name + "' cannot be read";
    return false;
  }
  const std::optional<Destination> destination = find_destination(file_text, text.destination);
  if (!destination) {
    failure.text = "destination '" + text.destination + "' not found in '" + file_name + "'";
    return false;
  }
  if (destination->type != "A") {
    failure.text = "destination '" + destination->name + "' has TYPE=" + destination->type +
                   "; only TYPE=A is supported";
    return false;
  }
  if (destination->ashost.empty()) {
    failure.text = "destination '" + destination->name + "' has no ASHOST";
    return false;
  }
  request.sysnr = parse_two_digits(destination->sysnr);
  if (request.sysnr < 0) {
    failure.text = "destination '" + destination->name + "' has no valid SYSNR";
    return false;
  }
  request.operation = "RfcOpenEx";
  request.ashost = destination->ashost;
  request.gwhost = destination->gwhost;
  request.gwservice = destination->gwserv;
  request.client = text.client;
  request.user = text.user;
  request.password = text.password;
  request.language = text.language;
  request.check_now = true;
  return true;
}

/*
 * Copies `text` into a field of `size` bytes, cut to fit and zero-terminated.
 */
void copy_field(char* field, std::size_t size, const std::string& text) {
  const std::size_t length = text.size() < size - 1 ? text.size() : size - 1;
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

/*
 * Fills the error record of RfcOpenEx, when there is one, from a failure.
 */
void fill_error_info(RFC_ERROR_INFO_EX* info, const Failure& failure) {
  if (info == nullptr) return;
  info->group = static_cast<RFC_ERROR_GROUP>(group_of(failure.key));
  copy_field(info->key, sizeof info->key, failure.key);
  copy_field(info->message, sizeof info->message, failure.text);
}

}  // namespace

}  // namespace tw::rfclib

/*
 * Reads the connection text and the destination from the parameter file, connects and
 * logs on with the credentials checked at once. 0 on any failure, with `error_info`
 * (when given) filled; an empty key there means no failure.
 */
extern "C" RFC_HANDLE SAP_API RfcOpenEx(char* connect_param, RFC_ERROR_INFO_EX* error_info) {
  using namespace tw::rfclib;
  if (error_info != nullptr) {
    error_info->group = static_cast<RFC_ERROR_GROUP>(0);
    error_info->key[0] = '\0';
    error_info->message[0] = '\0';
  }
  const RFC_HANDLE handle = guarded("RfcOpenEx", RFC_HANDLE{0}, [&]() -> RFC_HANDLE {
    OpenRequest request;
    Failure failure;
    if (!request_of(connect_param, request, failure)) {
      report_error(failure, RFC_HERE);
      fill_error_info(error_info, failure);
      return 0;
    }
    const RFC_HANDLE handle = open_connection(request, failure);
    if (handle == 0) fill_error_info(error_info, failure);
    return handle;
  });
  if (handle == 0 && error_info != nullptr && error_info->key[0] == '\0') {
    // Ended by an exception: the guard reported it as the last error.
    const LastError& last = state().last_error;
    error_info->group = static_cast<RFC_ERROR_GROUP>(group_of(last.key.c_str()));
    copy_field(error_info->key, sizeof error_info->key, last.key);
    copy_field(error_info->message, sizeof error_info->message, last.message);
  }
  return handle;
}
