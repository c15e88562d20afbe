// Opening and closing NetWeaver connections.
#include "os/windows_1252.h"
#include "rfc/nw/nw_api.h"

namespace tw::nw {

NwConnection nw_open(const NwApi& api,
                     const std::vector<std::pair<std::string, std::string>>& parameters,
                     NwError& error) {
  std::vector<std::u16string> texts;
  texts.reserve(parameters.size() * 2);
  for (const auto& [name, value] : parameters) {
    texts.push_back(utf16_of_windows_1252(name));
    texts.push_back(utf16_of_windows_1252(value));
  }
  std::vector<RFC_CONNECTION_PARAMETER> list;
  for (std::size_t i = 0; i < texts.size(); i += 2) {
    list.push_back({texts[i].c_str(), texts[i + 1].c_str()});
  }
  RFC_ERROR_INFO info{};
  const RFC_CONNECTION_HANDLE connection =
      api.open_connection(list.data(), static_cast<unsigned>(list.size()), &info);
  if (connection == nullptr) no_handle(info, error);
  return connection;
}

void nw_close(const NwApi& api, NwConnection connection) {
  if (connection == nullptr) return;
  RFC_ERROR_INFO info{};
  api.close_connection(static_cast<RFC_CONNECTION_HANDLE>(connection), &info);
}

}  // namespace tw::nw
