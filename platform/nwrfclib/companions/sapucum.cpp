// libsapucum: whole texts between the partner's bytes, UTF-8 and UTF-16.
#include "companions.h"

namespace {

/// Appends `character` as UTF-16 where room is left; counts the code units in `count`.
void put_utf16(unsigned character, char16_t* out, std::size_t room, std::size_t& count) {
  if (character >= 0x10000) {
    character -= 0x10000;
    if (count + 2 <= room) {
      out[count] = static_cast<char16_t>(0xD800 + (character >> 10));
      out[count + 1] = static_cast<char16_t>(0xDC00 + (character & 0x3FF));
    }
    count += 2;
    return;
  }
  if (count < room) out[count] = static_cast<char16_t>(character);
  ++count;
}

}  // namespace

extern "C" std::size_t tw_sapucum_from_bytes(const char* bytes, std::size_t size, char16_t* out,
                                             std::size_t room) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes);
  std::size_t count = 0;
  for (std::size_t at = 0; at < size;) {
    // Most partner text is ASCII, which needs no decoder: a run of it is copied at once.
    if (data[at] < 0x80) {
      std::size_t end = at + 1;
      while (end < size && data[end] < 0x80) ++end;
      for (std::size_t i = at; i < end && count + (i - at) < room; ++i)
        out[count + (i - at)] = data[i];
      count += end - at;
      at = end;
      continue;
    }
    unsigned character = 0;
    unsigned length = tw_icuuc_next_utf8(data + at, size - at, &character);
    if (length == 0) {
      character = tw_icudt_windows1252(data[at]);
      length = 1;
    }
    put_utf16(character, out, room, count);
    at += length;
  }
  return count;
}

extern "C" std::size_t tw_sapucum_from_utf8(const unsigned char* bytes, std::size_t size,
                                            char16_t* out, std::size_t room) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < size;) {
    unsigned character = 0;
    const unsigned length = tw_icuuc_next_utf8(bytes + at, size - at, &character);
    if (length == 0) return static_cast<std::size_t>(-1);
    put_utf16(character, out, room, count);
    at += length;
  }
  return count;
}

extern "C" std::size_t tw_sapucum_to_utf8(const char16_t* text, std::size_t size,
                                          unsigned char* out, std::size_t room) {
  std::size_t count = 0;
  bool full = false;
  for (std::size_t at = 0; at < size;) {
    if (text[at] < 0x80) {
      full = full || count + 1 > room;
      if (!full) out[count] = static_cast<unsigned char>(text[at]);
      ++count;
      ++at;
      continue;
    }
    unsigned units = 1;
    unsigned char encoded[4];
    const unsigned length = tw_icuuc_put_utf8(tw_icuuc_next_utf16(text + at, size - at, &units),
                                              encoded);
    // Once a character does not fit, none after it is written either.
    full = full || count + length > room;
    for (unsigned i = 0; i < length && !full; ++i) out[count + i] = encoded[i];
    count += length;
    at += units;
  }
  return count;
}
