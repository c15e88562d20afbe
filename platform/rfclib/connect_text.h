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
 * Parses blank-separated KEY=value words; keys in any letter case, values as written. A
 * value in double quotes runs to the next double quote, blanks included, and is taken
 * without its quotes. Unknown keys are ignored. Returns false with `error` set for a word
 * without "=", a quoted value without its closing quote or followed by more than a blank,
 * a double quote inside an unquoted value, and when DEST is missing. Error texts never
 * quote a value, since one of them is the password.
 */
bool parse_connect_text(std::string_view text, ConnectText& result, std::string& error);

}  // namespace tw::rfclib
