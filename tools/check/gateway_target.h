// The system that an open will name and the gateway it will go to, as the RFC library
// gets them on either way of opening.
#pragma once

#include <string>

namespace tw::check {

/// The values an open hands the library for finding the gateway.
struct GatewayTarget {
  std::string ashost;     ///< application server host
  int sysnr = 0;          ///< system number
  std::string gwhost;     ///< gateway host; empty: the application server host
  std::string gwservice;  ///< gateway service; empty: 3300 + the system number
  std::string source;     ///< where the values come from, for the lines
};

}  // namespace tw::check
