// Helpers of the tests of the classic library: the library's state put back, options
// records for RfcOpen, and those of test_files.h.
#pragma once

#include <string>
#include <utility>

#include "rfclib/test_files.h"
#include "saprfc.h"

namespace tw::testing {

/// RfcOpenEx on a modifiable copy of `text`, as the interface wants it.
inline RFC_HANDLE open_ex(std::string text, RFC_ERROR_INFO_EX* error_info) {
  return RfcOpenEx(text.data(), error_info);
}

/// Closes every connection and drops the environment when a test ends.
struct LibraryReset {
  LibraryReset() = default;
  ~LibraryReset() {
    RfcClose(0);
    RfcEnvironment(nullptr);
  }
  LibraryReset(const LibraryReset&) = delete;
  LibraryReset& operator=(const LibraryReset&) = delete;
};

/// An options record for RfcOpen that owns its texts.
class OpenOptions {
 public:
  OpenOptions(std::string ashost, int sysnr, std::string gwhost, std::string gwservice,
              std::string client, std::string user, std::string password)
      : ashost_(std::move(ashost)), gwhost_(std::move(gwhost)),
        gwservice_(std::move(gwservice)), client_(std::move(client)), user_(std::move(user)),
        password_(std::move(password)) {
    r3_.hostname = ashost_.data();
    r3_.sysnr = sysnr;
    r3_.gateway_host = gwhost_.data();
    r3_.gateway_service = gwservice_.data();
    options_.destination = destination_.data();
    options_.mode = RFC_MODE_R3ONLY;
    options_.connopt = &r3_;
    options_.client = client_.data();
    options_.user = user_.data();
    options_.password = password_.data();
    options_.language = language_.data();
    options_.trace = 0;
  }
  OpenOptions(const OpenOptions&) = delete;
  OpenOptions& operator=(const OpenOptions&) = delete;

  RFC_OPTIONS* get() { return &options_; }

 private:
  std::string ashost_, gwhost_, gwservice_, client_, user_, password_;
  std::string destination_ = "TEST";
  std::string language_ = "E";
  RFC_CONNOPT_R3ONLY r3_{};
  RFC_OPTIONS options_{};
};

/// An error handler that records the operations it was called with.
struct HandlerLog {
  static inline std::string calls;
  static void handler(char* operation) {
    calls += operation;
    calls += ';';
  }
  HandlerLog() {
    calls.clear();
    RFC_ENV environment{&HandlerLog::handler, nullptr};
    RfcEnvironment(&environment);
  }
};

}  // namespace tw::testing
