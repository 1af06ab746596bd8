#include <gtest/gtest.h>

#include <cmath>

#include "nc/contour_moves.h"
#include "nc/joints.h"

namespace makenc {
namespace {

void expect_point(Point p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, y, 1e-9);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(round_half_even(0.5), 0);
  EXPECT_EQ(round_half_even(1.5), 2);
  EXPECT_EQ(round_half_even(2.5), 2);
  EXPECT_EQ(round_half_even(2.4999), 2);
  EXPECT_EQ(round_half_even(2.5001), 3);
  EXPECT_EQ(round_half_even(-0.5), 0);
  EXPECT_EQ(round_half_even(-1.5), -2);
}

TEST(JointOnLine, AlongAnAxisTheStopIsTheJointBeforeC) {
  const Point C{50, 50};
  expect_point(joint_on_line({50, 0}, C, 3), 50, 47);    // coming up
  expect_point(joint_on_line({50, 90}, C, 3), 50, 53);   // coming down
  expect_point(joint_on_line({0, 50}, C, 3), 47, 50);    // coming right
  expect_point(joint_on_line({100, 50}, C, 3), 53, 50);  // coming left
  expect_point(joint_on_line(C, C, 3), 50, 50);
}

TEST(JointOnLine, SlantedLineStopsAtAWholeDistanceFromItsStart) {
  // Length 50: 50 - 3 = 47 from P.
  expect_point(joint_on_line({0, 0}, {30, 40}, 3), 28.2, 37.6);
  // 47.5 and 46.5 both round to the even 48 and 46.
  expect_point(joint_on_line({0, 0}, {30, 40}, 2.5), 28.8, 38.4);
  expect_point(joint_on_line({0, 0}, {30, 40}, 3.5), 27.6, 36.8);
  // 50 - 2.2 = 47.8 rounds up to 48.
  expect_point(joint_on_line({10, 10}, {-20, -30}, 2.2), 10 - 28.8, 10 - 38.4);
}

TEST(JointOnCircle, OffsetFromTheLowestPointOnTheSideTheToolReturnsFrom) {
  expect_point(joint_on_circle({10, 10}, 5, ArcWord::G02, 3), 13, 6);
  expect_point(joint_on_circle({10, 10}, 5, ArcWord::G03, 3), 7, 6);
  // Entered elsewhere, the stop turns with the contact point: on the right
  // or at the top it is the stop at the lowest point turned a quarter or a
  // half turn.
  expect_point(joint_on_circle({10, 10}, 5, ArcWord::G02, 3, {10, 5}), 13, 6);
  expect_point(joint_on_circle({10, 10}, 5, ArcWord::G02, 3, {15, 10}), 14, 13);
  expect_point(joint_on_circle({10, 10}, 5, ArcWord::G03, 3, {15, 10}), 14, 7);
  expect_point(joint_on_circle({10, 10}, 5, ArcWord::G02, 3, {10, 15}), 7, 14);
  // A joint wider than the hole has no stop point on it.
  EXPECT_TRUE(std::isnan(joint_on_circle({0, 0}, 2, ArcWord::G03, 3).y));
}

TEST(JointOnArc, StopsAgainstTheDirectionOfTravel) {
  const double h = 10 / std::sqrt(2.0);
  // C straight above the centre; j = r gives 45 degrees.
  expect_point(joint_on_arc({0, 0}, 10, {0, 10}, -1, 10), h, h);  // counter-clockwise
  expect_point(joint_on_arc({0, 0}, 10, {0, 10}, 1, 10), -h, h);  // clockwise
  expect_point(joint_on_arc({0, 0}, 10, {0, 10}, 0, 10), 0, 10);  // undecided: no gap
  expect_point(joint_on_arc({0, 0}, 10, {-10, 0}, -1, 10), -h, h);
  expect_point(joint_on_arc({0, 0}, 10, {0, -10}, 1, 10), h, -h);
  expect_point(joint_on_arc({5, 5}, 10, {5 + h, 5 - h}, -1, 10), 5, -5);
}

TEST(LeavesJoint, OnlyWithJointsOnForTheOuterContourOrLargeOnes) {
  Settings s;
  s.ini_Cond[2] = CondRow{{"300", "1000", "E3"}};
  EXPECT_FALSE(leaves_joint({false, true, false, 0, 5000}, s));
  EXPECT_TRUE(leaves_joint({true, true, false, 0, 1}, s));
  EXPECT_TRUE(leaves_joint({true, false, true, 300, 0}, s));
  EXPECT_FALSE(leaves_joint({true, false, true, 299.9, 5000}, s));
  EXPECT_TRUE(leaves_joint({true, false, false, 0, 1000}, s));
  EXPECT_FALSE(leaves_joint({true, false, false, 5000, 999.9}, s));
}

// The stop point lies the joint length beside the circle's lowest point: a
// circle of a smaller radius has no such point (the square root of a
// negative number) and is cut whole, outer contour or not.
TEST(LeavesJoint, NeverOnACircleSmallerThanTheJoint) {
  Settings s;
  s.ini_joint = 2.0f;
  s.ini_Cond[2] = CondRow{{"0.5", "1000", "E3"}};
  EXPECT_FALSE(leaves_joint({true, true, true, 1, 0}, s));
  EXPECT_FALSE(leaves_joint({true, false, true, 1.999, 0}, s));
  EXPECT_TRUE(leaves_joint({true, true, true, 2, 0}, s));
  EXPECT_TRUE(leaves_joint({true, false, true, 2, 0}, s));
  const Point stop = joint_on_circle({0, 0}, 2, ArcWord::G03, s.ini_joint);
  EXPECT_TRUE(std::isfinite(stop.x) && std::isfinite(stop.y));
  // Loops are measured along their element, not across a circle.
  EXPECT_TRUE(leaves_joint({true, true, false, 0.5, 1}, s));
}

// A program reads the thresholds of the condition rows once: the numbers it
// decides with are those of the rows as typed, blanks, exponents and all.
TEST(ConditionLimits, AreTheRowsThresholdsAndDecideJointsAsTheRowsDo) {
  Settings s;
  s.ini_Cond = {CondRow{{"10", "", "50", "E1"}}, CondRow{{" 5e1", "3D2", "E2"}},
                CondRow{{"300.5x", "-7", "E3"}}};
  const ConditionLimits limits = condition_limits(s);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(limits.r_min[i], s.ini_Cond[i].r_min()) << i;
    EXPECT_EQ(limits.l_min[i], s.ini_Cond[i].l_min()) << i;
  }
  EXPECT_EQ(limits.r_min, (std::array<double, 3>{10, 50, 300.5}));
  EXPECT_EQ(limits.l_min, (std::array<double, 3>{0, 300, -7}));
  for (const bool joints : {false, true})
    for (const bool outer : {false, true})
      for (const bool circle : {false, true})
        for (const double size : {-8.0, 1.0, 2.0, 300.5, 301.0}) {
          const JointQuestion q{joints, outer, circle, size, size};
          EXPECT_EQ(leaves_joint(q, s, limits.r_min[2], limits.l_min[2]), leaves_joint(q, s)) << size;
        }
}

}  // namespace
}  // namespace makenc
