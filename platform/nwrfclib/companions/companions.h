// The companion libraries of the NetWeaver stand-in, the files SAP's library is shipped
// with, each a small library of its own that the one above it needs at load time:
// sapnwrfc needs libsapucum, icuin50 and libicudecnumber; libsapucum needs icuuc50 and
// icudt50 (on Linux libsapucum.so, libicuuc.so.50, libicudata.so.50, libicui18n.so.50,
// libicudecnumber.so). Their functions are plain C; texts are UTF-16 in host byte order.
#pragma once

#include <cstddef>

extern "C" {

// ---- icudt50: code page data -------------------------------------------------------------

/// The character of a byte in Windows-1252: the byte itself, but from 0x80 to 0x9F the
/// code page's own (U+FFFD for the five bytes it leaves undefined).
unsigned tw_icudt_windows1252(unsigned char byte);

// ---- icuuc50: UTF-8 and UTF-16 -------------------------------------------------------------

/// The well-formed UTF-8 sequence at the start of `bytes` (`size` bytes): returns its length
/// (1 to 4) with its character in `*character`; 0 when the bytes start none (a stray or cut
/// sequence, an overlong form, a surrogate, anything beyond U+10FFFF, or no bytes at all).
unsigned tw_icuuc_next_utf8(const unsigned char* bytes, std::size_t size, unsigned* character);

/// Writes the UTF-8 form of `character` (at most U+10FFFF, no surrogate) into `out`, which
/// has room for 4 bytes; returns its length.
unsigned tw_icuuc_put_utf8(unsigned character, unsigned char* out);

/// The character at the start of `text` (`size` code units, at least 1) in UTF-16, with the
/// code units it takes in `*units`; a surrogate without its partner reads as U+FFFD.
unsigned tw_icuuc_next_utf16(const char16_t* text, std::size_t size, unsigned* units);

// ---- icuin50: comparing names --------------------------------------------------------------

/// A code unit with the letters a to z made capitals: the letter case names ignore.
inline char16_t tw_icuin_capital(char16_t unit) {
  return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

/// 1 when both texts are equal apart from the letter case of the letters a to z, else 0.
int tw_icuin_equal_ignoring_case(const char16_t* a, std::size_t a_size, const char16_t* b,
                                 std::size_t b_size);

// ---- libicudecnumber: decimal numbers --------------------------------------------------------

/// Writes `value` in decimal ("-" before a negative one) into `out` as far as `room` allows;
/// returns the code units of the whole number.
unsigned tw_decnumber_format(int value, char16_t* out, unsigned room);

/// Reads a decimal integer: blanks, an optional sign, at least one digit, blanks. Returns 1
/// with `*value` set, 0 for anything else or a number beyond the range of int.
int tw_decnumber_parse(const char16_t* text, std::size_t size, int* value);

// ---- libsapucum: conversions of whole texts --------------------------------------------------

/// Converts bytes from the partner to UTF-16: UTF-8, where any byte that starts no
/// well-formed sequence is a Windows-1252 character. Writes as much as `room` code units
/// allow; returns the code units of the whole text.
std::size_t tw_sapucum_from_bytes(const char* bytes, std::size_t size, char16_t* out,
                                  std::size_t room);

/// Converts strict UTF-8 to UTF-16 as far as `room` allows; returns the code units of the
/// whole text, or (size_t)-1 when the bytes are not UTF-8.
std::size_t tw_sapucum_from_utf8(const unsigned char* bytes, std::size_t size, char16_t* out,
                                 std::size_t room);

/// Converts UTF-16 (a lone surrogate as U+FFFD) to UTF-8 as far as `room` bytes allow,
/// never cutting a character; returns the bytes of the whole text.
std::size_t tw_sapucum_to_utf8(const char16_t* text, std::size_t size, unsigned char* out,
                               std::size_t room);

}  // extern "C"
