#include "gateway_address.h"

namespace tw::rfclib {

namespace {

/*
 * True for a non-empty text of decimal digits only.
 */
bool all_digits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

/*
 * True for "sapgwNN" in any letter case, NN two digits.
 */
bool is_sapgw(std::string_view text) {
  if (text.size() != 7 || !all_digits(text.substr(5))) return false;
  for (std::size_t i = 0; i < 5; ++i)
    if ((text[i] | 0x20) != "sapgw"[i]) return false;
  return true;
}

}  // namespace

std::string_view drop_trailing_blanks(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool gateway_port(std::string_view service, int sysnr, std::uint16_t& port, std::string& error,
                  ServiceLookup lookup) {
  service = drop_trailing_blanks(service);
  if (service.empty()) {
    port = static_cast<std::uint16_t>(3300 + sysnr);
    return true;
  }
  if (all_digits(service)) {
    unsigned long value = 0;
    for (char c : service) {
      value = value * 10 + static_cast<unsigned long>(c - '0');
      if (value > 65535) break;
    }
    if (value >= 1 && value <= 65535) {
      port = static_cast<std::uint16_t>(value);
      return true;
    }
  } else if (is_sapgw(service)) {
    port = static_cast<std::uint16_t>(3300 + (service[5] - '0') * 10 + (service[6] - '0'));
    return true;
  } else if (lookup != nullptr && lookup(std::string(service), port)) {
    return true;
  }
  error = "service '" + std::string(service) + "' unknown";
  return false;
}

bool gateway_address(std::string_view ashost, int sysnr, std::string_view gwhost,
                     std::string_view gwservice, GatewayAddress& address, std::string& error,
                     ServiceLookup lookup) {
  gwhost = drop_trailing_blanks(gwhost);
  ashost = drop_trailing_blanks(ashost);
  const std::string_view host = gwhost.empty() ? ashost : gwhost;
  if (host.empty()) {
    error = "no application server host given";
    return false;
  }
  if (!gateway_port(gwservice, sysnr, address.port, error, lookup)) return false;
  address.host = std::string(host);
  return true;
}

}  // namespace tw::rfclib
