// Code-page-932 text kept as bytes, and the text files of the system.
#include <gtest/gtest.h>

#include "core/text.h"
#include "temp_folder.h"

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

TEST(Cp932, ConvertsToUnicodeAtTheEdges) {
  EXPECT_EQ(cp932_to_utf8(kOmote), "\xE8\xA1\xA8");
  EXPECT_EQ(utf8_to_cp932("\xE8\xA1\xA8"), kOmote);
}

TEST(TextFiles, ReadLinesWithEitherLineEnd) {
  testing::TempFolder folder;
  folder.write("a.txt", "one\r\ntwo\nthree");
  auto lines = read_text_lines(folder.path() / "a.txt");
  ASSERT_TRUE(lines);
  EXPECT_EQ(*lines, (std::vector<std::string>{"one", "two", "three"}));
  folder.write("b.txt", "x\r\n\r\n");
  EXPECT_EQ(*read_text_lines(folder.path() / "b.txt"), (std::vector<std::string>{"x", ""}));
  EXPECT_FALSE(read_text_lines(folder.path() / "missing.txt"));
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
