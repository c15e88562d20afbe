#include "report_error.h"

#include <cstring>

#include "trace.h"

namespace tw::rfclib {

namespace {

/*
 * True when both texts are equal.
 */
bool same(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

/*
 * The status text of RFC_ERROR_INFO for a key.
 */
const char* status_of(const char* key) {
  if (same(key, kKeyHandle)) return "invalid handle";
  if (same(key, kKeyParameter)) return "parameter error";
  if (same(key, kKeyCommunication)) return "communication failure";
  if (same(key, kKeyProtocol)) return "protocol error";
  if (same(key, kKeyLogon)) return "logon failure";
  if (same(key, kKeySystem)) return "system failure";
  if (same(key, kKeyException)) return "exception raised";
  if (same(key, kKeyCall)) return "call failure";
  if (same(key, kKeyResource)) return "memory insufficient";
  return "program error";
}

/*
 * The file name of a path, without its directories.
 */
std::string base_name(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p)
    if (*p == '/' || *p == '\\') name = p + 1;
  return name;
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
 * Keeps the failure as the last error and appends it to the trace file; may throw
 * std::bad_alloc.
 */
void record(const Failure& failure, Where where, ErrorState& s) {
  s.last_error.key = failure.key;
  s.last_error.status = status_of(failure.key);
  s.last_error.message = failure.text;
  s.last_error.intstat = std::string(failure.operation) + " rc=" + std::to_string(failure.rc);
  if (!failure.detail.empty()) s.last_error.intstat += " (" + failure.detail + ")";

  TraceEntry entry;
  entry.text = failure.text;
  entry.detail = failure.detail;
  entry.location = failure.partner.empty() ? "RFC client on local host"
                                           : "partner " + failure.partner;
  entry.operation = failure.operation;
  entry.module = base_name(where.file);
  entry.line = where.line;
  entry.rc = failure.rc;
  append_trace(entry, s.trace);
}

}  // namespace

int group_of(const char* key) {
  if (same(key, kKeyCommunication)) return RFC_ERROR_COMMUNICATION;
  if (same(key, kKeyProtocol)) return RFC_ERROR_PROTOCOL;
  if (same(key, kKeyLogon)) return RFC_ERROR_LOGON_FAILURE;
  if (same(key, kKeyException)) return RFC_ERROR_APPLICATION_EXCEPTION;
  if (same(key, kKeySystem) || same(key, kKeyCall)) return RFC_ERROR_SYSTEM_FAILURE;
  if (same(key, kKeyResource)) return RFC_ERROR_RESOURCE;
  return RFC_ERROR_PROGRAM;
}

RFC_RC report_error(const Failure& failure, Where where, ErrorState& errors) noexcept {
  try {
    record(failure, where, errors);
  } catch (...) {
    // Out of memory while recording: the handler below still learns of the error.
  }
  const RFC_ERROR_HANDLER handler = errors.environment.errorhandler;
  if (handler != nullptr && (failure.call_handler || failure.rc == RFC_MEMORY_INSUFFICIENT)) {
    char operation[64];
    std::strncpy(operation, failure.operation, sizeof operation - 1);
    operation[sizeof operation - 1] = '\0';
    try {
      handler(operation);
    } catch (...) {
      // The handler's own exception must not cross the C API either.
    }
  }
  return failure.rc;
}

int copy_last_error(const LastError& last, RFC_ERROR_INFO* info) {
  if (info == nullptr) return 1;
  copy_field(info->key, sizeof info->key, last.key);
  copy_field(info->status, sizeof info->status, last.status);
  copy_field(info->message, sizeof info->message, last.message);
  copy_field(info->intstat, sizeof info->intstat, last.intstat);
  return last.key.empty() ? 1 : 0;
}

void fill_error_info(RFC_ERROR_INFO_EX* info, const std::string& key, const std::string& message) {
  if (info == nullptr) return;
  info->group = static_cast<RFC_ERROR_GROUP>(group_of(key.c_str()));
  copy_field(info->key, sizeof info->key, key);
  copy_field(info->message, sizeof info->message, message);
}

}  // namespace tw::rfclib
