#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/settings.h"
#include "nc/nc_blocks.h"
#include "nc_fixtures.h"

namespace makenc {
namespace {

std::string word(double v, std::int16_t S) { return nc_number(round_to_grid(v, S)).value(); }

TEST(NcNumber, RoundsToTheGridAndWritesAPointOnWholeNumbers) {
  EXPECT_EQ(word(12.3456, 1000), "12.346");
  EXPECT_EQ(word(7, 1000), "7.");
  EXPECT_EQ(word(100, 1000), "100.");
  EXPECT_EQ(word(12.5, 1000), "12.5");
  EXPECT_EQ(word(-0.25, 1000), "-0.25");
  EXPECT_EQ(word(0.25, 10), "0.3");  // half up on the grid
  EXPECT_EQ(word(-0.25, 10), "-0.2");
}

TEST(NcNumber, BothZerosAreZeroPoint) {
  EXPECT_EQ(word(-0.0004, 1000), "0.");
  EXPECT_EQ(nc_number(0.0).value(), "0.");
  EXPECT_EQ(nc_number(-0.0).value(), "0.");
}

TEST(NcNumber, SinglePrecisionLimitsTheDigitsAndNeverUsesAnExponent) {
  EXPECT_EQ(nc_number(1234.5678).value(), "1234.568");
  EXPECT_EQ(nc_number(0.1).value(), "0.1");
  EXPECT_EQ(nc_number(0.00001).value(), "0.00001");
  EXPECT_EQ(nc_number(123456789.0).value(), "123456800.");
  EXPECT_EQ(nc_number(-5e-6).value(), "-0.000005");
}

TEST(NcNumber, NoTextForValuesThatAreNotNumbers) {
  EXPECT_FALSE(nc_number(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(nc_number(std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(nc_number(1e300));  // beyond single precision
  // A rounding factor of 0 turns every coordinate into no number at all.
  EXPECT_FALSE(nc_word('X', 5, 0));
  EXPECT_EQ(nc_word('J', -0.25, 1000).value(), "J-0.25");
}

TEST(BlockText, JoinsWordsInOrderWithoutSeparatorAndEndsWithALineEnd) {
  NcBlocks blocks;
  open_block(blocks, "G00");
  EXPECT_TRUE(add_word(blocks, 'X', 12.5, 1000));
  EXPECT_TRUE(add_word(blocks, 'Y', 40, 1000));
  add_text(blocks, "G40");
  close_block(blocks);
  EXPECT_EQ(blocks.NC_blk, "G00X12.5Y40.G40\r\n");
}

TEST(BlockText, AWordWithoutTextAddsNothing) {
  NcBlocks blocks;
  open_block(blocks, "G01");
  EXPECT_FALSE(add_word(blocks, 'X', 5, 0));
  EXPECT_FALSE(add_word(blocks, 'Y', std::numeric_limits<double>::infinity(), 1000));
  EXPECT_EQ(blocks.NC_blk, "G01");
}

TEST(BlockText, ABlockWithoutItsCodeWordIsNotWritten) {
  NcBlocks blocks;
  put_line(blocks, "M08");
  open_block(blocks, "");
  EXPECT_TRUE(add_word(blocks, 'X', 1, 1000));
  EXPECT_TRUE(add_word(blocks, 'Y', 2, 1000));
  close_block(blocks);
  put_line(blocks, "M07");
  put_line(blocks, "");
  EXPECT_EQ(blocks.NC_blk, "M08\r\nM07\r\n");
  EXPECT_EQ(body_lines(blocks), (std::vector<std::string>{"M08", "M07"}));
}

TEST(BlockTable, DropsTheBlocksOfAContourFromWhereItBegan) {
  NcBlocks blocks;
  std::size_t tenth = 0;
  for (int i = 0; i < 50; ++i) {
    if (i == 10) tenth = blocks.NC_blk.size();
    put_line(blocks, "N" + std::to_string(i));
  }
  const auto lines = body_lines(blocks);
  ASSERT_EQ(lines.size(), 50u);
  EXPECT_EQ(lines.front(), "N0");
  EXPECT_EQ(lines.back(), "N49");
  truncate_blocks(blocks, tenth);
  EXPECT_EQ(body_lines(blocks).size(), 10u);
  EXPECT_EQ(body_lines(blocks).back(), "N9");
}

TEST(ReadTemplate, KeepsEveryLineAndAddsTheSpareEntry) {
  test::TempFolder tmp;
  const auto file = tmp.path() / "sta_cut.ini";
  test::write_file(file, "M07\r\n\r\n   \r\n\x83\x5C\r\nlast");
  auto lines = read_template(file);
  ASSERT_TRUE(lines.ok());
  EXPECT_EQ(*lines, (TemplateLines{"M07", "", "   ", "\x83\x5C", "last", ""}));
  EXPECT_EQ(template_lines("M07\r\n\r\n   \r\n\x83\x5C\rlast"), *lines);
}

TEST(ReadTemplate, AnEmptyFileGivesOnlyTheSpareEntry) {
  test::TempFolder tmp;
  test::write_file(tmp.path() / "end.ini", "");
  auto lines = read_template(tmp.path() / "end.ini");
  ASSERT_TRUE(lines.ok());
  EXPECT_EQ(*lines, TemplateLines{""});
}

}  // namespace
}  // namespace makenc
