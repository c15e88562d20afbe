// How a text file was saved, as far as its first bytes tell: plain bytes, or with the
// byte-order mark that Windows editors write for UTF-8 and UTF-16.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tw::check {

enum class TextEncoding { plain, utf8_mark, utf16_le, utf16_be };

/// The encoding that the first bytes `head` of a file announce: EF BB BF (UTF-8 with
/// byte-order mark), FF FE (UTF-16 little-endian), FE FF (UTF-16 big-endian), else plain.
TextEncoding text_encoding(std::string_view head);

/// How many bytes the byte-order mark of `encoding` takes (0 for plain).
std::size_t mark_length(TextEncoding encoding);

/// "UTF-8 with a byte-order mark", "UTF-16 (little-endian)", "UTF-16 (big-endian)",
/// "plain text".
std::string encoding_text(TextEncoding encoding);

/// The first bytes of the file `text` (in the sensor's form of a path), at most `size`;
/// empty when it cannot be read.
std::string text_file_head(std::string_view text, std::size_t size);

}  // namespace tw::check
