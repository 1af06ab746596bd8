// What a lead-in runs through: every drawn line of the ticked layers but
// at its contact point.
#include "geometry/drawn_elements.h"

#include <gtest/gtest.h>

#include "assign/test_layers.h"

namespace makenc {
namespace {

using test::LayerBuilder;

TEST(DrawnElements, ALeadInMeetsWhatLiesOnItsWayButNotItsContact) {
  LayerBuilder ly0;
  ly0.line(0, 0, 100, 0).line(100, 0, 100, 60).line(100, 60, 0, 60).line(0, 60, 0, 0).contour();
  ly0.circle(50, 30, 5);
  LayerBuilder ly1(ly0.next_contour());
  ly1.line(0, 60, 100, 60, "3").contour();  // a mark drawn over the top side
  const Drawing d = test::make_drawing(100, 60, {{0, ly0.table()}, {1, ly1.table()}}, 3);
  LayerTicks all{true, true, true, true, true, true};
  const DrawnElements drawn(d, all);
  struct Case {
    const char* what;
    double px, py, cx, cy;
    bool meets;
  };
  for (const Case& c : {Case{"from outside to the top side", 50, 65, 50, 60, false},
                        Case{"from inside to the top side", 50, 55, 50, 60, false},
                        Case{"across the hole to the top side", 50, 20, 50, 60, true},
                        Case{"along the top side", 10, 60, 50, 60, true},
                        Case{"from the far side of the drawing", 50, -10, 50, 60, true},
                        Case{"into the hole from its centre", 50, 30, 50, 25, false}}) {
    EXPECT_EQ(drawn.lead_in_meets(c.px, c.py, c.cx, c.cy), c.meets) << c.what;
  }
  LayerTicks only_ly1{false, true, false, false, false, false};
  EXPECT_FALSE(DrawnElements(d, only_ly1).lead_in_meets(50, 20, 50, 60)) << "unticked layers are not drawn";
}

}  // namespace
}  // namespace makenc
