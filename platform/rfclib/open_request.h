// What an open asks for, read from RfcOpen's options or from RfcOpenEx's connection text and
// the parameter file, with the failures of the classic library for what it cannot use.
#pragma once

#include <string>

#include "gateway_logon.h"
#include "report_error.h"
#include "saprfc.h"

namespace tw::rfclib {

/// Everything needed to open a connection.
struct OpenRequest : LogonRequest {
  const char* operation = "RfcOpen";
  /// A destination of TYPE=B: the message server picks the application server.
  bool load_balancing = false;
  std::string mshost, msserv, r3name, group;
};

/*
 * The request of RfcOpen's options, or false with `failure` set (RFC_INVALID_PARAMETER)
 * when the record cannot name a system: no options, no R/3 connection, a system number
 * outside 0 to 99. Texts are taken as given, padding included.
 */
bool request_from_options(const RFC_OPTIONS* options, OpenRequest& request, Failure& failure);

/*
 * The request of RfcOpenEx: the connection text, and its destination read from the
 * parameter file (parameter_file_name()). False with `failure` set (RFC_INVALID_PARAMETER)
 * for a text that does not parse, a file that cannot be read, a destination it lacks, and
 * one that names no system. A destination of TYPE=B is taken only with
 * `load_balancing_supported`; it needs MSHOST.
 */
bool request_from_connect_text(const char* connect_param, bool load_balancing_supported,
                               OpenRequest& request, Failure& failure);

/// Opens the connection of a request: the new handle, or 0 with the failure reported into
/// the caller's error state and copied into `failure`.
using Opener = RFC_HANDLE (*)(const OpenRequest& request, Failure& failure);

/*
 * RfcOpen with the error state `errors`: the request of `options` (a refused one reported),
 * opened by `open`.
 */
RFC_HANDLE open_from_options(ErrorState& errors, const RFC_OPTIONS* options, Opener open);

/*
 * RfcOpenEx with the error state `errors`: the request of the connection text (a refused
 * one reported), opened by `open`. 0 on any failure, with `error_info` (when given) filled;
 * an empty key there means no failure.
 */
RFC_HANDLE open_from_connect_text(ErrorState& errors, const char* connect_param,
                                  RFC_ERROR_INFO_EX* error_info, bool load_balancing_supported,
                                  Opener open);

}  // namespace tw::rfclib
