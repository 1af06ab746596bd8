// What each system does its own way must come out the same: code page 932
// by the system's tables, file names beyond ASCII, a read-only file replaced.
#include "core/platform.h"

#include <gtest/gtest.h>

#include "core/files.h"
#include "core/text.h"
#include "support/files.h"

namespace makenc {
namespace {

namespace fs = std::filesystem;

TEST(Platform, Cp932ConvertsAlikeAndAByteThatIsNoCharacterBecomesAQuestionMark) {
  const struct {
    std::string bytes, utf8;
  } cases[] = {
      {"file=C:\\a.jww", "file=C:\\a.jww"},
      {"\x95\x5C\x8E\xA6\x94\xC2", "表示板"},          // second bytes 0x5C and 0xA6
      {"\x81\x60\x87\x40\xED\x40\xFA\x40", "～①纊ⅰ"},  // the extensions of code page 932
      {"\xB1\xDD", "ｱﾝ"},                              // half-width katakana: one byte each
      {"\xF0\x40", "\xEE\x80\x80"},                    // user-defined: private use
      {"a\x80"
       "b\xA0"
       "c\xFD",
       "a?b?c?"},            // bytes of no character
      {"\x85\x40z", "?@z"},  // an unassigned pair: its first byte
      {"t\x81", "t?"},       // a lead byte at the end
  };
  for (const auto& c : cases) EXPECT_EQ(cp932_to_utf8(c.bytes), c.utf8) << c.utf8;
  EXPECT_EQ(utf8_to_cp932("表示板に出力しました。"),
            "\x95\x5C\x8E\xA6\x94\xC2\x82\xC9\x8F\x6F\x97\xCD\x82\xB5"
            "\x82\xDC\x82\xB5\x82\xBD\x81\x42");
}

TEST(Platform, AJapaneseFileNameIsWrittenReadAndShownAsItIs) {
  test::TempFolder folder;
  const fs::path file = folder.path() / path_from_utf8("図面") / path_from_utf8("表示板.nc");
  fs::create_directories(file.parent_path());
  ASSERT_TRUE(write_file_atomically(file, "G00\r\n").ok());
  EXPECT_EQ(read_text_lines(file), (std::vector<std::string>{"G00"}));
  EXPECT_TRUE(display_path(file).ends_with("表示板.nc")) << display_path(file);
  EXPECT_EQ(path_to_utf8(path_from_utf8("部品_1.nc")), "部品_1.nc");
}

TEST(Platform, AReadOnlyFileIsReplacedAndStaysReadOnly) {
  test::TempFolder folder;
  const fs::path file = folder.path() / "plate.nc";
  folder.write("plate.nc", "old\r\n");
  constexpr fs::perms kWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(file, kWrite, fs::perm_options::remove);
  ASSERT_TRUE(write_file_atomically(file, "new\r\n").ok());
  EXPECT_EQ(test::file_bytes(file), "new\r\n");
  EXPECT_EQ(fs::status(file).permissions() & kWrite, fs::perms::none);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

TEST(Platform, TheDateIsTheClocksInNumbers) {
  const CalendarDate d = today();
  EXPECT_GE(d.year, 2024);
  EXPECT_TRUE(d.month >= 1 && d.month <= 12);
  EXPECT_TRUE(d.day >= 1 && d.day <= 31);
}

}  // namespace
}  // namespace makenc
