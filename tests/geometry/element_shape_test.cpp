// Where a straight lead-in meets a drawn line, arc or circle, and how often
// a ray crosses one.
#include "geometry/element_shape.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "support/drawing_rows.h"

namespace makenc {
namespace {

TEST(ElementShape, WhereASegmentFirstMeetsIt) {
  struct Case {
    const char* what;
    test::Row row;
    double ax, ay, bx, by;
    std::optional<double> t;  // the fraction of the way from a
  };
  const std::vector<Case> cases{
      {"crossing a line", test::line_row(0, 0, 10, 0), 5, 5, 5, -5, 0.5},
      {"ending on a line", test::line_row(0, 0, 10, 0), 5, 5, 5, 0, 1.0},
      {"short of a line", test::line_row(0, 0, 10, 0), 5, 5, 5, 0.001, std::nullopt},
      {"past a line's end", test::line_row(0, 0, 10, 0), 11, 5, 11, -5, std::nullopt},
      {"along a line", test::line_row(0, 0, 10, 0), -5, 0, 5, 0, 0.5},
      {"beside a line", test::line_row(0, 0, 10, 0), -5, 1e-3, 5, 1e-3, std::nullopt},
      {"into a circle", test::circle_row(0, 0, 5), 0, -10, 0, 0, 0.5},
      {"across a circle", test::circle_row(0, 0, 5), -10, 0, 10, 0, 0.25},
      {"inside a circle", test::circle_row(0, 0, 5), -1, 0, 1, 0, std::nullopt},
      {"touching a circle", test::circle_row(0, 0, 5), -10, 5, 10, 5, 0.5},
      {"through an arc's sweep", test::arc_row(0, 0, 5, 0, 90), 0, 0, 10, 10, 0.5 / std::sqrt(2)},
      {"past an arc's sweep", test::arc_row(0, 0, 5, 0, 90), 0, 0, -10, -10, std::nullopt},
      {"an arc past 0 degrees", test::arc_row(0, 0, 5, 270, 45), 0, 0, 10, 0, 0.5},
  };
  for (const Case& c : cases) {
    const Table t = test::layer_table({c.row});
    const auto shape = element_shape(t, 0);
    ASSERT_TRUE(shape) << c.what;
    const auto t_hit = segment_meets(*shape, c.ax, c.ay, c.bx, c.by);
    ASSERT_EQ(t_hit.has_value(), c.t.has_value()) << c.what;
    if (c.t) {
      EXPECT_NEAR(*t_hit, *c.t, 1e-9) << c.what;
    }
  }
}

TEST(ElementShape, PointsAndEmptyRowsHaveNoShape) {
  const Table t = test::layer_table({test::point_row(1, 1), test::Row(kLastColumn + 1)});
  EXPECT_FALSE(element_shape(t, 0));
  EXPECT_FALSE(element_shape(t, 1));
}

}  // namespace
}  // namespace makenc
