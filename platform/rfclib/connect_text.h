// The connection text of RfcOpenEx: "CLIENT=c USER=u PASSWD=p LANG=l DEST=d".
#pragma once

#include <string>
#include <string_view>

namespace tw::rfclib {

/// What a connection text names.
struct ConnectText {
  std::string client, user, password, language, destination;
};

/*
 * Parses blank-separated KEY=value words; keys in any letter case, values as written.
 * Unknown keys are ignored. Returns false with `error` set for a word without "=" and when
 * DEST is missing. Error texts never quote a value, since one of them is the password.
 */
bool parse_connect_text(std::string_view text, ConnectText& result, std::string& error);

}  // namespace tw::rfclib
