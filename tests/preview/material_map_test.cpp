// The material map: which regions are material by the user's three rules,
// and the preview painted from them pixel by pixel.
#include "preview/material_map.h"

#include <gtest/gtest.h>

#include <cmath>

#include "assign/test_layers.h"
#include "support/surface_probe.h"

namespace makenc {
namespace {

using test::count_colour;
using test::LayerBuilder;
using test::make_drawing;

constexpr LayerTicks kAllTicked{true, true, true, true, true, true};

// A plate of 100 x 60 with a round hole at (30, 30) and a square hole
// 60..80 x 20..40; `extra` adds to the same layer.
Drawing plate_with_holes(const std::function<void(LayerBuilder&)>& extra = {}) {
  LayerBuilder b;
  b.line(0, 0, 100, 0).line(100, 0, 100, 60).line(100, 60, 0, 60).line(0, 60, 0, 0).contour();
  b.circle(30, 30, 10);
  b.line(60, 20, 80, 20).line(80, 20, 80, 40).line(80, 40, 60, 40).line(60, 40, 60, 20).contour();
  if (extra) extra(b);
  return make_drawing(100, 60, {{0, b.table()}}, 2);
}

struct Mapped {
  Drawing drawing;
  Settings settings;
  Preview preview;
  MaterialMap map;
};

// The first region found is material, and the preview shows it.
Mapped mapped(Drawing d) {
  Mapped m{std::move(d), Settings{}, Preview{}, MaterialMap{}};
  redraw_preview(m.preview, m.drawing, kAllTicked, kBatchPreviewWidth, kBatchPreviewHeight);
  m.map.regions = std::make_shared<const Regions>(m.drawing, kAllTicked, m.settings);
  m.map.ready = true;
  m.map.outside_shown = true;
  const DrawnElements drawn(m.drawing, kAllTicked);
  find_first_material(m.map.material, *m.map.regions, drawn, decision_fit(m.preview, m.drawing, m.settings),
                      m.drawing);
  show_material_map(m.preview, m.map, m.drawing, kAllTicked);
  return m;
}

// The colour at a drawing point.
Colour at(const Preview& p, double x, double y) {
  return p.surface.pixel(p.fit.Scr_x0 + p.fit.Scr_k * x, p.fit.Scr_y0 - p.fit.Scr_k * y);
}

bool material_at(const Mapped& m, double x, double y) {
  return m.map.material.is_material(m.map.regions->region_of(x, y));
}

TEST(MaterialMap, PlateIsGreyHolesBackgroundOutsideLightBlue) {
  const Mapped m = mapped(plate_with_holes());
  EXPECT_EQ(at(m.preview, 5, 5), kMaterialGrey);
  EXPECT_EQ(at(m.preview, 90, 50), kMaterialGrey);
  EXPECT_EQ(at(m.preview, 50, 30), kMaterialGrey);
  EXPECT_EQ(at(m.preview, 30, 30), kBackground);
  EXPECT_EQ(at(m.preview, 70, 30), kBackground);
  EXPECT_EQ(at(m.preview, -5, -5), kOutsideBlue);
  EXPECT_EQ(at(m.preview, 50, 65), kOutsideBlue);
  EXPECT_EQ(m.preview.surface.pixel(0, 0), kOutsideBlue);
  EXPECT_EQ(m.preview.surface.pixel(897, 407), kOutsideBlue);
  // The drawing goes on top of the regions.
  EXPECT_EQ(at(m.preview, 50, 0), kBlack);
  EXPECT_EQ(at(m.preview, 0, 30), kBlack);
}

TEST(MaterialMap, OnlyTheFirstOfTwoSeparatePartsBecomesMaterial) {
  LayerBuilder b;
  b.line(0, 0, 40, 0).line(40, 0, 40, 60).line(40, 60, 0, 60).line(0, 60, 0, 0).contour();
  b.line(60, 0, 100, 0).line(100, 0, 100, 60).line(100, 60, 60, 60).line(60, 60, 60, 0).contour();
  const Mapped m = mapped(make_drawing(100, 60, {{0, b.table()}}, 2));
  EXPECT_TRUE(material_at(m, 20, 30));
  EXPECT_FALSE(material_at(m, 80, 30));
  EXPECT_EQ(at(m.preview, 80, 30), kBackground);
}

TEST(MaterialMap, DashedOutlinesAndOpenLinesBoundNothing) {
  LayerBuilder b;
  b.line(0, 0, 100, 0, "1")
      .line(100, 0, 100, 60, "1")
      .line(100, 60, 0, 60, "1")
      .line(0, 60, 0, 0, "1")
      .contour();
  b.line(10, 10, 90, 10).line(90, 10, 90, 50).contour();
  b.line(20, 20, 40, 20).line(40, 20, 40, 40).line(40, 40, 20, 40).line(20, 40, 20, 20).contour();
  const Mapped m = mapped(make_drawing(100, 60, {{0, b.table()}}, 2));
  EXPECT_EQ(m.map.regions->contours().size(), 1u) << "only the cut square bounds a region";
  EXPECT_TRUE(material_at(m, 30, 30));
  EXPECT_EQ(at(m.preview, 60, 30), kOutsideBlue);
}

TEST(MaterialMap, WithoutAnEnclosedRegionTheOutsideBecomesMaterial) {
  LayerBuilder b;
  b.line(0, 0, 100, 60).contour();
  const Mapped m = mapped(make_drawing(100, 60, {{0, b.table()}}, 2));
  EXPECT_TRUE(material_at(m, 50, 10));
  EXPECT_EQ(at(m.preview, 50, 10), kMaterialGrey);
}

// The search meets a hole standing 0.3 from the plate's lower-left corner
// before the plate: the plate's body is the material all the same.
TEST(MaterialMap, AHoleHuggingTheLowerLeftCornerIsNotTakenForThePlate) {
  const Mapped m = mapped(plate_with_holes([](LayerBuilder& b) { b.circle(2.3, 2.3, 2); }));
  EXPECT_TRUE(material_at(m, 50, 30));
  EXPECT_FALSE(material_at(m, 2.3, 2.3));
  EXPECT_FALSE(material_at(m, 30, 30));
}

// Every part of a nested sheet: odd depths are material, the sheet's edge
// not counted when it is the edge.
TEST(MaterialMap, EveryPartByTheNumberOfContoursAround) {
  LayerBuilder b;
  b.line(0, 0, 100, 0).line(100, 0, 100, 60).line(100, 60, 0, 60).line(0, 60, 0, 0).contour();
  b.circle(30, 30, 20);
  b.circle(30, 30, 10);
  b.circle(30, 30, 5);
  const Drawing d = make_drawing(100, 60, {{0, b.table()}}, 2);
  const Regions regions(d, kAllTicked, Settings{});
  ASSERT_EQ(regions.contours().size(), 4u);
  ASSERT_NE(regions.outline(), kNoContour);
  MaterialRegions counted;
  counted.odd_depth = true;
  MaterialRegions edge = counted;
  edge.uncounted = regions.outline();
  for (const auto& [x, depth] : std::vector<std::pair<double, int>>{{80, 1}, {45, 2}, {37, 3}, {30, 4}}) {
    EXPECT_EQ(counted.is_material(regions.region_of(x, 30)), depth % 2 == 1) << x;
    EXPECT_EQ(edge.is_material(regions.region_of(x, 30)), depth % 2 == 0) << x;
  }
  EXPECT_FALSE(edge.is_material(regions.region_of(-5, 30)));
}

TEST(MaterialPainting, ALeftClickGreysThatRegionAndNoOther) {
  Mapped m{plate_with_holes(), Settings{}, Preview{}, MaterialMap{}};
  redraw_preview(m.preview, m.drawing, kAllTicked, kBatchPreviewWidth, kBatchPreviewHeight);
  paint_region(m.map, m.preview, m.drawing, kAllTicked, m.settings, 30, 30);
  show_material_map(m.preview, m.map, m.drawing, kAllTicked);
  EXPECT_EQ(at(m.preview, 30, 30), kMaterialGrey);
  EXPECT_EQ(at(m.preview, 70, 30), kBackground);
  EXPECT_EQ(at(m.preview, 50, 30), kBackground);
  // The outside, clicked, is material everywhere outside the outlines.
  paint_region(m.map, m.preview, m.drawing, kAllTicked, m.settings, -5, -5);
  show_material_map(m.preview, m.map, m.drawing, kAllTicked);
  EXPECT_EQ(m.preview.surface.pixel(897, 0), kMaterialGrey);
  EXPECT_EQ(at(m.preview, 30, 30), kMaterialGrey);
  EXPECT_EQ(at(m.preview, 50, 30), kBackground);
}

TEST(MaterialPainting, AClickOnALineOrOffTheNumbersPaintsNothing) {
  Mapped m{plate_with_holes(), Settings{}, Preview{}, MaterialMap{}};
  redraw_preview(m.preview, m.drawing, kAllTicked, kBatchPreviewWidth, kBatchPreviewHeight);
  const double pixel = 1 / m.preview.fit.Scr_k;
  paint_region(m.map, m.preview, m.drawing, kAllTicked, m.settings, 50, 60 + 0.5 * pixel);
  paint_region(m.map, m.preview, m.drawing, kAllTicked, m.settings, 40 - 0.5 * pixel, 30);
  EXPECT_TRUE(m.map.material.keys.empty());
  paint_region(m.map, m.preview, m.drawing, kAllTicked, m.settings, std::nan(""), 10);
  paint_region(m.map, m.preview, m.drawing, kAllTicked, m.settings, 1e300, 10);
  EXPECT_FALSE(m.map.material.is_material(m.map.regions->region_of(50, 30)));
}

// A marking line across the plate and a dashed one split nothing.
TEST(MaterialPainting, AMarkingLineAcrossThePlateDoesNotSplitIt) {
  Mapped m{plate_with_holes(
               [](LayerBuilder& b) { b.line(0, 0, 100, 60, "5").contour().line(50, 0, 50, 60, "1"); }),
           Settings{}, Preview{}, MaterialMap{}};
  redraw_preview(m.preview, m.drawing, kAllTicked, kBatchPreviewWidth, kBatchPreviewHeight);
  paint_region(m.map, m.preview, m.drawing, kAllTicked, m.settings, 90, 10);
  EXPECT_TRUE(material_at(m, 10, 50));
  EXPECT_TRUE(material_at(m, 45, 10));
  EXPECT_FALSE(material_at(m, -5, -5));
}

TEST(MaterialPainting, ARightClickRestoresThePlainDrawingAtTheSameSize) {
  const Drawing d = plate_with_holes();
  Preview p;
  redraw_preview(p, d, kAllTicked, 640, 320);
  const auto plain = p.surface.pixels();
  MaterialMap map;
  paint_region(map, p, d, kAllTicked, Settings{}, 50, 30);
  show_material_map(p, map, d, kAllTicked);
  ASSERT_GT(count_colour(p.surface, kMaterialGrey), 1000);
  p.Mus_clic = 1;
  clear_painting(p, d, kAllTicked);
  EXPECT_EQ(p.Mus_clic, 0);
  EXPECT_EQ(p.surface.width(), 640);
  EXPECT_EQ(p.surface.pixels(), plain);
}

// The side is decided at 8 pixels per approach length at least, on the
// preview when it is that fine.
TEST(DecisionFit, ThePreviewWhenFineEnoughElseEightPixelsAnApproach) {
  const Drawing d = plate_with_holes();
  Preview p;
  redraw_preview(p, d, kAllTicked, kBatchPreviewWidth, kBatchPreviewHeight);
  Settings s;
  s.ini_Apr = "5";
  EXPECT_EQ(decision_fit(p, d, s).Scr_k, p.fit.Scr_k);
  s.ini_Apr = "0.01";
  const DecisionFit fine = decision_fit(p, d, s);
  EXPECT_EQ(fine.Scr_k, 800.0F);
  EXPECT_EQ(fine.width, static_cast<int>(std::ceil(800.0F * 100) + 2 * kMapMargin + 1));
  s.ini_Apr = "abc";
  EXPECT_EQ(decision_fit(p, d, s).Scr_k, p.fit.Scr_k) << "an approach NC generation refuses";
}

}  // namespace
}  // namespace makenc
