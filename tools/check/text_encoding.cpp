#include "check/text_encoding.h"

#include <cstdio>

#include "os/regular_file.h"
#include "os/text_file.h"

namespace tw::check {

TextEncoding text_encoding(std::string_view head) {
  if (head.starts_with("\xEF\xBB\xBF")) return TextEncoding::utf8_mark;
  if (head.starts_with("\xFF\xFE")) return TextEncoding::utf16_le;
  if (head.starts_with("\xFE\xFF")) return TextEncoding::utf16_be;
  return TextEncoding::plain;
}

std::size_t mark_length(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::utf8_mark: return 3;
    case TextEncoding::utf16_le:
    case TextEncoding::utf16_be: return 2;
    case TextEncoding::plain: break;
  }
  return 0;
}

std::string encoding_text(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::utf8_mark: return "UTF-8 with a byte-order mark";
    case TextEncoding::utf16_le: return "UTF-16 (little-endian)";
    case TextEncoding::utf16_be: return "UTF-16 (big-endian)";
    case TextEncoding::plain: break;
  }
  return "plain text";
}

std::string text_file_head(std::string_view text, std::size_t size) {
  // The bytes as they are: the sensor's reading would leave the mark out.
  const FileHandle file(open_regular_file(native_path(text), "rb"));
  if (!file) return {};
  std::string head(size, '\0');
  head.resize(std::fread(head.data(), 1, head.size(), file.get()));
  return head;
}

}  // namespace tw::check
