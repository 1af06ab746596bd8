#include "preview/material_map.h"

#include <gtest/gtest.h>

#include "support/drawing_rows.h"
#include "support/surface_probe.h"

namespace makenc {
namespace {

using test::count_colour;
using test::drawing_of;
using test::joined;
using test::rectangle_rows;

constexpr LayerTicks kAllTicked{true, true, true, true, true, true};

// A plate of 100 x 60 with a round hole at (30, 30) and a square hole
// 60..80 x 20..40, all cutting lines.
Drawing plate_with_holes() {
  return drawing_of(joined(joined(rectangle_rows(0, 0, 100, 60), {test::circle_row(30, 30, 10)}),
                           rectangle_rows(60, 20, 80, 40)),
                    100, 60);
}

Preview preview_of(const Drawing& d, int w = kBatchPreviewWidth, int h = kBatchPreviewHeight) {
  Preview p;
  redraw_preview(p, d, kAllTicked, w, h);
  return p;
}

// The map colour at a drawing point.
Colour at(const Preview& p, double x, double y) {
  return p.surface.pixel(p.fit.Scr_x0 + p.fit.Scr_k * x, p.fit.Scr_y0 - p.fit.Scr_k * y);
}

TEST(MaterialMap, PlateIsGreyHolesBackgroundOutsideLightBlue) {
  const Drawing d = plate_with_holes();
  Preview p = preview_of(d);
  build_material_map(p, d, kAllTicked);
  EXPECT_EQ(at(p, 5, 5), kMaterialGrey);
  EXPECT_EQ(at(p, 90, 50), kMaterialGrey);
  EXPECT_EQ(at(p, 50, 30), kMaterialGrey);
  EXPECT_EQ(at(p, 30, 30), kBackground);
  EXPECT_EQ(at(p, 70, 30), kBackground);
  EXPECT_EQ(at(p, -5, -5), kOutsideBlue);
  EXPECT_EQ(at(p, 50, 65), kOutsideBlue);
  EXPECT_EQ(p.surface.pixel(0, 0), kOutsideBlue);
  EXPECT_EQ(p.surface.pixel(897, 407), kOutsideBlue);
  // The fill settings stay solid grey for what the run draws next.
  EXPECT_EQ(p.surface.fill_style, FillStyle::Solid);
  EXPECT_EQ(p.surface.fill_colour, kMaterialGrey);
}

TEST(MaterialMap, BuildingRedrawsAndSoErasesEarlierPainting) {
  const Drawing d = plate_with_holes();
  Preview p = preview_of(d);
  paint_material(p, p.fit.Scr_x0 + p.fit.Scr_k * 30, p.fit.Scr_y0 - p.fit.Scr_k * 30);
  ASSERT_EQ(at(p, 30, 30), kMaterialGrey);
  build_material_map(p, d, kAllTicked);
  EXPECT_EQ(at(p, 30, 30), kBackground);
}

TEST(MaterialMap, OnlyTheFirstOfTwoSeparatePartsBecomesMaterial) {
  const Drawing d = drawing_of(joined(rectangle_rows(0, 0, 40, 40), rectangle_rows(60, 0, 100, 40)), 100, 40);
  Preview p = preview_of(d);
  build_material_map(p, d, kAllTicked);
  EXPECT_EQ(at(p, 20, 20), kMaterialGrey);
  EXPECT_EQ(at(p, 80, 20), kBackground);
  EXPECT_EQ(at(p, 50, 20), kOutsideBlue);
}

TEST(MaterialMap, DashedOutlinesBoundNothing) {
  // The same plate drawn in marking lines: the outside fill runs through it,
  // and the first enclosed region left is the round hole's.
  const Drawing d =
      drawing_of(joined(rectangle_rows(0, 0, 100, 60, "1"), {test::circle_row(30, 30, 10)}), 100, 60);
  Preview p = preview_of(d);
  build_material_map(p, d, kAllTicked);
  EXPECT_EQ(at(p, 5, 5), kOutsideBlue);
  EXPECT_EQ(at(p, 30, 30), kMaterialGrey);
}

TEST(MaterialMap, WithoutAnEnclosedRegionTheOutsideBecomesMaterial) {
  const Drawing d = drawing_of({test::line_row(0, 0, 100, 60), test::line_row(0, 60, 100, 0)}, 100, 60);
  Preview p = preview_of(d);
  build_material_map(p, d, kAllTicked);
  EXPECT_EQ(count_colour(p.surface, kOutsideBlue), 0);
  EXPECT_EQ(p.surface.pixel(0, 0), kMaterialGrey);
  EXPECT_EQ(at(p, 50, 10), kMaterialGrey);
}

TEST(MaterialMap, APictureNarrowerThanTheMarginStillSamplesTheOutside) {
  const Drawing d = plate_with_holes();
  Preview p = preview_of(d, 60, 40);
  ASSERT_LT(p.fit.Scr_x0, 10);
  build_material_map(p, d, kAllTicked);
  EXPECT_EQ(p.surface.pixel(0, 0), kOutsideBlue);
  EXPECT_EQ(at(p, 5, 50), kMaterialGrey);
}

TEST(MaterialMap, NoDrawingLeavesABlankMapAndEnds) {
  Drawing d;
  Preview p = preview_of(d, 50, 40);
  build_material_map(p, d, kAllTicked);
  EXPECT_EQ(count_colour(p.surface, kMaterialGrey) + count_colour(p.surface, kOutsideBlue), 50 * 40);
}

TEST(MaterialPainting, ALeftClickInsideGreysExactlyThatRegion) {
  const Drawing d = plate_with_holes();
  Preview automatic = preview_of(d);
  build_material_map(automatic, d, kAllTicked);
  Preview clicked = preview_of(d);
  paint_material(clicked, clicked.fit.Scr_x0 + clicked.fit.Scr_k * 90.3,
                 clicked.fit.Scr_y0 - clicked.fit.Scr_k * 50.6);
  EXPECT_EQ(clicked.Mus_clic, 1);
  const auto& a = automatic.surface.pixels();
  const auto& c = clicked.surface.pixels();
  int grey = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i] == kMaterialGrey, c[i] == kMaterialGrey) << i;
    grey += c[i] == kMaterialGrey ? 1 : 0;
  }
  EXPECT_GT(grey, 1000);
  EXPECT_EQ(at(clicked, 30, 30), kBackground);
  EXPECT_EQ(at(clicked, -5, -5), kBackground);
}

TEST(MaterialPainting, ALeftClickOutsideGreysEverythingOutsideTheCuttingOutlines) {
  const Drawing d = plate_with_holes();
  Preview p = preview_of(d);
  paint_material(p, 3, 3);
  EXPECT_EQ(p.surface.pixel(897, 0), kMaterialGrey);
  EXPECT_EQ(at(p, -5, -5), kMaterialGrey);
  EXPECT_EQ(at(p, 5, 5), kBackground);
  EXPECT_EQ(at(p, 30, 30), kBackground);
  EXPECT_EQ(at(p, 70, 30), kBackground);
}

TEST(MaterialPainting, AMarkingLineAcrossThePlateDoesNotSplitIt) {
  const Drawing d = drawing_of(joined(rectangle_rows(0, 0, 100, 60), {test::line_row(0, 0, 100, 60, "5"),
                                                                      test::line_row(50, 0, 50, 60, "1")}),
                               100, 60);
  Preview p = preview_of(d);
  paint_material(p, p.fit.Scr_x0 + p.fit.Scr_k * 90, p.fit.Scr_y0 - p.fit.Scr_k * 10);
  EXPECT_EQ(at(p, 10, 50), kMaterialGrey);
  EXPECT_EQ(at(p, 40, 10), kMaterialGrey);
  EXPECT_EQ(at(p, -5, -5), kBackground);
}

TEST(MaterialPainting, ClicksRoundToTheNearestPixelAndIgnoreNonsense) {
  Preview p = preview_of(drawing_of({test::line_row(0, 30, 100, 30)}, 100, 60), 100, 60);
  // Pixel row 30 is the line; 29.6 rounds onto it, so nothing fills.
  const int line_row_px = static_cast<int>(p.fit.Scr_y0 - p.fit.Scr_k * 30 + 0.5);
  paint_material(p, 50, line_row_px - 0.4);
  EXPECT_EQ(count_colour(p.surface, kMaterialGrey), 0);
  paint_material(p, std::nan(""), 10);
  paint_material(p, 1e300, 10);
  EXPECT_EQ(count_colour(p.surface, kMaterialGrey), 0);
  EXPECT_EQ(p.Mus_clic, 1);
}

TEST(MaterialPainting, ARightClickRestoresThePlainDrawingAtTheSameSize) {
  const Drawing d = plate_with_holes();
  Preview p = preview_of(d, 640, 320);
  const auto plain = p.surface.pixels();
  paint_material(p, 3, 3);
  clear_painting(p, d, kAllTicked);
  EXPECT_EQ(p.Mus_clic, 0);
  EXPECT_EQ(p.surface.width(), 640);
  EXPECT_EQ(p.surface.pixels(), plain);
}

// A surface with one vertical line at x = 20, grey right of it.
Preview striped() {
  Preview p;
  p.surface = Surface(60, 20, kBackground);
  p.surface.line(20, 0, 20, 19, kBlack);
  p.surface.fill_colour = kMaterialGrey;
  p.surface.flood_fill(40, 10, kBlack);
  p.fit.Scr_k = 1;
  p.fit.Scr_x0 = 0;
  p.fit.Scr_y0 = 19;
  return p;
}

TEST(MaterialProbe, OnePixelModeAnswersForThatPixelOnly) {
  const Preview p = striped();
  ProbeWalk walk;
  double x = 40, y = 10;
  EXPECT_TRUE(probe_material(p, Probe::one_pixel, x, y, kMaterialGrey, walk));
  x = 20;
  EXPECT_FALSE(probe_material(p, Probe::one_pixel, x, y, kMaterialGrey, walk));
  EXPECT_EQ(x, 20);
  x = 5;
  EXPECT_TRUE(probe_material(p, Probe::one_pixel, x, y, kBackground, walk));
}

TEST(MaterialProbe, OffTheSurfaceReadsMinusOneAndAnswersFalse) {
  const Preview p = striped();
  ProbeWalk walk;
  double x = -3, y = 10;
  EXPECT_EQ(p.surface.pixel(x, y), -1);
  EXPECT_FALSE(probe_material(p, Probe::one_pixel, x, y, kMaterialGrey, walk));
  EXPECT_FALSE(probe_material(p, Probe::one_pixel, x, y, -1, walk));
  x = 1e40;
  EXPECT_FALSE(probe_material(p, Probe::over_lines, x, y, kMaterialGrey, walk));
}

TEST(MaterialProbe, AWalkStepsOverALineByApproachLengths) {
  const Preview p = striped();
  // Standing on the line at drawing (20, 9), stepping right 3 units a time.
  ProbeWalk walk{20, 9, 3, 0};
  double x = 20, y = 10;
  EXPECT_TRUE(probe_material(p, Probe::over_lines, x, y, kMaterialGrey, walk));
  EXPECT_DOUBLE_EQ(walk.Li_x1, 23);
  EXPECT_DOUBLE_EQ(x, 23);
  EXPECT_DOUBLE_EQ(y, 10);
  // Stepping left lands on the background instead.
  ProbeWalk back{20, 9, -3, 0};
  x = 20;
  EXPECT_FALSE(probe_material(p, Probe::over_lines, x, y, kMaterialGrey, back));
  EXPECT_DOUBLE_EQ(x, 17);
}

TEST(MaterialProbe, AWalkThatCannotLeaveTheLineStopsWithFalse) {
  const Preview p = striped();
  for (const ProbeWalk step :
       {ProbeWalk{20, 9, 0, 0}, ProbeWalk{20, 9, 1e-9, 0}, ProbeWalk{20, 9, 1e300, 1e300}}) {
    ProbeWalk walk = step;
    double x = 20, y = 10;
    EXPECT_FALSE(probe_material(p, Probe::over_lines, x, y, kMaterialGrey, walk));
  }
}

TEST(MaterialProbe, StepsShorterThanAPixelStillCrossTheLine) {
  const Preview p = striped();
  // 0.4 pixel a step: still on the line at 20.4, on the material at 20.8.
  ProbeWalk walk{20, 9, 0.4, 0};
  double x = 20, y = 10;
  EXPECT_TRUE(probe_material(p, Probe::over_lines, x, y, kMaterialGrey, walk));
  EXPECT_DOUBLE_EQ(x, 20.8);
  ProbeWalk back{20, 9, -0.3, 0};
  x = 20;
  EXPECT_FALSE(probe_material(p, Probe::over_lines, x, y, kMaterialGrey, back));
  EXPECT_EQ(p.surface.pixel(x, y), kBackground);
}

TEST(MaterialProbe, AWalkAlongALineLeavesTheSurfaceAndAnswersFalse) {
  const Preview p = striped();
  ProbeWalk walk{20, 9, 0, 2};
  double x = 20, y = 10;
  EXPECT_FALSE(probe_material(p, Probe::over_lines, x, y, kMaterialGrey, walk));
  EXPECT_LT(y, 0);
}

}  // namespace
}  // namespace makenc
