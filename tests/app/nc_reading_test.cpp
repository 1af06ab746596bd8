// The program reader takes each coordinate as the number its text
// correctly rounds to, however many digits it has and however it is signed.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "judge/nc_path.h"

namespace makenc {
namespace {

double from_text(const std::string& text) {
  const std::size_t first = text[0] == '+' ? 1 : 0;
  double v = 0;
  const auto [end, ec] = std::from_chars(text.data() + first, text.data() + text.size(), v);
  EXPECT_EQ(ec, std::errc()) << text;
  EXPECT_EQ(end, text.data() + text.size()) << text;
  return v;
}

TEST(NcReading, TakesEachCoordinateAsItsTextRoundsTo) {
  const std::vector<std::string> numbers = {
      "12345.678", "-0.001", ".5", "-.5", "+2.25", "5.", "007.50", "-0", "0.1", "99999.999",
      // 15 digits, read by the short way; 16 and more, by the long one
      "123456789.012345", "-98765.4321098765", "1234567.890123456", "0.12345678901234567890",
      // 22 places after the point, and more
      "0.0000000000000000000001", "1.00000000000000000000001", "4503599627370497.5",
      "000000000000000000000012.5", "3.14159265358979323846264338327950288"};
  std::vector<std::string> program{"G00 X0 Y0", "M07"};
  for (const std::string& n : numbers) program.push_back("G01 X" + n + " Y" + n);
  program.push_back("M08");
  StartCodes codes;
  codes.cut = {"M07"};
  codes.end = {"M08"};
  NcLimits limits;
  limits.min_x = limits.min_y = -1e300;
  limits.max_x = limits.max_y = 1e300;
  const auto cuts = read_nc_cuts(program, codes, limits);
  ASSERT_TRUE(cuts) << cuts.error().message;
  ASSERT_EQ(cuts->size(), 1u);
  const std::vector<NcMove>& moves = cuts->front().moves;
  ASSERT_EQ(moves.size(), numbers.size());
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    const double expected = from_text(numbers[k]);
    EXPECT_EQ(moves[k].to.x, expected) << numbers[k];
    EXPECT_EQ(moves[k].to.y, expected) << numbers[k];
    EXPECT_EQ(std::signbit(moves[k].to.x), std::signbit(expected)) << numbers[k];
  }
}

TEST(NcReading, ReadsTheLastMotionAndCompensationOfABlock) {
  const std::vector<std::string> program{"G00 X0 Y0", "M07", "G00 G01 G42 G40 G41 X5 Y0",
                                         "G03 G02 X10 Y0 I2.5 J0", "M08"};
  StartCodes codes;
  codes.cut = {"M07"};
  codes.end = {"M08"};
  const auto cuts = read_nc_cuts(program, codes);
  ASSERT_TRUE(cuts) << cuts.error().message;
  ASSERT_EQ(cuts->size(), 1u);
  const NcCut& cut = cuts->front();
  EXPECT_TRUE(cut.lead_in);
  EXPECT_EQ(cut.lead_comp, 41);
  ASSERT_EQ(cut.moves.size(), 1u);
  EXPECT_EQ(cut.moves[0].turn, -1);
  EXPECT_EQ(cut.moves[0].comp, 41);
}

}  // namespace
}  // namespace makenc
