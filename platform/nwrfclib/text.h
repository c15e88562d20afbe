// Texts inside the NetWeaver stand-in: UTF-16 as the interface hands it in and out, the
// partner's bytes, and the library's own words (UTF-8). The conversions are the companion
// libraries'.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "sapnwrfc.h"

namespace tw::nwrfclib {

/*
 * Bytes from the partner (or a text of the library's own) as UTF-16: UTF-8, where any byte
 * that starts no well-formed sequence is a Windows-1252 character.
 */
std::u16string from_bytes(std::string_view bytes);

/*
 * The same into `text`, whose room is reused.
 */
void assign_from_bytes(std::u16string& text, std::string_view bytes);

/*
 * UTF-16 as UTF-8 (a lone surrogate as U+FFFD).
 */
std::string to_utf8(std::u16string_view text);

/*
 * A zero-terminated text of the caller; NULL reads as the empty text.
 */
std::u16string_view text_of(const SAP_UC* text);

/*
 * True when both names are equal apart from the letter case of a to z.
 */
bool same_name(std::u16string_view a, std::u16string_view b);

/*
 * `value` in decimal.
 */
std::u16string decimal(int value);

/*
 * The integer a text holds (blanks around it, an optional sign); false for anything else.
 */
bool parse_decimal(std::u16string_view text, int& value);

/*
 * Copies `text` into `field` of `size` code units, cut to size - 1 and zero-terminated.
 * Nothing happens when `field` is NULL or `size` is 0.
 */
void copy_text(SAP_UC* field, std::size_t size, std::u16string_view text);

/*
 * `text` cut or padded with blanks to `length` code units.
 */
std::u16string fixed(std::u16string text, std::size_t length);

}  // namespace tw::nwrfclib
