#include <gtest/gtest.h>

#include "nc/contour_path.h"
#include "nc/nc_program.h"
#include "nc_fixtures.h"

namespace makenc {
namespace {

using Lines = std::vector<std::string>;
using test::LayerBuilder;
using test::NcCase;

Lines body(const NcCase& c, const NcTemplates& t = test::example_templates()) {
  auto blocks = nc_body(c.input(), t);
  EXPECT_TRUE(blocks.ok()) << (blocks.ok() ? "" : blocks.error().message);
  return blocks.ok() ? body_lines(*blocks) : Lines{};
}

// The square 0,0 - 100,0 - 100,100 - 0,100 chained from its bottom side
// running (100, 0) to (0, 0), entered on that side at (50, 0).
NcCase square(double approach_y) {
  NcCase c;
  c.set_layer(0, LayerBuilder{}.rectangle(100, 100, 1));
  c.assignment.Ord_dat = test::cut_list({{"ly0", 1, 1, 50, approach_y, 50, 0, "cut", "loop"}});
  c.assignment.last_is_outline = true;
  return c;
}

NcCase one_circle(double r, double approach_y, int contour = 1) {
  NcCase c;
  c.set_layer(0, LayerBuilder{}.circle(20, 20, r, contour));
  c.assignment.Ord_dat = test::cut_list({{"ly0", contour, 1, 20, approach_y, 20, 20 - r, "cut", "circle"}});
  return c;
}

TEST(ContourPath, WorkedExampleBlockByBlock) {
  const Lines expected = {"G00X30.Y25.G40",
                          "M07",
                          "(CUT)",
                          "K1",
                          "G01X30.Y20.G41",
                          "G03J10.",
                          "M09",
                          "G00X60.Y20.G40",
                          "M08",
                          "KM",
                          "G01X80.Y20.",
                          "M09",
                          "M99",
                          "G00X50.Y65.G40",
                          "M07",
                          "(CUT)",
                          "K2",
                          "G01X50.Y60.G41",
                          "G01X100.Y60.",
                          "G01X100.Y0.",
                          "G01X0.Y0.",
                          "G01X0.Y60.",
                          "G01X50.Y60.",
                          "M09"};
  EXPECT_EQ(body(test::worked_example()), expected);
}

TEST(ContourPath, SquareEnteredFromOutsideRunsForward) {
  const Lines expected = {"G00X50.Y-5.G40", "M07",        "(CUT)",       "K2",
                          "G01X50.Y0.G41",  "G01X0.Y0.",  "G01X0.Y100.", "G01X100.Y100.",
                          "G01X100.Y0.",    "G01X50.Y0.", "M09"};
  EXPECT_EQ(body(square(-5)), expected);
}

TEST(ContourPath, SquareEnteredFromInsideRunsBackward) {
  NcCase c = square(5);
  c.assignment.last_is_outline = false;
  const Lines expected = {
      "G00X50.Y5.G40", "M07",       "(CUT)",      "K2", "G01X50.Y0.G41", "G01X100.Y0.", "G01X100.Y100.",
      "G01X0.Y100.",   "G01X0.Y0.", "G01X50.Y0.", "M09"};
  EXPECT_EQ(body(c), expected);
}

TEST(ContourPath, OuterSquareWithJointsStopsShortOfTheContactPoint) {
  NcCase c = square(-5);
  c.options.joints = true;
  const Lines lines = body(c);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[9], "G01X53.Y0.");
  // Without an outline record the last contour is an ordinary one.
  c.assignment.last_is_outline = false;
  EXPECT_EQ(body(c)[9], "G01X50.Y0.");
  // A loop whose approach element reaches the third row's length is joined
  // wherever it stands.
  c.settings.ini_Cond[2] = CondRow{{"300", "100", "K3"}};
  EXPECT_EQ(body(c)[9], "G01X53.Y0.");
  c.options.joints = false;
  EXPECT_EQ(body(c)[9], "G01X50.Y0.");
}

TEST(ContourPath, HoleEnteredFromInsideIsOneCounterClockwiseBlock) {
  const Lines lines = body(one_circle(5, 18));
  const Lines expected = {"G00X20.Y18.G40", "M07", "(CUT)", "K1", "G01X20.Y15.G41", "G03J5.", "M09"};
  EXPECT_EQ(lines, expected);
}

TEST(ContourPath, CircleEnteredFromOutsideRunsClockwise) { EXPECT_EQ(body(one_circle(5, 12))[5], "G02J5."); }

TEST(ContourPath, LargeHoleLeavesAJointAtItsLowestPoint) {
  NcCase c = one_circle(400, -370);
  c.options.joints = true;
  // sqrt(400^2 - 3^2) = 399.98875; the stop is 3 left of the lowest point.
  EXPECT_EQ(body(c)[5], "G03X17.Y-379.989J400.");
  c.settings.ini_Cond[2] = CondRow{{"401", "1000", "K3"}};
  EXPECT_EQ(body(c)[5], "G03J400.");
}

TEST(ContourPath, ConditionThresholdsAreStrictlyGreater) {
  NcCase c = one_circle(5, 18);
  c.settings.ini_Cond[0] = CondRow{{"10", "10", "K1"}};
  EXPECT_EQ(body(c)[3], "K1");
  c = one_circle(10, 25);
  c.settings.ini_Cond[0] = CondRow{{"10", "10", "K1"}};
  EXPECT_EQ(body(c)[3], "K2");

  // Lines: 10 > 10 fails, 100 > 10 holds; 10 > 100 fails twice.
  NcCase l;
  l.settings.ini_Cond = {CondRow{{"1", "10", "K1"}}, CondRow{{"1", "100", "K2"}},
                         CondRow{{"1", "1000", "K3"}}};
  l.set_layer(0, LayerBuilder{}.line(0, 0, 10, 0, 1, 1).line(0, 5, 100, 5, 2, 1));
  l.assignment.Ord_dat =
      test::cut_list({{"ly0", 1, 1, 0, 0, 10, 0, "cut", "line"}, {"ly0", 2, 1, 0, 5, 100, 5, "cut", "line"}});
  const Lines lines = body(l);
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[3], "K2");
  EXPECT_EQ(lines[10], "K3");
}

TEST(ContourPath, StartCodeStopsAtItsFirstEmptyLine) {
  NcTemplates t = test::example_templates();
  t.Sta_cut = {"M07", "", "M50", ""};
  t.Sta_mark = {"   ", "M08", ""};  // a line of blanks is not empty
  NcCase c = test::worked_example();
  const Lines lines = body(c, t);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "M07"), 2);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "M50"), 0);
  EXPECT_EQ(lines[6], "G00X60.Y20.G40");
  EXPECT_EQ(lines[7], "   ");
  EXPECT_EQ(lines[8], "M08");
}

TEST(ContourPath, LongStartCodesOverflowNoBlockTable) {
  NcTemplates t = test::example_templates();
  t.Sta_cut.assign(40, "M07");
  t.Sta_cut.push_back("");
  const Lines lines = body(test::worked_example(), t);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "M07"), 80);
  EXPECT_EQ(lines.back(), "M09");
}

TEST(ContourPath, MarkingLoopKeepsItsLeadInWithCompensation) {
  NcCase c = square(-5);
  c.assignment.Ord_dat.at(0, 7) = "mark";
  const Lines lines = body(c);
  EXPECT_EQ(lines[1], "M08");
  EXPECT_EQ(lines[2], "KM");
  EXPECT_EQ(lines[3], "G01X50.Y0.G41");
}

TEST(ContourPath, PointIsRapidStartConditionAndEnd) {
  NcCase c;
  c.set_layer(2, LayerBuilder{}.point(5, 7.5, 1));
  c.assignment.Ord_dat = test::cut_list({{"ly2", 1, 1, 5, 7.5, 5, 7.5, "mark", "pt"}});
  EXPECT_EQ(body(c), (Lines{"G00X5.Y7.5G40", "M08", "KM", "M09"}));
}

TEST(ContourPath, PointKeepsTheConditionOfThePreviousContour) {
  NcCase c;
  c.set_layer(0, LayerBuilder{}.point(1, 1, 1).line(0, 5, 100, 5, 2, 1).point(2, 2, 3));
  c.assignment.Ord_dat = test::cut_list({{"ly0", 1, 1, 1, 1, 1, 1, "cut", "pt"},
                                         {"ly0", 2, 1, 0, 5, 100, 5, "cut", "line"},
                                         {"ly0", 3, 1, 2, 2, 2, 2, "cut", "pt"}});
  // Nothing chosen before the first contour: no condition block at all.
  EXPECT_EQ(body(c), (Lines{"G00X1.Y1.G40", "M07", "(CUT)", "M09", "G00X0.Y5.G40", "M07", "(CUT)", "K2",
                            "G01X100.Y5.", "M09", "M99", "G00X2.Y2.G40", "M07", "(CUT)", "K2", "M09"}));
}

TEST(ContourPath, ContoursOfUntickedLayersOrUnknownApproachWriteNothing) {
  NcCase c = test::worked_example();
  c.options.layers[1] = false;
  Lines lines = body(c);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "M08"), 0);
  c.options.layers[1] = true;
  c.assignment.Ord_dat.at(0, 2) = 7;  // the circle has no element 7
  lines = body(c);
  EXPECT_EQ(lines.front(), "G00X60.Y20.G40");
}

// A D-shaped outline: the upper half of a circle of radius 50 about
// (50, 0), closed by its diameter, entered from above the arc's middle.
NcCase d_shape(double approach_y) {
  NcCase c;
  c.set_layer(0, LayerBuilder{}.arc(50, 0, 50, 0, 180, 1, 1).line(0, 0, 100, 0, 1, 2));
  c.assignment.Ord_dat = test::cut_list({{"ly0", 1, 1, 50, approach_y, 50, 50, "cut", "loop"}});
  c.assignment.last_is_outline = true;
  return c;
}

TEST(ContourPath, LoopEnteredOnAnArcFromOutsideRunsClockwise) {
  const Lines expected = {"G00X50.Y55.G40",   "M07",       "(CUT)",           "K2",  "G01X50.Y50.G41",
                          "G02X100.Y0.J-50.", "G01X0.Y0.", "G02X50.Y50.I50.", "M09", "M99"};
  EXPECT_EQ(body(d_shape(55)), expected);
}

TEST(ContourPath, LoopEnteredOnAnArcFromInsideRunsCounterClockwise) {
  const Lines lines = body(d_shape(45));
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[5], "G03X0.Y0.J-50.");
  EXPECT_EQ(lines[6], "G01X100.Y0.");
  EXPECT_EQ(lines[7], "G03X50.Y50.I-50.");
}

TEST(ContourPath, ArcLoopJointStopsBeforeTheContactPoint) {
  NcCase c = d_shape(55);
  c.options.joints = true;
  // 3 back from (50, 50) along the arc: the angle atan(3 / 50) past 90 degrees.
  EXPECT_EQ(body(c)[7], "G02X47.005Y49.91I50.");
}

// A joint the closing move has no room for would stop behind the move's
// start, and the tool would run back over the cut, or round the whole arc:
// that contour is cut whole and named, and the program is still written.
Lines body_warning(const NcCase& c, Warnings& warnings) {
  auto blocks = nc_body(c.input(), test::example_templates(), &warnings);
  EXPECT_TRUE(blocks.ok()) << (blocks.ok() ? "" : blocks.error().message);
  return blocks.ok() ? body_lines(*blocks) : Lines{};
}

TEST(ContourPath, AJointLongerThanTheClosingLineIsLeftOut) {
  NcCase c = square(-5);
  c.options.joints = true;
  c.settings.ini_joint = 50.0f;  // the closing line runs from (100, 0) to (50, 0)
  Warnings warnings;
  EXPECT_EQ(body_warning(c, warnings)[9], "G01X100.Y0.");
  EXPECT_TRUE(warnings.empty());
  c.settings.ini_joint = 50.5f;
  c.settings.ini_joint_text = "50.50";
  EXPECT_EQ(body_warning(c, warnings)[9], "G01X50.Y0.");  // closed at the contact point
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].message,
            "contour 1 on layer ly0: the joint length \"50.50\" of Zemlak/Bin/set.ini line 8 does not fit "
            "on the closing move, which has room for 50: cut whole, without a joint");
}

TEST(ContourPath, AJointLongerThanTheClosingArcHasRoomForIsLeftOut) {
  // The top of a circle of radius 100 about (50, 0), from 60 to 120
  // degrees, closed by its chord and entered from above its middle: the
  // closing arc turns 30 degrees, room for a joint of 100 tan 30 = 57.735.
  const double x120 = 50 + 100 * std::cos(120 * kPi / 180), x60 = 50 + 100 * std::cos(60 * kPi / 180);
  const double y = 100 * std::sin(60 * kPi / 180);
  NcCase c;
  c.set_layer(0, LayerBuilder{}.arc(50, 0, 100, 60, 120, 1, 1).line(x120, y, x60, y, 1, 2));
  c.assignment.Ord_dat = test::cut_list({{"ly0", 1, 1, 50, 105, 50, 100, "cut", "loop"}});
  c.assignment.last_is_outline = true;
  c.options.joints = true;
  c.settings.ini_joint = 57.7f;
  const Lines lines = body(c);
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[5], "G02X100.Y86.603J-100.");
  // atan(57.7 / 100) = 29.985 degrees back from the top: just on from the
  // chord's end at 120 degrees.
  EXPECT_EQ(lines[7], "G02X0.023Y86.616I50.J-86.603");
  c.settings.ini_joint = 57.8f;
  Warnings warnings;
  EXPECT_EQ(body_warning(c, warnings)[7], "G02X50.Y100.I50.J-86.603");  // closed at the contact point
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].message.find("which has room for 57.7350269189623: cut whole"), std::string::npos)
      << warnings[0].message;
  // A closing arc of a quarter turn has room for any joint.
  NcCase d = d_shape(55);
  d.options.joints = true;
  d.settings.ini_joint = 1e6f;
  EXPECT_TRUE(nc_body(d.input(), test::example_templates()).ok());
}

TEST(ContourPath, ClosingArcKeepsTheApproachArcsDirection) {
  // A lower half circle closed by a concave arc above it, entered on the
  // half circle's middle from outside: the concave arc is cut the other way
  // round, which must not change the word of the closing arc.
  const double r = std::sqrt(5000.0);
  NcCase c;
  c.set_layer(0, LayerBuilder{}
                     .arc(50, 0, 50, 180, 360, 1, 1)
                     .line(100, 0, 100, 10, 1, 2)
                     .arc(50, 60, r, 225, 315, 1, 3, true)
                     .line(0, 10, 0, 0, 1, 4));
  c.assignment.Ord_dat = test::cut_list({{"ly0", 1, 1, 50, -55, 50, -50, "cut", "loop"}});
  const Lines lines = body(c);
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[5], "G02X0.Y0.J50.");
  EXPECT_EQ(lines[6], "G01X0.Y10.");
  EXPECT_EQ(lines[7], "G03X100.Y10.I50.J50.");
  EXPECT_EQ(lines[8], "G01X100.Y0.");
  EXPECT_EQ(lines[9], "G02X50.Y-50.I-50.");
}

TEST(ContourPath, ArcWithItsCentreStraightBelowItsStartCarriesNoI) {
  NcBlocks blocks;
  const Settings settings = test::example_settings();
  const NcTemplates templates;
  ToolpathRun run{settings, templates, false, blocks, "", ArcWord::none, {}};
  // Counter-clockwise from 0 to 90 degrees, chained from (5, 5) to (10, 0).
  Table t = LayerBuilder{}.arc(5, 0, 5, 0, 90, 1, 1, true).table();
  const std::vector<ContourElement> elements = {read_element(t, 0)};
  ContourWalk walk{run, elements, {}, false, false, std::nullopt};
  put_elements(walk, 0, 1, 1);
  EXPECT_EQ(body_lines(blocks), Lines{"G02X10.Y0.J-5."});
  EXPECT_EQ(walk.last.x, elements[0].p2.x);
  EXPECT_FALSE(walk.no_direction);
}

TEST(ContourPath, ArcDirectionUndecidedOnTheFirstArcIsAnError) {
  // The approach starts on the circle itself and no arc came before.
  NcCase c = one_circle(5, 15);
  c.assignment.Ord_dat.at(0, 4) = 25.0;  // A at the top of the circle: D = 0
  auto blocks = nc_body(c.input(), test::example_templates());
  ASSERT_FALSE(blocks.ok());
  EXPECT_NE(blocks.error().message.find("contour 1 on layer ly0"), std::string::npos);
}

TEST(ContourPath, ACoordinateWithoutNumberIsAnErrorNotAZero) {
  NcCase c = test::worked_example();
  c.settings.ini_S_suu = 0;
  auto blocks = nc_body(c.input(), test::example_templates());
  ASSERT_FALSE(blocks.ok());
  EXPECT_NE(blocks.error().message.find("not a finite number"), std::string::npos);
}

struct TurnCase {
  double dx1, dy1, dx2, dy2;
  bool left;
};

class StartsLeftTurn : public ::testing::TestWithParam<TurnCase> {};

TEST_P(StartsLeftTurn, IsTheSignOfTheTurn) {
  const TurnCase t = GetParam();
  const Point A{10, 10}, C{10 + t.dx1, 10 + t.dy1}, P2{C.x + t.dx2, C.y + t.dy2};
  EXPECT_EQ(starts_left_turn(A, C, P2, 1000), t.left);
}

INSTANTIATE_TEST_SUITE_P(Table, StartsLeftTurn,
                         ::testing::Values(TurnCase{1, 1, -1, 1, true}, TurnCase{1, 1, 1, 1, false},
                                           TurnCase{-1, 1, -1, -1, true}, TurnCase{-1, 1, -1, 1, false},
                                           TurnCase{-1, -1, 1, -1, true}, TurnCase{-1, -1, -1, -1, false},
                                           TurnCase{1, -1, 1, 1, true}, TurnCase{1, -1, -1, 1, false},
                                           TurnCase{0, -5, 50, 0, true}, TurnCase{0, -5, -50, 0, false},
                                           TurnCase{0, 5, -50, 0, true}, TurnCase{0, 5, 50, 0, false},
                                           // An element a hair off the axes turns as a square one.
                                           TurnCase{0, 5, -50, 1, true}, TurnCase{0, 3, -105.919, 0.01, true},
                                           TurnCase{0, 3, 105.919, 0.01, false},
                                           TurnCase{3, 0, 0.01, 105.9, true}, TurnCase{5, 0, 0, 50, true},
                                           TurnCase{5, 0, 0, -50, false}, TurnCase{-5, 0, 0, -50, true},
                                           TurnCase{-5, 0, 0, 50, false}, TurnCase{0, 0, 0, 50, false},
                                           TurnCase{0, 0, -50, 0, false},
                                           // Differences below half a grid step count as none.
                                           TurnCase{0.0004, 5, -50, 0.0004, true}));

}  // namespace
}  // namespace makenc
