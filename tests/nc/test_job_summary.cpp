// The job summary against a plate worked out by hand: a 200 x 100 outline,
// a hole of radius 10, a slot of two half circles entered on an arc, a
// marking line and a marked point.
#include <gtest/gtest.h>

#include <cmath>

#include "nc/nc_program.h"
#include "nc_fixtures.h"

namespace makenc {
namespace {

using test::LayerBuilder;
using test::NcCase;

NcCase plate_with_slot() {
  NcCase c;
  c.set_layer(0, LayerBuilder{}
                     .rectangle(200, 100, 1)
                     .circle(40, 50, 10, 2)
                     .line(130, 40, 140, 40, 3, 1)
                     .arc(140, 50, 10, 270, 90, 3, 2)
                     .line(140, 60, 130, 60, 3, 3)
                     .arc(130, 50, 10, 90, 270, 3, 4));
  c.set_layer(1, LayerBuilder{}.line(20, 80, 60, 80, 4, 1));
  c.set_layer(3, LayerBuilder{}.point(180, 20, 5));
  c.assignment.Ord_dat = test::cut_list({{"ly0", 2, 1, 40, 45, 40, 40, "cut", "circle"},
                                         {"ly1", 4, 1, 20, 80, 60, 80, "mark", "line"},
                                         {"ly0", 3, 4, 125, 50, 120, 50, "cut", "loop"},
                                         {"ly3", 5, 1, 180, 20, 180, 20, "mark", "pt"},
                                         {"ly0", 1, 3, 100, 105, 100, 100, "cut", "loop"}});
  c.assignment.last_is_outline = true;
  return c;
}

TEST(JobSummary, PlateWithHoleSlotAndMarkingMatchesTheHandComputedValues) {
  const double pi = kPi;
  // Lead-in 5 and the whole circle; the slot from its contact point a
  // quarter arc, line, half arc, line and the closing quarter arc; the
  // outline's four sides with a lead-in.
  const double hole = 5 + 20 * pi, slot = 5 + 20 + 20 * pi, outline = 5 + 600;
  // The hole's joint 3 off its lowest point leaves asin(0.3) of the circle.
  const double hole_joint = 5 + 10 * (2 * pi - std::asin(0.3));
  const double hole_joint_end_y = 50 - std::sqrt(91.0);
  const double to_hole = std::hypot(40, 45), hole_to_line = std::hypot(20, 40),
               line_to_slot = std::hypot(65, 30), slot_to_point = std::hypot(60, 30),
               point_to_outline = std::hypot(80, 85);
  const double rapids = to_hole + hole_to_line + line_to_slot + slot_to_point + point_to_outline;
  struct Counts {
    std::int64_t contours_cut, contours_marked, pierces;
    double cut_length, marking_length, rapid_length;
  };
  struct Row {
    const char* what;
    bool joints, small_holes_joined, skip_outline, marking_layer;
    Counts expected;
  };
  const Row rows[] = {
      {"every contour, no joints", false, false, false, true, {3, 2, 3, hole + slot + outline, 40, rapids}},
      // The outline stops 3 short of its contact point (100, 100).
      {"joints on the outline", true, false, false, true, {3, 2, 3, hole + slot + outline - 3, 40, rapids}},
      {"joints on the hole too",
       true,
       true,
       false,
       true,
       {3, 2, 3, hole_joint + slot + outline - 3, 40,
        rapids - hole_to_line + std::hypot(17, 80 - hole_joint_end_y)}},
      {"outline left out", false, false, true, true, {2, 2, 2, hole + slot, 40, rapids - point_to_outline}},
      {"marking layer unticked",
       false,
       false,
       false,
       false,
       {3, 1, 3, hole + slot + outline, 0, rapids - hole_to_line - line_to_slot + std::hypot(85, 10)}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    NcCase c = plate_with_slot();
    c.options.joints = row.joints;
    c.options.skip_outline = row.skip_outline;
    c.options.layers[1] = row.marking_layer;
    if (row.small_holes_joined) c.settings.ini_Cond[2] = CondRow{{"5", "1000", "K3"}};
    const Result<JobSummary> got = job_summary(c.input());
    ASSERT_TRUE(got.ok()) << got.error().message;
    EXPECT_EQ(got->contours_cut, row.expected.contours_cut);
    EXPECT_EQ(got->contours_marked, row.expected.contours_marked);
    EXPECT_EQ(got->pierces, row.expected.pierces);
    EXPECT_NEAR(got->cut_length, row.expected.cut_length, 1e-6);
    EXPECT_NEAR(got->marking_length, row.expected.marking_length, 1e-6);
    EXPECT_NEAR(got->rapid_length, row.expected.rapid_length, 1e-6);
  }
}

}  // namespace
}  // namespace makenc
