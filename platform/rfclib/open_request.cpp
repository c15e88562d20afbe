#include "open_request.h"

#include "api_guard.h"
#include "connect_text.h"
#include "parameter_file.h"
#include "text_util.h"

namespace tw::rfclib {

namespace {

/*
 * A C text as a string; NULL as the empty one.
 */
std::string text_or_empty(const char* text) { return text == nullptr ? std::string() : text; }

/*
 * Takes the system of a TYPE=A destination; false with `failure.text` set when it names none.
 */
bool take_application_server(const Destination& destination, OpenRequest& request,
                             Failure& failure) {
  if (destination.ashost.empty()) {
    failure.text = "destination '" + destination.name + "' has no ASHOST";
    return false;
  }
  request.sysnr = parse_two_digits(destination.sysnr);
  if (request.sysnr < 0) {
    failure.text = "destination '" + destination.name + "' has no valid SYSNR";
    return false;
  }
  request.ashost = destination.ashost;
  request.gwhost = destination.gwhost;
  request.gwservice = destination.gwserv;
  return true;
}

}  // namespace

bool request_from_options(const RFC_OPTIONS* options, OpenRequest& request, Failure& failure) {
  failure = {.operation = "RfcOpen", .rc = RFC_INVALID_PARAMETER, .key = kKeyParameter};
  if (options == nullptr || options->connopt == nullptr) {
    failure.text = "no connection options given";
    return false;
  }
  if (options->mode != RFC_MODE_R3ONLY) {
    failure.text = "only R/3 connections (RFC_MODE_R3ONLY) are supported";
    return false;
  }
  const auto* r3 = static_cast<const RFC_CONNOPT_R3ONLY*>(options->connopt);
  if (r3->sysnr < 0 || r3->sysnr > 99) {
    failure.text = "system number " + std::to_string(r3->sysnr) + " is not 0 to 99";
    return false;
  }
  request.operation = "RfcOpen";
  request.ashost = text_or_empty(r3->hostname);
  request.sysnr = r3->sysnr;
  request.gwhost = text_or_empty(r3->gateway_host);
  request.gwservice = text_or_empty(r3->gateway_service);
  request.client = text_or_empty(options->client);
  request.user = text_or_empty(options->user);
  request.password = text_or_empty(options->password);
  request.language = text_or_empty(options->language);
  request.check_now = false;
  return true;
}

bool request_from_connect_text(const char* connect_param, bool load_balancing_supported,
                               OpenRequest& request, Failure& failure) {
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
  const bool balanced = load_balancing_supported && destination->type == "B";
  if (destination->type != "A" && !balanced) {
    failure.text = "destination '" + destination->name + "' has TYPE=" + destination->type +
                   (load_balancing_supported ? "; only TYPE=A and TYPE=B are supported"
                                             : "; only TYPE=A is supported");
    return false;
  }
  if (balanced) {
    if (destination->mshost.empty()) {
      failure.text = "destination '" + destination->name + "' has no MSHOST";
      return false;
    }
    request.load_balancing = true;
    request.mshost = destination->mshost;
    request.msserv = destination->msserv;
    request.r3name = destination->r3name;
    request.group = destination->group;
  } else if (!take_application_server(*destination, request, failure)) {
    return false;
  }
  request.operation = "RfcOpenEx";
  request.client = text.client;
  request.user = text.user;
  request.password = text.password;
  request.language = text.language;
  request.check_now = true;
  return true;
}

RFC_HANDLE open_from_options(ErrorState& errors, const RFC_OPTIONS* options, Opener open) {
  return guarded(errors, "RfcOpen", RFC_HANDLE{0}, [&]() -> RFC_HANDLE {
    OpenRequest request;
    Failure failure;
    if (!request_from_options(options, request, failure)) {
      report_error(failure, RFC_HERE, errors);
      return 0;
    }
    return open(request, failure);
  });
}

RFC_HANDLE open_from_connect_text(ErrorState& errors, const char* connect_param,
                                  RFC_ERROR_INFO_EX* error_info, bool load_balancing_supported,
                                  Opener open) {
  if (error_info != nullptr) {
    error_info->group = static_cast<RFC_ERROR_GROUP>(0);
    error_info->key[0] = '\0';
    error_info->message[0] = '\0';
  }
  const RFC_HANDLE handle = guarded(errors, "RfcOpenEx", RFC_HANDLE{0}, [&]() -> RFC_HANDLE {
    OpenRequest request;
    Failure failure;
    if (!request_from_connect_text(connect_param, load_balancing_supported, request, failure)) {
      report_error(failure, RFC_HERE, errors);
      fill_error_info(error_info, failure.key, failure.text);
      return 0;
    }
    const RFC_HANDLE handle = open(request, failure);
    if (handle == 0) fill_error_info(error_info, failure.key, failure.text);
    return handle;
  });
  if (handle == 0 && error_info != nullptr && error_info->key[0] == '\0') {
    // Ended by an exception: the guard reported it as the last error.
    fill_error_info(error_info, errors.last_error.key, errors.last_error.message);
  }
  return handle;
}

}  // namespace tw::rfclib
