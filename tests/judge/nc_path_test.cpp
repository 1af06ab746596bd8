// The program reader: moves as the machine runs them, cut into contours by
// the host folder's start and end codes, and numbers read exactly.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "judge/nc_path.h"
#include "judge/plate_codes.h"

namespace makenc {
namespace {

using Lines = std::vector<std::string>;

using test::plate_codes;

// A marking line, a round hole entered by a lead-in, the return home.
const Lines kProgram{"%",
                     "O1000",
                     "G90 G92 X0 Y0",
                     "G00X140.Y30.G40",
                     "M09",
                     "E9",
                     "G01X180.Y30.",
                     "M08",
                     "G00X40.Y65.G40",
                     "M07",
                     "E2",
                     "G01X40.Y70.G41",
                     "G03J-10.",
                     "G02X50.Y60.I0J-10.",
                     "G01Y50.",
                     "X45.",
                     "M08",
                     "G00X0Y0",
                     "M30",
                     "%"};

TEST(NcPath, FollowsModalMovesIntoOneContourPerRapid) {
  auto cuts = read_nc_cuts(kProgram, plate_codes());
  ASSERT_TRUE(cuts.ok()) << cuts.error().message;
  ASSERT_EQ(cuts->size(), 2u) << "the return home starts no contour";

  const NcCut& mark = (*cuts)[0];
  EXPECT_TRUE(mark.marking);
  EXPECT_EQ(mark.line, 4u);
  EXPECT_FALSE(mark.lead_in);
  ASSERT_EQ(mark.moves.size(), 1u);
  EXPECT_EQ(mark.moves[0].turn, 0);
  EXPECT_EQ(mark.moves[0].to.x, 180);

  const NcCut& hole = (*cuts)[1];
  EXPECT_FALSE(hole.marking);
  EXPECT_TRUE(hole.lead_in);
  EXPECT_EQ(hole.lead_comp, 41);
  EXPECT_EQ(hole.start.y, 65);
  EXPECT_EQ(hole.contact.y, 70);
  ASSERT_EQ(hole.moves.size(), 4u);
  // A whole turn about start + (I, J), counter-clockwise.
  const NcMove& circle = hole.moves[0];
  EXPECT_EQ(circle.turn, 1);
  EXPECT_EQ(circle.centre.x, 40);
  EXPECT_EQ(circle.centre.y, 60);
  EXPECT_EQ(circle.comp, 41);
  EXPECT_EQ(circle.line, 13u);
  EXPECT_NEAR(circle.sweep(), 2 * 3.141592653589793, 1e-12);
  EXPECT_NEAR(circle.length(), 20 * 3.141592653589793, 1e-9);
  // A clockwise quarter from the top of the circle to its right.
  const NcMove& quarter = hole.moves[1];
  EXPECT_EQ(quarter.turn, -1);
  EXPECT_NEAR(quarter.sweep(), -3.141592653589793 / 2, 1e-12);
  EXPECT_NEAR(quarter.at(0.5).x, 40 + 10 * std::sqrt(0.5), 1e-9);
  EXPECT_NEAR(quarter.heading(0).x, 1, 1e-12);
  // Straight down, then left: the motion and the other coordinate stay.
  const NcMove& last = hole.moves[3];
  EXPECT_EQ(last.turn, 0);
  EXPECT_EQ(last.from.x, 50);
  EXPECT_EQ(last.from.y, 50);
  EXPECT_EQ(last.to.x, 45);
  EXPECT_EQ(last.to.y, 50);
  EXPECT_EQ(last.line, 16u);
}

// The same start code for cutting and marking: the condition after it
// tells them apart; a longer cutting start wins where both match.
TEST(NcPath, TellsCuttingFromMarkingByTheCodesThatFollow) {
  StartCodes same = plate_codes();
  same.mark = {"M07"};
  const Lines program{"G00X0Y0",   "M07", "E9", "G01X10.Y0",   "M08",
                      "G00X0Y10.", "M07", "E2", "G01X10.Y10.", "M08"};
  auto cuts = read_nc_cuts(program, same);
  ASSERT_TRUE(cuts.ok()) << cuts.error().message;
  ASSERT_EQ(cuts->size(), 2u);
  EXPECT_TRUE((*cuts)[0].marking);
  EXPECT_FALSE((*cuts)[1].marking);

  StartCodes longer = plate_codes();
  longer.cut = {"M07", "E2"};
  longer.mark = {"M07"};
  cuts = read_nc_cuts(program, longer);
  ASSERT_TRUE(cuts.ok()) << cuts.error().message;
  ASSERT_EQ(cuts->size(), 2u);
  EXPECT_TRUE((*cuts)[0].marking);
  EXPECT_FALSE((*cuts)[1].marking);
}

// A template line that is no word is sent as it is; the same line
// elsewhere is refused, naming the line.
TEST(NcPath, PassesTheTemplatesOwnLinesOnly) {
  StartCodes codes = plate_codes();
  const Lines program{"G00X0Y0", "M07", "@cut", "G01X10.Y0", "M08"};
  EXPECT_FALSE(read_nc_cuts(program, codes).ok());
  codes.template_lines.push_back("@cut");
  EXPECT_TRUE(read_nc_cuts(program, codes).ok());
  const auto refused = read_nc_cuts(Lines{"G00X0Y0", "M07", "@cut", "@cut2", "M08"}, codes);
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error().message.rfind("line 4: column 1: ", 0), 0u) << refused.error().message;
}

double from_chars_value(const std::string& text) {
  double v = 0;
  const char* first = text.data() + (text[0] == '+' ? 1 : 0);
  std::from_chars(first, text.data() + text.size(), v);
  return v;
}

// Every coordinate is the double from_chars reads from its text, whatever
// its digits: short and long, with leading and trailing zeros, signs, the
// point anywhere or nowhere, beyond 15 significant digits.
TEST(NcPath, ReadsEachCoordinateAsFromCharsDoes) {
  std::mt19937_64 random(31);
  std::vector<std::string> texts{"0",
                                 "0.",
                                 ".5",
                                 "-.5",
                                 "+7",
                                 "-0",
                                 "000123.4500",
                                 "1.",
                                 "999999.999",
                                 "123456789012345",
                                 "1234567890123456",
                                 "0.000000000000000000001",
                                 "0.1000000000000000055511151231257827",
                                 "4503599627370497.5"};
  for (int k = 0; k < 3000; ++k) {
    const int digits = 1 + static_cast<int>(random() % 20);
    std::string text = random() % 4 == 0 ? "-" : "";
    for (int d = 0; d < digits; ++d) text.push_back(static_cast<char>('0' + random() % 10));
    const std::size_t point = random() % (static_cast<std::size_t>(digits) + 2);
    if (point <= static_cast<std::size_t>(digits)) text.insert(text.size() - point, ".");
    texts.push_back(text);
  }
  std::size_t read = 0;
  for (const std::string& text : texts) {
    if (from_chars_value(text) > 1e6 || from_chars_value(text) < -1e6) continue;  // beyond the drawing
    ++read;
    auto cuts = read_nc_cuts(Lines{"G00X0Y0", "M07", "G01X" + text + "Y0", "M08"}, plate_codes());
    ASSERT_TRUE(cuts.ok()) << text << ": " << cuts.error().message;
    ASSERT_EQ(cuts->size(), 1u);
    ASSERT_EQ((*cuts)[0].moves.size(), 1u);
    EXPECT_EQ((*cuts)[0].moves[0].to.x, from_chars_value(text)) << text;
  }
  EXPECT_GT(read, 1000u);
}

// Coordinates within the limits are followed; one beyond them, or an arc
// whose radii differ by more than the tolerance, is refused.
TEST(NcPath, RefusesMovesBeyondItsLimits) {
  NcLimits limits;
  limits.min_x = -10;
  limits.max_x = 10;
  limits.min_y = -10;
  limits.max_y = 10;
  limits.radius_tolerance = 0.01;
  auto read = [&](const std::string& move) {
    return read_nc_cuts(Lines{"G00X0Y0", "M07", move, "M08"}, plate_codes(), limits);
  };
  EXPECT_TRUE(read("G01X10.Y-10.").ok());
  EXPECT_FALSE(read("G01X10.001Y0").ok());
  EXPECT_TRUE(read("G03X2.Y0I1.J0").ok());
  EXPECT_TRUE(read("G03X2.009Y0I1.J0").ok());
  const auto far = read("G03X2.02Y0I1.J0");
  ASSERT_FALSE(far.ok());
  EXPECT_EQ(far.error().message, "line 3: the arc's radius is 1.000 at its start but 1.020 at its end");
}

}  // namespace
}  // namespace makenc
