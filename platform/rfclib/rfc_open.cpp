// RfcOpen: a connection from an options record; the logon is checked at the first call.
#include "api_guard.h"
#include "open_connection.h"
#include "saprfc.h"

namespace tw::rfclib {

namespace {

/*
 * A C text as a string; NULL as the empty one.
 */
std::string text_or_empty(const char* text) { return text == nullptr ? std::string() : text; }

/*
 * The request of an options record, or false with `failure` set when the record cannot
 * name a system.
 */
bool request_of(const RFC_OPTIONS* options, OpenRequest& request, Failure& failure) {
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

}  // namespace

}  // namespace tw::rfclib

/*
 * Connects and sends the logon with check at the first call; 0 when the options name no
 * system, the service is unknown, the gateway is not reached or does not know the system.
 */
extern "C" RFC_HANDLE SAP_API RfcOpen(RFC_OPTIONS* options) {
  using namespace tw::rfclib;
  return guarded("RfcOpen", RFC_HANDLE{0}, [&]() -> RFC_HANDLE {
    OpenRequest request;
    Failure failure;
    if (!request_of(options, request, failure)) {
      report_error(failure, RFC_HERE);
      return 0;
    }
    return open_connection(request, failure);
  });
}
