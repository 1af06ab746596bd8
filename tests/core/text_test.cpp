// Code-page-932 text kept as bytes, and the text files of the system.
#include <gtest/gtest.h>

#include <random>

#include "core/text.h"
#include "support/files.h"

namespace makenc {
namespace {

// "表" is 0x95 0x5C in code page 932: its second byte is the "\" of a path.
const std::string kOmote = "\x95\x5C";

TEST(Cp932, SecondBytesAreNeverCharactersOfTheirOwn) {
  EXPECT_EQ(split_chars(kOmote + "\\b", '\\'), (std::vector<std::string_view>{kOmote, "b"}));
  EXPECT_EQ(rfind_char(kOmote, "\\"), std::string_view::npos);
  EXPECT_EQ(rfind_char("a\\" + kOmote, "\\"), 1u);
  EXPECT_EQ(last_char("ab" + kOmote), kOmote);
  EXPECT_EQ(last_char("lc2"), "2");
  EXPECT_EQ(last_char(""), "");
  EXPECT_EQ(first_chars(kOmote + "xyz", 2), kOmote + "x");
  EXPECT_EQ(first_chars("l", 2), "l");
  EXPECT_EQ(char_starts("a" + kOmote + "b"), (std::vector<std::size_t>{0, 1, 3}));
}

TEST(Cp932, SplitKeepsEmptyFields) {
  EXPECT_EQ(split_chars(" 1 2", ' '), (std::vector<std::string_view>{"", "1", "2"}));
  EXPECT_EQ(split_chars("a  b", ' '), (std::vector<std::string_view>{"a", "", "b"}));
  EXPECT_EQ(split_chars("", ' '), (std::vector<std::string_view>{""}));
}

// A lead byte whose next byte cannot be a second byte stands alone: the
// blank after a damaged byte still separates the fields.
TEST(Cp932, ALeadByteWithoutItsSecondByteStandsAlone) {
  EXPECT_EQ(split_chars("10\x81 20", ' '), (std::vector<std::string_view>{"10\x81", "20"}));
  EXPECT_EQ(split_chars("\x81\x20\x81", ' '), (std::vector<std::string_view>{"\x81", "\x81"}));
  EXPECT_EQ(char_starts("a\x81\x31\x95\x5C"), (std::vector<std::size_t>{0, 1, 2, 3}));
  EXPECT_EQ(last_char("lc2\x81"), "\x81");
  EXPECT_EQ(first_chars("\x81\x7F\x78", 2), "\x81\x7F");  // 0x7F is no second byte
  EXPECT_EQ(rfind_char("t\x81.jww", "."), 2u);
}

TEST(Cp932, FirstInvalidByteIsFound) {
  const std::size_t none = std::string_view::npos;
  const std::vector<std::pair<std::string, std::size_t>> cases{
      {"", none},
      {"ci 1 2 3", none},
      {kOmote + "\xB1\xDF", none},  // a double-byte character, two half-width kana
      {"\x81\x40\xFC\xFC", none},   // the lowest and highest pairs
      {" 1 2 3 4\x81", 8},          // a lead byte at the end of the line
      {"\x81 1", 0},                // a lead byte before a blank
      {"a\xE0\x3F", 1},             // a lead byte before a byte below 0x40
      {"a\x9F\x7F", 1},             // ... or before 0x7F
      {"ab\x80", 2},
      {"\xA0", 0},
      {"x\xFD", 1},
      {"x\xFE", 1},
      {"x\xFF", 1},
      {kOmote + "\x81\xFD", 2},  // 0xFD is no second byte either
  };
  for (const auto& [text, at] : cases) EXPECT_EQ(first_invalid_byte(text), at) << cp932_to_utf8(text);
}

TEST(Cp932, ExcerptCutsOnACharacterBoundary) {
  EXPECT_EQ(excerpt("short", 80), "short");
  EXPECT_EQ(excerpt("abcdef", 4), "abcd...");
  EXPECT_EQ(excerpt("abc" + kOmote + "d", 4), "abc...");  // the pair is not cut in two
  EXPECT_EQ(excerpt(std::string(70000, '1'), 80), std::string(80, '1') + "...");
}

TEST(Cp932, ConvertsToUnicodeAtTheEdges) {
  EXPECT_EQ(cp932_to_utf8(kOmote), "\xE8\xA1\xA8");
  EXPECT_EQ(utf8_to_cp932("\xE8\xA1\xA8"), kOmote);
}

TEST(TextFiles, ReadLinesWithEitherLineEnd) {
  test::TempFolder folder;
  folder.write("a.txt", "one\r\ntwo\nthree");
  auto lines = read_text_lines(folder.path() / "a.txt");
  ASSERT_TRUE(lines);
  EXPECT_EQ(*lines, (std::vector<std::string>{"one", "two", "three"}));
  folder.write("b.txt", "x\r\n\r\n");
  EXPECT_EQ(*read_text_lines(folder.path() / "b.txt"), (std::vector<std::string>{"x", ""}));
  // A lone CR ends a line like CR LF: neither byte can be the second byte
  // of a double-byte character, not even after a lead byte.
  folder.write("c.txt", "hq\r#\rly0\r\n 0 0 1 0\n\r\rlast\r");
  EXPECT_EQ(*read_text_lines(folder.path() / "c.txt"),
            (std::vector<std::string>{"hq", "#", "ly0", " 0 0 1 0", "", "", "last"}));
  folder.write("d.txt", "a\x81\rb\x81\nc\x81\r\n");
  EXPECT_EQ(*read_text_lines(folder.path() / "d.txt"), (std::vector<std::string>{"a\x81", "b\x81", "c\x81"}));
  folder.write("e.txt", "");
  EXPECT_TRUE(read_text_lines(folder.path() / "e.txt")->empty());
  EXPECT_FALSE(read_text_lines(folder.path() / "missing.txt"));
}

// Line ends found one byte at a time, the reading line_views must agree with.
std::vector<std::string_view> lines_byte_by_byte(std::string_view data) {
  std::vector<std::string_view> lines;
  std::size_t from = 0;
  while (from < data.size()) {
    std::size_t end = from;
    while (end < data.size() && data[end] != '\r' && data[end] != '\n') ++end;
    lines.push_back(data.substr(from, end - from));
    if (end == data.size()) break;
    from = end + 1;
    if (data[end] == '\r' && from < data.size() && data[from] == '\n') ++from;
  }
  return lines;
}

TEST(TextFiles, LinesOfEveryMixOfLineEnds) {
  std::mt19937 random(7);
  const std::string_view bytes("\r\n\x81 a", 5);
  for (int round = 0; round < 20000; ++round) {
    std::string data(random() % 12, ' ');
    for (char& c : data) c = bytes[random() % bytes.size()];
    const std::vector<std::string_view> want = lines_byte_by_byte(data);
    EXPECT_EQ(line_views(data), want) << round;
    EXPECT_EQ(text_lines(data), std::vector<std::string>(want.begin(), want.end())) << round;
  }
}

// A blank is never the second byte of a double-byte character, so the
// blanks on character boundaries are all the blanks: the reader splits its
// records at every blank byte.
TEST(Cp932, EveryBlankStandsOnACharacterBoundary) {
  std::mt19937 random(11);
  const std::string_view bytes("\x81\x95\xE0\xFC\x40\x5C\x7F\x80 a", 10);
  for (int round = 0; round < 20000; ++round) {
    std::string s(random() % 12, ' ');
    for (char& c : s) c = bytes[random() % bytes.size()];
    std::vector<std::string_view> at_every_blank;
    std::size_t from = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (s[i] != ' ') continue;
      at_every_blank.push_back(std::string_view(s).substr(from, i - from));
      from = i + 1;
    }
    at_every_blank.push_back(std::string_view(s).substr(from));
    EXPECT_EQ(split_chars(s, ' '), at_every_blank) << round;
  }
}

// A file is read whole, however many reads of the file it takes; a folder
// opens like a file but cannot be read.
TEST(TextFiles, ReadBytesWholeAndNotFromAFolder) {
  test::TempFolder folder;
  std::string bytes;
  for (int i = 0; i < 70000; ++i) bytes += static_cast<char>(i % 251);
  folder.write("long.bin", bytes);
  EXPECT_EQ(read_file_bytes(folder.path() / "long.bin"), bytes);
  folder.write("empty.bin", "");
  EXPECT_EQ(read_file_bytes(folder.path() / "empty.bin"), "");
  std::filesystem::create_directory(folder.path() / "sub");
  EXPECT_FALSE(read_file_bytes(folder.path() / "sub"));
  EXPECT_FALSE(read_file_bytes(folder.path() / "missing.bin"));
}

TEST(TextFiles, JoinEndsEveryLineWithCrLf) {
  EXPECT_EQ(join_crlf({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(join_crlf({}), "");
}

TEST(HostPath, TurnsBackslashesIntoFolders) {
  EXPECT_EQ(host_path("/h", "Zemlak\\Bin\\set.ini"), std::filesystem::path("/h/Zemlak/Bin/set.ini"));
  EXPECT_EQ(host_path("/h", "JWC_TEMP.TXT"), std::filesystem::path("/h/JWC_TEMP.TXT"));
}

}  // namespace
}  // namespace makenc
