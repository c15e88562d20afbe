// Helpers of the platform tests: a scratch working directory, environment variables that
// restore themselves, the library's state put back, options records for RfcOpen.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <utility>

#include "saprfc.h"

namespace tw::testing {

/// RfcOpenEx on a modifiable copy of `text`, as the interface wants it.
inline RFC_HANDLE open_ex(std::string text, RFC_ERROR_INFO_EX* error_info) {
  return RfcOpenEx(text.data(), error_info);
}

/// A fresh temporary directory that is the working directory while the object lives.
class ScratchDirectory {
 public:
  ScratchDirectory() : previous_(std::filesystem::current_path()) {
    std::random_device device;
    path_ = std::filesystem::temp_directory_path() /
            ("tarnwheel-rfc-" + std::to_string(device()) + "-" + std::to_string(device()));
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

/// Sets (or, with nullopt, removes) an environment variable until the object ends.
class EnvVar {
 public:
  EnvVar(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    apply(value);
  }
  ~EnvVar() { apply(old_); }
  EnvVar(const EnvVar&) = delete;
  EnvVar& operator=(const EnvVar&) = delete;

 private:
  void apply(const std::optional<std::string>& value) {
    if (value)
      ::setenv(name_.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }
  std::string name_;
  std::optional<std::string> old_;
};

/// The whole content of a file; empty when it is missing.
inline std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void write_file(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
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
