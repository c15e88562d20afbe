// Helpers of the tests of the NetWeaver stand-in: texts of its records, logon parameters.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "sapnwrfc.h"
#include "text.h"

namespace tw::nwrfclib::testing {

/// A zero-terminated UTF-16 text of the interface as UTF-8, for messages and comparisons.
inline std::string utf8(const SAP_UC* text) { return to_utf8(text_of(text)); }

/// The logon parameters of RfcOpenConnection, owning their texts.
class Logon {
 public:
  Logon(std::initializer_list<std::pair<std::u16string, std::u16string>> pairs)
      : pairs_(pairs) {
    for (const auto& [name, value] : pairs_) parameters_.push_back({name.c_str(), value.c_str()});
  }
  Logon(const Logon&) = delete;
  Logon& operator=(const Logon&) = delete;

  const RFC_CONNECTION_PARAMETER* data() const { return parameters_.data(); }
  unsigned size() const { return static_cast<unsigned>(parameters_.size()); }
  RFC_CONNECTION_HANDLE open(RFC_ERROR_INFO& info) const {
    return RfcOpenConnection(data(), size(), &info);
  }

 private:
  std::vector<std::pair<std::u16string, std::u16string>> pairs_;
  std::vector<RFC_CONNECTION_PARAMETER> parameters_;
};

}  // namespace tw::nwrfclib::testing
