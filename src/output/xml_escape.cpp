// Text for the XML document: markup characters as entities, and UTF-8 whatever bytes came
// in, so that the document stays well-formed with any value from SAP or from a file.
#include "os/windows_1252.h"
#include "output/report.h"

namespace tw {

namespace {

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

/// Length of the well-formed UTF-8 sequence at the start of `text` (2 to 4 bytes, no
/// overlong form, no surrogate, nothing above U+10FFFF) with its character; 0 when the
/// bytes there are not one.
std::size_t utf8_sequence(std::string_view text, char32_t& c) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length;
  char32_t least;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, least = 0x80, c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, least = 0x800, c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, least = 0x10000, c = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(i) & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return length;
}

/// True for the characters XML 1.0 allows in a document.
bool allowed_in_xml(char32_t c) {
  return c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

}  // namespace

std::string xml_escape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const unsigned char byte = static_cast<unsigned char>(text[at]);
    char32_t c = byte;
    std::size_t length = 1;
    if (byte >= 0x80) {
      length = utf8_sequence(text.substr(at), c);
      if (length == 0) {
        // Not UTF-8: the byte is taken as a Windows-1252 character.
        length = 1;
        c = windows_1252_character(byte);
      }
    }
    at += length;
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      default:
        if (c != 0 && allowed_in_xml(c)) {
          append_utf8(escaped, c);
        } else {
          append_utf8(escaped, kXmlPlaceholder);
        }
    }
  }
  return escaped;
}

}  // namespace tw
