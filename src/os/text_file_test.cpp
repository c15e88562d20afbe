#include "os/text_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/temp_dir.h"

namespace tw {
namespace {

using testing::stream_of;

/// `text` (ASCII and Latin-1 bytes) as UTF-16 code units with a byte-order mark.
std::string utf16(std::string_view text, bool big_endian = false) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char c : text) {
    bytes += big_endian ? '\0' : c;
    bytes += big_endian ? c : '\0';
  }
  return bytes;
}

/// Every piece of at most `max_chars` characters, line ends left in place.
std::vector<std::string> pieces_of(InputFile file, std::size_t max_chars) {
  std::vector<std::string> pieces;
  std::string piece;
  while (read_piece(file, max_chars, piece)) pieces.push_back(piece);
  return pieces;
}

/// Everything read_block gives.
std::string blocks_of(InputFile file) {
  std::string all, block;
  while (read_block(file, 3, block)) all += block;
  return all;
}

using Pieces = std::vector<std::string>;

TEST(TextFile, Utf8ByteOrderMarkIsSkipped) {
  EXPECT_EQ(pieces_of(stream_of("\xEF\xBB\xBF" "ab\r\ncd"), 99), (Pieces{"ab\r\n", "cd"}));
  EXPECT_EQ(pieces_of(stream_of("\xEF\xBB\xBF"), 99), Pieces{});
  // Only a whole mark at the very start counts.
  EXPECT_EQ(pieces_of(stream_of("\xEF\xBBx\n"), 99), Pieces{"\xEF\xBBx\n"});
  EXPECT_EQ(pieces_of(stream_of("\xEF"), 99), Pieces{"\xEF"});
  EXPECT_EQ(pieces_of(stream_of("a\xEF\xBB\xBF"), 99), Pieces{"a\xEF\xBB\xBF"});
  EXPECT_EQ(pieces_of(stream_of(""), 99), Pieces{});
}

TEST(TextFile, Utf16IsReadAsItsWindows1252Text) {
  const Pieces expected{"PR\xC9\r\n", "x"};
  EXPECT_EQ(pieces_of(stream_of(utf16("PR\xC9\r\nx")), 99), expected);
  EXPECT_EQ(pieces_of(stream_of(utf16("PR\xC9\r\nx", true)), 99), expected);
  // The euro sign (U+20AC) has a byte of its own; a Polish letter (U+0141) has none.
  EXPECT_EQ(pieces_of(stream_of("\xFF\xFE\xAC\x20\x41\x01"), 99), Pieces{"\x80?"});
  EXPECT_EQ(pieces_of(stream_of("\xFF\xFE"), 99), Pieces{});
}

TEST(TextFile, PiecesCountCharactersOfTheConvertedText) {
  const std::string line(170, 'a');
  EXPECT_EQ(pieces_of(stream_of(utf16(line + "\r\n")), 159),
            (Pieces{line.substr(0, 159), line.substr(159) + "\r\n"}));
  // A NUL ends a piece's text as before, also one of a UTF-16 file.
  EXPECT_EQ(pieces_of(stream_of(utf16(std::string("ab\0cd\nef", 8))), 99),
            (Pieces{"ab", "ef"}));
  EXPECT_EQ(pieces_of(stream_of(std::string("ab\0cd\nef", 8)), 99), (Pieces{"ab", "ef"}));
}

TEST(TextFile, RestOfALineReadWhole) {
  for (const std::string& bytes : {std::string("abcdefgh\nxyz"), utf16("abcdefgh\nxyz")}) {
    InputFile file = stream_of(bytes);
    std::string piece;
    ASSERT_TRUE(read_piece(file, 3, piece));
    EXPECT_TRUE(file.mid_line);
    read_rest_of_line(file, 3, piece);
    EXPECT_EQ(piece, "abcdefgh\n");
    ASSERT_TRUE(read_piece(file, 3, piece));
    EXPECT_EQ(piece, "xyz");
    read_rest_of_line(file, 3, piece);  // at the end: nothing more
    EXPECT_EQ(piece, "xyz");
    EXPECT_FALSE(read_piece(file, 3, piece));
  }
  // A piece that ends with its line feed leaves nothing to add.
  InputFile file = stream_of("ab\ncd\n");
  std::string piece;
  ASSERT_TRUE(read_piece(file, 3, piece));
  EXPECT_FALSE(file.mid_line);
  read_rest_of_line(file, 3, piece);
  EXPECT_EQ(piece, "ab\n");
}

TEST(TextFile, BlocksGiveTheBytesBehindTheMark) {
  EXPECT_EQ(blocks_of(stream_of("DEST=PRD\r\nTYPE=A\r\n")), "DEST=PRD\r\nTYPE=A\r\n");
  EXPECT_EQ(blocks_of(stream_of("\xEF\xBB\xBF" "DEST=PRD\r\n")), "DEST=PRD\r\n");
  EXPECT_EQ(blocks_of(stream_of(utf16("DEST=PRD\r\n", true))), "DEST=PRD\r\n");
  EXPECT_EQ(blocks_of(InputFile{}), "");
}

TEST(TextFile, OpenedFromTheDrive) {
  testing::TempDrive drive;
  drive.write("\\Dir\\marked.txt", utf16("C:\\PRTG\r\n"));
  InputFile file = open_for_reading("C:\\Dir\\marked.txt");
  ASSERT_TRUE(file);
  EXPECT_EQ(pieces_of(std::move(file), 99), Pieces{"C:\\PRTG\r\n"});
  EXPECT_FALSE(open_for_reading("\\Dir\\missing.txt"));
  EXPECT_FALSE(open_for_reading("\\Dir"));
}

}  // namespace
}  // namespace tw
