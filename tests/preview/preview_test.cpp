#include "preview/preview.h"

#include <gtest/gtest.h>

#include "support/drawing_rows.h"
#include "support/surface_probe.h"

namespace makenc {
namespace {

using test::count_colour;
using test::drawing_of;

constexpr LayerTicks kAllTicked{true, true, true, true, true, true};

PreviewFit fit_for(double w, double h, float pic_w, float pic_h) {
  PreviewFit f;
  f.Pic_w = pic_w;
  f.Pic_h = pic_h;
  fit_preview(f, drawing_of({}, w, h));
  return f;
}

TEST(PreviewFitting, FillsEightyPercentOfTheLimitingSide) {
  const PreviewFit f = fit_for(100, 50, 500, 300);
  EXPECT_DOUBLE_EQ(f.Fit_kx, 5);
  EXPECT_DOUBLE_EQ(f.Fit_ky, 6);
  EXPECT_FLOAT_EQ(f.Scr_k, 4);
  EXPECT_DOUBLE_EQ(f.Scr_x0, 50);
  EXPECT_DOUBLE_EQ(f.Scr_y0, 260);
  // A tall drawing is limited by the height instead.
  const PreviewFit tall = fit_for(10, 100, 500, 300);
  EXPECT_FLOAT_EQ(tall.Scr_k, 2.4f);
  EXPECT_DOUBLE_EQ(tall.Scr_x0, (500 - 2.4f * 10.0) / 2);
}

TEST(PreviewFitting, ScaleIsSinglePrecision) {
  const PreviewFit f = fit_for(3, 3, 100, 100);
  EXPECT_EQ(f.Scr_k, static_cast<float>(0.8 * 100 / 3));
  EXPECT_DOUBLE_EQ(to_screen_len(f, 3.0), static_cast<double>(f.Scr_k) * 3);
  EXPECT_DOUBLE_EQ(to_screen_len(f, Cell("1.5")), static_cast<double>(f.Scr_k) * 1.5);
}

TEST(PreviewFitting, FlatDrawingsAreFittedByTheirOtherSide) {
  const PreviewFit wide = fit_for(100, 0, 500, 300);
  EXPECT_FLOAT_EQ(wide.Scr_k, 4);
  EXPECT_DOUBLE_EQ(wide.Scr_x0, 50);
  EXPECT_DOUBLE_EQ(wide.Scr_y0, 300 - 300 / 2.5);
  const PreviewFit high = fit_for(0, 50, 500, 300);
  EXPECT_FLOAT_EQ(high.Scr_k, 0.8f * 6);
  EXPECT_DOUBLE_EQ(high.Scr_x0, 250);
  const PreviewFit dot = fit_for(0, 0, 500, 300);
  EXPECT_FLOAT_EQ(dot.Scr_k, 1);
  EXPECT_DOUBLE_EQ(dot.Scr_x0, 250);
  EXPECT_DOUBLE_EQ(dot.Scr_y0, 180);
}

TEST(PreviewCellsTest, ClearingEmptiesTheScaledValues) {
  PreviewCells c{1, 2, 3, 4, 5, 6, 7, 8, 9, 2};
  clear_entity_cells(c);
  EXPECT_EQ(c.P_x1, 0);
  EXPECT_EQ(c.P_y2, 0);
  EXPECT_EQ(c.P_r, 0);
  EXPECT_EQ(c.P_ea, 0);
}

Preview drawn(const Drawing& d, int w = 500, int h = 300, const LayerTicks& ticks = kAllTicked) {
  Preview p;
  redraw_preview(p, d, ticks, w, h);
  return p;
}

TEST(PreviewRedraw, DrawsTheDrawingAtItsFit) {
  const Preview p = drawn(drawing_of(test::rectangle_rows(0, 0, 100, 50), 100, 50));
  EXPECT_EQ(p.surface.width(), 500);
  EXPECT_EQ(p.surface.height(), 300);
  EXPECT_EQ(p.surface.background(), kBackground);
  EXPECT_FLOAT_EQ(p.fit.Pic_w, 500);
  EXPECT_EQ(p.surface.pixel(50, 260), kBlack);   // the drawing origin
  EXPECT_EQ(p.surface.pixel(450, 60), kBlack);   // (100, 50)
  EXPECT_EQ(p.surface.pixel(250, 260), kBlack);  // bottom side
  EXPECT_EQ(p.surface.pixel(250, 160), kBackground);
  EXPECT_EQ(p.surface.pixel(49, 260), kBackground);
}

TEST(PreviewRedraw, UntickedLayersAndMissingTablesShowNothing) {
  Drawing d = drawing_of(test::rectangle_rows(0, 0, 100, 50), 100, 50, 2);
  LayerTicks ticks{};
  ticks[2] = false;
  ticks[3] = true;  // ticked but without a table
  const Preview p = drawn(d, 500, 300, ticks);
  EXPECT_EQ(count_colour(p.surface, kBackground), 500 * 300);
  ticks[2] = true;
  EXPECT_GT(count_colour(drawn(d, 500, 300, ticks).surface, kBlack), 0);
}

TEST(PreviewRedraw, WithoutABoundingBoxOnlyErases) {
  Drawing d;
  const Preview p = drawn(d, 40, 30);
  EXPECT_EQ(p.surface.width(), 40);
  EXPECT_EQ(count_colour(p.surface, kBackground), 40 * 30);
}

TEST(PreviewRedraw, ATooSmallWindowLeavesOneBlankPixel) {
  const Drawing d = drawing_of(test::rectangle_rows(0, 0, 100, 50), 100, 50);
  for (auto [w, h] : {std::pair{0, 300}, {500, -3}, {-5, -48}}) {
    const Preview p = drawn(d, w, h);
    EXPECT_EQ(p.surface.width(), 1);
    EXPECT_EQ(p.surface.height(), 1);
    EXPECT_EQ(p.surface.pixel(0, 0), kBackground);
  }
}

TEST(PreviewRedraw, ARedrawErasesEarlierPixels) {
  const Drawing d = drawing_of(test::rectangle_rows(0, 0, 100, 50), 100, 50);
  Preview p = drawn(d);
  p.surface.set_pixel(5, 5, kMaterialGrey);
  redraw_preview(p, d, kAllTicked, 500, 300);
  EXPECT_EQ(p.surface.pixel(5, 5), kBackground);
}

TEST(PreviewPainting, TheSpareRowIsNeverDrawn) {
  // The spare row is made to hold a line; it still must not show.
  Table t = test::layer_table({test::line_row(0, 0, 100, 0)});
  t.copy_row(1, test::layer_table({test::line_row(0, 50, 100, 50)}), 0);
  Preview p = drawn(Drawing{}, 500, 300);
  fit_preview(p.fit, drawing_of({}, 100, 50));
  painting(p, t);
  EXPECT_EQ(p.surface.pixel(250, 260), kBlack);
  EXPECT_EQ(p.surface.pixel(250, 60), kBackground);
}

TEST(PreviewPainting, RowsOfOtherKindsAndEmptyTablesAreSkipped) {
  test::Row other = test::line_row(0, 0, 100, 50);
  other[col::kind] = "BL";
  Preview p = drawn(drawing_of({other}, 100, 50));
  EXPECT_EQ(count_colour(p.surface, kBackground), 500 * 300);
  painting(p, Table{});
  EXPECT_EQ(count_colour(p.surface, kBackground), 500 * 300);
}

TEST(PreviewPainting, CuttingLinesAreSolidAndOthersDashed) {
  const Preview solid = drawn(drawing_of({test::line_row(0, 0, 100, 0, "2")}, 100, 50));
  const Preview dashed = drawn(drawing_of({test::line_row(0, 0, 100, 0, "5")}, 100, 50));
  EXPECT_EQ(count_colour(solid.surface, kBlack), 401);
  const int inked = count_colour(dashed.surface, kBlack);
  EXPECT_GT(inked, 150);
  EXPECT_LT(inked, 401);
  EXPECT_EQ(dashed.surface.draw_style, DrawStyle::DashDotDot);
}

TEST(PreviewPainting, CirclesAreOutlinesAroundTheirCentre) {
  const Preview p = drawn(drawing_of({test::circle_row(50, 25, 10)}, 100, 50));
  // Centre (50, 25) is drawn at (250, 160), radius 40 pixels.
  EXPECT_EQ(p.surface.pixel(290, 160), kBlack);
  EXPECT_EQ(p.surface.pixel(250, 120), kBlack);
  EXPECT_EQ(p.surface.pixel(250, 160), kBackground);
  EXPECT_EQ(p.surface.fill_style, FillStyle::Transparent);
}

TEST(PreviewPainting, ArcsCarryDiscsAtTheirEndsAndLeaveTheFillSolid) {
  const Preview p = drawn(drawing_of({test::arc_row(50, 25, 10, 0, 90, "5")}, 100, 50));
  // Ends at (290, 160) and (250, 120): filled discs of radius 2.
  for (auto [x, y] : {std::pair{290, 160}, {250, 120}}) {
    EXPECT_EQ(p.surface.pixel(x, y), kBlack);
    EXPECT_EQ(p.surface.pixel(x + 1, y + 1), kBlack);
    EXPECT_EQ(p.surface.pixel(x - 1, y - 1), kBlack);
  }
  EXPECT_EQ(p.surface.pixel(210, 160), kBackground);  // the arc stays in the upper right
  EXPECT_EQ(p.surface.fill_style, FillStyle::Solid);
  EXPECT_EQ(p.surface.fill_colour, kBlack);
  EXPECT_EQ(p.cells.P_sa, 0);
  EXPECT_DOUBLE_EQ(p.cells.P_ea, 90 * kPi / 180);
}

TEST(PreviewPainting, ArcAnglesBeyondAFullTurnAreReduced) {
  // 300° + 90° tilt = 390°, reduced by one turn to 30°.
  Preview p = drawn(drawing_of({test::arc_row(50, 25, 10, 300, 330, "2", 90)}, 100, 50));
  EXPECT_DOUBLE_EQ(p.cells.P_sa, 390 * kPi / 180 - 6.28318530717958);
  EXPECT_DOUBLE_EQ(p.cells.P_ea, 420 * kPi / 180 - 6.28318530717958);
  // Drawn from 30° to 60°: the pixel at 45° is inked, the one at 225° not.
  EXPECT_TRUE(test::colour_near(p.surface, 250 + 40 * 0.7071, 160 - 40 * 0.7071, kBlack));
  EXPECT_FALSE(test::colour_near(p.surface, 250 - 40 * 0.7071, 160 + 40 * 0.7071, kBlack));
}

TEST(PreviewPainting, PointsAreDarkRedRingsThatTakeTheCurrentFill) {
  const Preview plain = drawn(drawing_of({test::point_row(50, 25)}, 100, 50));
  EXPECT_EQ(plain.surface.pixel(252, 160), kPointRed);
  EXPECT_EQ(plain.surface.pixel(250, 158), kPointRed);
  EXPECT_EQ(plain.surface.pixel(250, 160), kBackground);
  // After an arc the fill is solid black, so the ring is filled black.
  const Preview after_arc =
      drawn(drawing_of({test::arc_row(20, 10, 5, 0, 90), test::point_row(50, 25)}, 100, 50));
  EXPECT_EQ(after_arc.surface.pixel(250, 160), kBlack);
  EXPECT_EQ(after_arc.surface.pixel(252, 160), kPointRed);
}

}  // namespace
}  // namespace makenc
