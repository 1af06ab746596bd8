#include "raster/surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "core/constants.h"
#include "support/surface_probe.h"

namespace makenc {
namespace {

using test::count_colour;
using test::eight_connected;

constexpr double kHalfPi = std::numbers::pi / 2;

Surface blank(int w = 100, int h = 100) { return Surface(w, h, kBackground); }

int count_colour_in_row(const Surface& s, int y, Colour c) {
  int n = 0;
  for (int x = 0; x < s.width(); ++x) n += s.pixel(x, y) == c ? 1 : 0;
  return n;
}

// Fills from a point with grey and tells whether a second point was reached.
bool fill_reaches(Surface s, int fx, int fy, int tx, int ty) {
  s.fill_colour = kMaterialGrey;
  s.flood_fill(fx, fy, kBlack);
  return s.pixel(tx, ty) == kMaterialGrey;
}

TEST(SurfacePixels, ReadsBackgroundAndMinusOneOffTheSurface) {
  Surface s = blank(10, 5);
  EXPECT_EQ(s.pixel(0, 0), kBackground);
  EXPECT_EQ(s.pixel(9, 4), kBackground);
  EXPECT_EQ(s.pixel(10, 0), -1);
  EXPECT_EQ(s.pixel(0, 5), -1);
  EXPECT_EQ(s.pixel(-1, 2), -1);
  EXPECT_EQ(s.pixel(std::nan(""), 2), -1);
  EXPECT_EQ(s.pixel(1e300, 2), -1);
}

TEST(SurfacePixels, FractionalPositionsRoundToTheNearestPixel) {
  Surface s = blank(10, 10);
  s.set_pixel(3, 4, kBlack);
  EXPECT_EQ(s.pixel(2.6, 4.4), kBlack);
  EXPECT_EQ(s.pixel(3.49, 3.5), kBlack);
  EXPECT_EQ(s.pixel(2.4, 4.0), kBackground);
}

TEST(SurfacePixels, EraseAndResizeReturnToTheBackground) {
  Surface s = blank(10, 10);
  s.line(0, 0, 9, 9, kBlack);
  s.erase();
  EXPECT_EQ(count_colour(s, kBackground), 100);
  s.line(0, 0, 9, 9, kBlack);
  s.resize(4, 3);
  EXPECT_EQ(s.width(), 4);
  EXPECT_EQ(s.height(), 3);
  EXPECT_EQ(count_colour(s, kBackground), 12);
}

TEST(SurfaceLines, SolidLineHasBothEndsAndOnePixelPerColumn) {
  Surface s = blank(50, 50);
  s.line(2, 3, 40, 17, kBlack);
  EXPECT_EQ(s.pixel(2, 3), kBlack);
  EXPECT_EQ(s.pixel(40, 17), kBlack);
  EXPECT_EQ(count_colour(s, kBlack), 39);
  EXPECT_TRUE(eight_connected(s, kBlack));
}

TEST(SurfaceLines, SteepAndReversedLinesAreEightConnected) {
  for (const auto& [x1, y1, x2, y2] : {std::array{45.0, 2.0, 3.0, 48.0}, std::array{10.2, 40.7, 12.9, 1.1},
                                       std::array{0.0, 0.0, 49.0, 49.0}}) {
    Surface s = blank(50, 50);
    s.line(x1, y1, x2, y2, kBlack);
    EXPECT_TRUE(eight_connected(s, kBlack));
    EXPECT_EQ(s.pixel(x1, y1), kBlack);
    EXPECT_EQ(s.pixel(x2, y2), kBlack);
  }
}

TEST(SurfaceLines, LinesReachingFarOffTheSurfaceDrawOnlyWhatShows) {
  Surface a = blank(60, 40);
  a.line(-1e12, 20, 1e12, 20, kBlack);
  for (int x = 0; x < 60; ++x) EXPECT_EQ(a.pixel(x, 20), kBlack) << x;
  EXPECT_EQ(count_colour(a, kBlack), 60);
  // Ends at the extremes of the doubles: no overflow, and only that row.
  Surface c = blank(60, 40);
  c.line(-1e308, 20, 1e308, 20, kBlack);
  EXPECT_EQ(count_colour(c, kBlack), count_colour_in_row(c, 20, kBlack));
  Surface b = blank(60, 40);
  b.line(std::nan(""), 0, 10, 10, kBlack);
  b.line(0, 0, 10, std::nan(""), kBlack);
  b.line(0, 0, INFINITY, 10, kBlack);
  EXPECT_EQ(count_colour(b, kBlack), 0);
}

TEST(SurfaceLines, ClippingDoesNotMoveThePixels) {
  // The same line drawn on a small and a large surface shares its pixels.
  Surface small = blank(30, 30);
  Surface large = blank(300, 300);
  small.line(-50.3, -20.8, 77.1, 41.4, kBlack);
  large.line(-50.3, -20.8, 77.1, 41.4, kBlack);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) EXPECT_EQ(small.pixel(x, y), large.pixel(x, y)) << x << "," << y;
}

TEST(SurfaceLines, DashedStylesLeaveGaps) {
  for (DrawStyle style : {DrawStyle::Dotted, DrawStyle::DashDotDot}) {
    Surface s = blank(100, 10);
    s.draw_style = style;
    s.line(0, 5, 99, 5, kBlack);
    const int inked = count_colour(s, kBlack);
    EXPECT_GT(inked, 10);
    EXPECT_LT(inked, 80);
  }
}

// A box of four lines in a style, with the fill started inside.
bool box_holds(DrawStyle style, bool diamond) {
  Surface s = blank(120, 120);
  s.draw_style = style;
  if (diamond) {
    s.line(60, 10, 110, 60, kBlack);
    s.line(110, 60, 60, 110, kBlack);
    s.line(60, 110, 10, 60, kBlack);
    s.line(10, 60, 60, 10, kBlack);
  } else {
    s.line(10, 10, 110, 10, kBlack);
    s.line(110, 10, 110, 110, kBlack);
    s.line(110, 110, 10, 110, kBlack);
    s.line(10, 110, 10, 10, kBlack);
  }
  return !fill_reaches(s, 60, 60, 1, 1);
}

TEST(SurfaceFill, SolidLinesSealWhileDashedOnesLetTheFillThrough) {
  for (bool diamond : {false, true}) {
    EXPECT_TRUE(box_holds(DrawStyle::Solid, diamond)) << diamond;
    EXPECT_FALSE(box_holds(DrawStyle::Dotted, diamond)) << diamond;
    EXPECT_FALSE(box_holds(DrawStyle::DashDotDot, diamond)) << diamond;
  }
}

TEST(SurfaceFill, SolidLinesOfEverySlopeSeal) {
  // A triangle with one side at every slope through a range of angles.
  for (int deg = 1; deg < 90; deg += 4) {
    Surface s = blank(140, 140);
    const double a = deg * std::numbers::pi / 180;
    const double ex = 10 + 120 * std::cos(a);
    const double ey = 130 - 120 * std::sin(a);
    s.line(10, 130, 130, 130, kBlack);
    s.line(130, 130, ex, ey, kBlack);
    s.line(ex, ey, 10, 130, kBlack);
    // A point well inside the triangle, near the slanted side's middle.
    const double ix = (10 + 130 + ex) / 3;
    const double iy = (130 + 130 + ey) / 3;
    EXPECT_FALSE(fill_reaches(s, static_cast<int>(ix), static_cast<int>(iy), 0, 0)) << deg;
  }
}

TEST(SurfaceFill, FillsOnlyTheFourConnectedRegionAndStopsAtTheBorder) {
  Surface s = blank(20, 20);
  s.line(0, 10, 19, 10, kBlack);
  s.fill_colour = kOutsideBlue;
  s.flood_fill(5, 3, kBlack);
  EXPECT_EQ(s.pixel(5, 3), kOutsideBlue);
  EXPECT_EQ(s.pixel(19, 0), kOutsideBlue);
  EXPECT_EQ(s.pixel(5, 10), kBlack);
  EXPECT_EQ(s.pixel(5, 11), kBackground);
  EXPECT_EQ(count_colour(s, kOutsideBlue), 200);
}

TEST(SurfaceFill, DiagonalNeighboursDoNotCarryTheFill) {
  Surface s = blank(3, 3);
  // The centre is closed off on its four sides only.
  for (auto [x, y] : {std::pair{1, 0}, {0, 1}, {2, 1}, {1, 2}}) s.set_pixel(x, y, kBlack);
  s.fill_colour = kMaterialGrey;
  s.flood_fill(1, 1, kBlack);
  EXPECT_EQ(count_colour(s, kMaterialGrey), 1);
}

TEST(SurfaceFill, StartingOnTheBorderOrOffTheSurfaceDoesNothing) {
  Surface s = blank(10, 10);
  s.line(0, 5, 9, 5, kBlack);
  s.fill_colour = kMaterialGrey;
  s.flood_fill(3, 5, kBlack);
  s.flood_fill(-1, 2, kBlack);
  s.flood_fill(3, 10, kBlack);
  EXPECT_EQ(count_colour(s, kMaterialGrey), 0);
}

TEST(SurfaceFill, PixelsAlreadyInTheFillColourDoNotCutTheRegion) {
  Surface s = blank(30, 3);
  s.line(10, 0, 10, 2, kMaterialGrey);
  s.fill_colour = kMaterialGrey;
  s.flood_fill(0, 1, kBlack);
  EXPECT_EQ(count_colour(s, kMaterialGrey), 90);
}

TEST(SurfaceFill, AHugeWindingRegionFillsWithoutDeepRecursion) {
  // A serpentine corridor one pixel wide defeats any recursive fill.
  const int n = 4000;
  Surface s = blank(n, n);
  for (int x = 1; x < n; x += 2) {
    const double gap = (x / 2) % 2 == 0 ? n - 1 : 0;
    s.line(x, 0, x, n - 1, kBlack);
    s.set_pixel(x, static_cast<int>(gap), kBackground);
  }
  s.fill_colour = kMaterialGrey;
  s.flood_fill(0, 0, kBlack);
  EXPECT_EQ(s.pixel(n - 2, n / 2), kMaterialGrey);
  EXPECT_EQ(count_colour(s, kBackground), 0);
}

// One pixel wide: no two by two block of ink anywhere.
bool has_black_square(const Surface& s) {
  for (int y = 0; y + 1 < s.height(); ++y)
    for (int x = 0; x + 1 < s.width(); ++x)
      if (s.pixel(x, y) == kBlack && s.pixel(x + 1, y) == kBlack && s.pixel(x, y + 1) == kBlack &&
          s.pixel(x + 1, y + 1) == kBlack)
        return true;
  return false;
}

TEST(SurfaceCircles, SolidOutlineIsOnePixelRingThatSealsForEveryRadius) {
  for (int r = 1; r <= 60; ++r) {
    Surface s = blank(140, 140);
    s.circle(70.2, 69.7, r, kBlack);
    EXPECT_TRUE(eight_connected(s, kBlack)) << r;
    EXPECT_FALSE(fill_reaches(s, 70, 70, 0, 0)) << r;
    EXPECT_EQ(s.pixel(70 + r, 70), kBlack) << r;
    EXPECT_EQ(s.pixel(70, 70 - r), kBlack) << r;
    EXPECT_FALSE(has_black_square(s)) << r;
  }
}

TEST(SurfaceCircles, DashedOutlinesLetTheFillOutForEveryRadius) {
  for (DrawStyle style : {DrawStyle::Dotted, DrawStyle::DashDotDot}) {
    for (int r = 6; r <= 60; ++r) {
      Surface s = blank(140, 140);
      s.draw_style = style;
      s.circle(70, 70, r, kBlack);
      EXPECT_TRUE(fill_reaches(s, 70, 70, 0, 0)) << r << " style " << static_cast<int>(style);
    }
  }
}

TEST(SurfaceCircles, SolidFillStyleFillsWithTheFillColour) {
  Surface s = blank(20, 20);
  s.fill_style = FillStyle::Solid;
  s.fill_colour = kMaterialGrey;
  s.circle(10, 10, 4, kPointRed);
  EXPECT_EQ(s.pixel(10, 10), kMaterialGrey);
  EXPECT_EQ(s.pixel(12, 11), kMaterialGrey);
  EXPECT_EQ(s.pixel(14, 10), kPointRed);
  EXPECT_EQ(s.pixel(16, 10), kBackground);
  s.fill_style = FillStyle::Transparent;
  s.circle(10, 10, 2, kBlack);
  EXPECT_EQ(s.pixel(10, 10), kMaterialGrey);
}

TEST(SurfaceCircles, HugeCircleOnlyCostsTheVisiblePart) {
  // A circle of radius 10^9 pixels whose right end crosses the surface.
  Surface s = blank(50, 50);
  s.circle(25 - 1e9, 25, 1e9, kBlack);
  EXPECT_EQ(s.pixel(25, 25), kBlack);
  EXPECT_EQ(s.pixel(25, 0), kBlack);
  EXPECT_EQ(s.pixel(25, 49), kBlack);
  EXPECT_EQ(count_colour(s, kBlack), 50);
  // Its arc through angle 0 of a hundred-millionth of a turn still shows.
  Surface a = blank(50, 50);
  a.arc(25 - 1e9, 25, 1e9, 2 * std::numbers::pi - 1e-8, 1e-8, kBlack);
  EXPECT_EQ(a.pixel(25, 25), kBlack);
  EXPECT_EQ(a.pixel(25, 15), kBlack);
  EXPECT_EQ(a.pixel(25, 36), kBackground);
}

TEST(SurfaceArcs, RunCounterClockwiseOnScreen) {
  Surface s = blank(100, 100);
  // A quarter from 0 (right) to π/2: upward on screen, the upper right.
  s.arc(50, 50, 30, 0, kHalfPi, kBlack);
  EXPECT_EQ(s.pixel(80, 50), kBlack);
  EXPECT_EQ(s.pixel(50, 20), kBlack);
  EXPECT_EQ(s.pixel(71, 29), kBlack);
  EXPECT_EQ(s.pixel(50, 80), kBackground);
  EXPECT_EQ(s.pixel(20, 50), kBackground);
  EXPECT_EQ(s.pixel(71, 71), kBackground);
}

TEST(SurfaceArcs, AnArcPassingZeroGoesTheShortWayRound) {
  Surface s = blank(100, 100);
  s.arc(50, 50, 30, 3 * kHalfPi, kHalfPi, kBlack);  // 270° through 0° to 90°
  EXPECT_EQ(s.pixel(80, 50), kBlack);
  EXPECT_EQ(s.pixel(20, 50), kBackground);
  EXPECT_TRUE(eight_connected(s, kBlack));
}

TEST(SurfaceArcs, EqualAnglesDrawTheWholeCircle) {
  Surface a = blank(60, 60);
  Surface b = blank(60, 60);
  a.arc(30, 30, 20, 1.0, 1.0, kBlack);
  b.circle(30, 30, 20, kBlack);
  EXPECT_EQ(a.pixels(), b.pixels());
}

TEST(SurfaceArcs, ArcsAreNeverFilled) {
  Surface s = blank(60, 60);
  s.fill_style = FillStyle::Solid;
  s.fill_colour = kBlack;
  s.arc(30, 30, 20, 0, 3, kBlack);
  EXPECT_EQ(s.pixel(30, 30), kBackground);
}

// A half disc: a solid diameter closed by an arc in the given style.
bool half_disc_holds(DrawStyle arc_style, double start) {
  Surface s = blank(140, 140);
  const double r = 50;
  s.line(70 + r * std::cos(start), 70 - r * std::sin(start), 70 - r * std::cos(start),
         70 + r * std::sin(start), kBlack);
  s.draw_style = arc_style;
  s.arc(70, 70, r, start, start + std::numbers::pi, kBlack);
  const double mid = start + kHalfPi;
  return !fill_reaches(s, static_cast<int>(70 + 25 * std::cos(mid)),
                       static_cast<int>(70 - 25 * std::sin(mid)), 0, 0);
}

TEST(SurfaceArcs, SolidArcsMeetTheirChordWhileDashedOnesLetTheFillOut) {
  for (double start = 0; start < 6.2; start += 0.37) {
    EXPECT_TRUE(half_disc_holds(DrawStyle::Solid, start)) << start;
    EXPECT_FALSE(half_disc_holds(DrawStyle::DashDotDot, start)) << start;
    EXPECT_FALSE(half_disc_holds(DrawStyle::Dotted, start)) << start;
  }
}

}  // namespace
}  // namespace makenc
