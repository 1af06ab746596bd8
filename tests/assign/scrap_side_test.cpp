// Every lead-in on the scrap side, judged by exact geometry on plates the
// test builds itself: full-size plates with holes of the common shapes,
// some turned, and narrow holes down to one approach length across.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "assign/assignment.h"
#include "assign/dump_cutlist.h"
#include "assign/placement.h"
#include "assign/test_layers.h"
#include "core/constants.h"
#include "preview/material_map.h"
#include "support/scrap_side.h"

namespace makenc {
namespace {

using test::LayerBuilder;
using test::make_drawing;

enum class Shape { rectangle, slot, l_shape, rounded, d_shape, circle };
constexpr Shape kShapes[] = {Shape::rectangle, Shape::slot,    Shape::l_shape,
                             Shape::rounded,   Shape::d_shape, Shape::circle};
constexpr double kTurns[] = {0, 0, 90, 15, 30, 45, 137, 0, 270, 60};

// Draws closed contours counter-clockwise in local coordinates (the hole's
// centre at the origin), turned and moved onto the plate. Each element
// starts where the previous one ended, to the bit, so the contour closes on
// any grid.
class Pen {
 public:
  Pen(LayerBuilder& b, double cx, double cy, double turn_degrees)
      : b_(b),
        cx_(cx),
        cy_(cy),
        turn_(turn_degrees),
        c_(std::cos(turn_ * kPi / 180)),
        s_(std::sin(turn_ * kPi / 180)) {}

  void start(double x, double y) {
    place(x, y, at_x_, at_y_);
    first_x_ = at_x_;
    first_y_ = at_y_;
    b_.contour();
  }
  void line_to(double x, double y) {
    double px = 0, py = 0;
    place(x, y, px, py);
    b_.line(at_x_, at_y_, px, py);
    at_x_ = px;
    at_y_ = py;
  }
  // Counter-clockwise around the local centre (x, y) from local angle a to b.
  void arc(double x, double y, double r, double a, double b) {
    double px = 0, py = 0;
    place(x, y, px, py);
    const double sa = normal(a + turn_), ea = normal(b + turn_);
    b_.arc(px, py, r, sa, ea);
    at_x_ = px + r * std::cos(ea * kPi / 180);
    at_y_ = py + r * std::sin(ea * kPi / 180);
  }
  void close() { b_.line(at_x_, at_y_, first_x_, first_y_); }

 private:
  static double normal(double a) { return std::fmod(std::fmod(a, 360.0) + 360.0, 360.0); }
  void place(double x, double y, double& px, double& py) const {
    px = cx_ + x * c_ - y * s_;
    py = cy_ + x * s_ + y * c_;
  }
  LayerBuilder& b_;
  double cx_, cy_, turn_, c_, s_;
  double at_x_ = 0, at_y_ = 0, first_x_ = 0, first_y_ = 0;
};

// A hole `across` wide (its narrow width) and `along` long.
void hole(LayerBuilder& b, Shape shape, double cx, double cy, double across, double along, double turn) {
  // Slots and L shapes are at least twice as long as they are wide.
  if (shape == Shape::slot || shape == Shape::l_shape) along = std::max(along, 2 * across);
  const double w = std::max(along, across) / 2, h = across / 2;
  Pen p(b, cx, cy, turn);
  switch (shape) {
    case Shape::rectangle:
      p.start(-w, -h), p.line_to(w, -h), p.line_to(w, h), p.line_to(-w, h), p.close();
      break;
    case Shape::slot:  // two lines and two half circles
      p.start(0, -h), p.line_to(w - h, -h), p.arc(w - h, 0, h, 270, 90), p.line_to(-w + h, h);
      p.arc(-w + h, 0, h, 90, 270), p.close();
      break;
    case Shape::l_shape:  // both legs `across` wide
      p.start(-w, -w), p.line_to(w, -w), p.line_to(w, -w + across), p.line_to(-w + across, -w + across);
      p.line_to(-w + across, w), p.line_to(-w, w), p.close();
      break;
    case Shape::rounded: {
      const double r = across / 4;
      p.start(0, -h), p.line_to(w - r, -h), p.arc(w - r, -h + r, r, 270, 0), p.line_to(w, h - r);
      p.arc(w - r, h - r, r, 0, 90), p.line_to(-w + r, h), p.arc(-w + r, h - r, r, 90, 180);
      p.line_to(-w, -h + r), p.arc(-w + r, -h + r, r, 180, 270), p.close();
      break;
    }
    case Shape::d_shape:  // a straight back and a half circle `across` deep
      p.start(-h, -across), p.arc(-h, 0, across, 270, 90), p.close();
      break;
    case Shape::circle: b.circle(cx, cy, across / 2); break;
  }
}

struct Plate {
  const char* name;
  double width, height, approach;
  double smallest, largest;  // hole widths, in approach lengths
  int holes;
  // Holes too narrow for any lead-in: the contours are named instead.
  bool hairline = false;
};

void PrintTo(const Plate& p, std::ostream* os) { *os << p.name; }

struct PlateRun {
  Drawing drawing;
  Assignment a;
  Preview preview;
  MaterialMap map;
  Settings settings;
  LayerTicks ticks{true, true, true, true, true, true};
};

// The plate's outline and `holes` holes on a lattice, their widths stepping
// from the smallest to the largest, the shapes and turns taking turns.
void build_and_run(const Plate& plate, PlateRun& run, bool shown = true) {
  LayerBuilder b;
  b.line(0, 0, plate.width, 0).line(plate.width, 0, plate.width, plate.height);
  b.line(plate.width, plate.height, 0, plate.height).line(0, plate.height, 0, 0).contour();
  const double L = plate.approach;
  const auto columns = static_cast<int>(std::ceil(std::sqrt(plate.holes * plate.width / plate.height)));
  const int rows = (plate.holes + columns - 1) / columns;
  const double cell_x = plate.width / columns, cell_y = plate.height / rows;
  for (int k = 0; k < plate.holes; ++k) {
    // Holes stay within 0.7 of their cell, whatever their turn.
    const double room = 0.7 * std::min(cell_x, cell_y);
    const double across =
        std::min(L * (plate.smallest + (plate.largest - plate.smallest) * (k % 7) / 6.0), room / 2);
    const double along = plate.hairline ? room / (1 + k % 3) : std::min(across * (1 + k % 3), room);
    const double cx = cell_x * (k % columns + 0.5), cy = cell_y * (k / columns + 0.5);
    hole(b, kShapes[k % 6], cx, cy, across, along, kTurns[k % 10]);
  }
  run.drawing = make_drawing(plate.width, plate.height, {{0, b.table()}}, b.next_contour() - 1);
  run.settings.ini_Apr = std::to_string(L);
  redraw_preview(run.preview, run.drawing, run.ticks, kBatchPreviewWidth, kBatchPreviewHeight);
  run_approach_assignment(run.a, run.preview, run.map, run.drawing, run.settings, run.ticks, {}, shown);
}

bool has_colour(const Surface& s, Colour c) {
  for (const Colour p : s.pixels())
    if (p == c) return true;
  return false;
}

// A run nobody looks at paints neither the map nor the rapid moves, and
// places and orders exactly as a shown one.
TEST(UnseenRun, PlacesAndOrdersAsAShownOne) {
  for (const Plate& plate :
       {Plate{"own map", 3000, 1500, 5, 2.5, 10, 60}, Plate{"preview is the map", 300, 150, 5, 1, 2.4, 24}}) {
    PlateRun shown, unseen;
    build_and_run(plate, shown, true);
    build_and_run(plate, unseen, false);
    EXPECT_EQ(dump_cutlist(unseen.a), dump_cutlist(shown.a)) << plate.name;
    EXPECT_EQ(unseen.a.Apr_dat.rows(), shown.a.Apr_dat.rows()) << plate.name;
    for (std::size_t r = 0; r < shown.a.Apr_dat.rows(); ++r)
      for (std::size_t c = 0; c < shown.a.Apr_dat.cols(); ++c)
        ASSERT_EQ(compare(unseen.a.Apr_dat.at(r, c), shown.a.Apr_dat.at(r, c)), 0) << plate.name << " " << r;
    EXPECT_TRUE(has_colour(shown.preview.surface, kTraverseBlue)) << plate.name;
    EXPECT_FALSE(has_colour(unseen.preview.surface, kTraverseBlue)) << plate.name;
    EXPECT_TRUE(has_colour(shown.preview.surface, kMaterialGrey)) << plate.name;
    EXPECT_FALSE(has_colour(unseen.preview.surface, kMaterialGrey)) << plate.name;
  }
}

class ScrapSide : public ::testing::TestWithParam<Plate> {};

// Full-size plates at approach lengths far below a pixel of the preview,
// narrow holes needing shorter lead-ins; only hairline holes, too narrow for
// any, are named.
TEST_P(ScrapSide, EveryLeadInStartsInScrapOrIsNamed) {
  const Plate& plate = GetParam();
  PlateRun run;
  build_and_run(plate, run);
  const double cell = std::min(plate.width, plate.height) / std::sqrt(plate.holes);
  ASSERT_GE(0.35 * cell, plate.smallest * plate.approach) << "the lattice leaves room for the smallest holes";
  ASSERT_EQ(run.a.Ord_dat.rows(), static_cast<std::size_t>(plate.holes + 2)) << "every hole and the outline";
  std::set<std::string> in_material, named;
  for (const test::LeadInStart& s : test::lead_ins_in_material(run.drawing, run.a))
    in_material.insert(contour_reference(s.layer, s.contour));
  for (const Warning& w : run.a.warnings) named.insert(w.message.substr(0, w.message.find(':')));
  if (plate.hairline) {
    // Named exactly where the lead-in starts in material.
    EXPECT_FALSE(named.empty());
    EXPECT_EQ(named, in_material);
  } else {
    EXPECT_EQ(in_material, std::set<std::string>{}) << "lead-ins starting in material";
    EXPECT_EQ(named, std::set<std::string>{}) << "warnings";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Plates, ScrapSide,
    ::testing::Values(Plate{"full_914x1829_approach_3", 914, 1829, 3, 2.5, 10, 120},
                      Plate{"full_1219x2438_approach_3", 1219, 2438, 3, 2.5, 10, 300},
                      Plate{"full_1524x3048_approach_5", 1524, 3048, 5, 2.5, 10, 300},
                      Plate{"full_3000x1500_approach_5", 3000, 1500, 5, 2.5, 10, 700},
                      Plate{"full_6000x3000_approach_5", 6000, 3000, 5, 2.5, 8, 400},
                      Plate{"full_6000x3000_approach_10", 6000, 3000, 10, 2.5, 10, 300},
                      Plate{"slots_3000x1500_approach_5", 3000, 1500, 5, 2, 2, 60},
                      Plate{"narrow_3000x1500_approach_5", 3000, 1500, 5, 1, 2.4, 300},
                      Plate{"narrow_1219x2438_approach_3", 1219, 2438, 3, 1, 2.4, 200},
                      // The preview itself resolves this one: it is the map.
                      Plate{"narrow_small_300x150_approach_5", 300, 150, 5, 1, 2.4, 24},
                      Plate{"hairline_1000x500_approach_5", 1000, 500, 5, 0.05, 0.05, 24, true}),
    [](const ::testing::TestParamInfo<Plate>& plate) { return std::string(plate.param.name); });

// A slit too narrow for any lead-in is named once when it is cut and bounds
// a region of its own; a marking loop (a mark does not pierce) and a cut
// loop with a dashed side (the map runs through it) are not news.
TEST(LeadInWarning, NamesOnlyCutContoursThatBoundARegion) {
  struct Case {
    const char* name;
    std::string colour, side_colour;
    std::size_t warnings;
  };
  for (const Case& c :
       {Case{"cut", "2", "2", 1}, Case{"marked", "3", "3", 0}, Case{"dashed side", "2", "3", 0}}) {
    LayerBuilder b;
    b.line(0, 0, 100, 0).line(100, 0, 100, 60).line(100, 60, 0, 60).line(0, 60, 0, 0).contour();
    b.line(20, 30, 80, 30, c.colour).line(80, 30, 80, 30.0004, c.side_colour);
    b.line(80, 30.0004, 20, 30.0004, c.colour).line(20, 30.0004, 20, 30, c.colour).contour();
    PlateRun run;
    run.drawing = make_drawing(100, 60, {{0, b.table()}}, 2);
    redraw_preview(run.preview, run.drawing, run.ticks, kBatchPreviewWidth, kBatchPreviewHeight);
    run_approach_assignment(run.a, run.preview, run.map, run.drawing, run.settings, run.ticks);
    ASSERT_EQ(run.a.warnings.size(), c.warnings) << c.name;
    if (c.warnings > 0) {
      EXPECT_EQ(run.a.warnings[0].message.rfind("contour 2 on layer ly0: ", 0), 0u) << c.name;
    }
  }
}

// Sides at the limits of scale, where no picture could hold the approach
// length: a drawing a million units wide, an approach of a ten-thousandth on
// a fine grid. The hole is entered from inside and the plate from outside,
// with the lead-in's full length, and nothing needs a warning.
struct ScaleCase {
  const char* name;
  double width, height;
  std::string approach;
  std::int16_t S;
};

void PrintTo(const ScaleCase& c, std::ostream* os) { *os << c.name; }

class SidesAtScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(SidesAtScale, HoleFromInsideOutlineFromOutside) {
  const ScaleCase& c = GetParam();
  LayerBuilder b;
  b.line(0, 0, c.width, 0).line(c.width, 0, c.width, c.height);
  b.line(c.width, c.height, 0, c.height).line(0, c.height, 0, 0).contour();
  b.circle(c.width / 2, c.height / 2, c.height / 4);
  PlateRun run;
  run.drawing = make_drawing(c.width, c.height, {{0, b.table()}}, 2);
  run.settings.ini_Apr = c.approach;
  run.settings.ini_S_suu = c.S;
  redraw_preview(run.preview, run.drawing, run.ticks, kBatchPreviewWidth, kBatchPreviewHeight);
  run_approach_assignment(run.a, run.preview, run.map, run.drawing, run.settings, run.ticks);
  EXPECT_TRUE(run.a.warnings.empty()) << run.a.warnings.front().message;
  ASSERT_EQ(run.a.Ord_dat.rows(), 3u) << "the hole and the outline are placed";
  EXPECT_EQ(run.preview.surface.width(), kBatchPreviewWidth) << "the preview keeps its size";
  const double L = run.settings.approach();
  const Table& O = run.a.Ord_dat;
  // The hole first, pierced inside it above its lowest point.
  EXPECT_EQ(O.at(0, rec::kind), "circle");
  EXPECT_DOUBLE_EQ(O.at(0, rec::apr_y).number(), c.height / 4 + L);
  // The plate last, pierced outside: the lowest or highest side, or the
  // left or right one, one approach length out.
  const double px = O.at(1, rec::apr_x).number(), py = O.at(1, rec::apr_y).number();
  const bool outside = px < 0 || py < 0 || px > c.width || py > c.height;
  EXPECT_TRUE(outside) << px << ", " << py;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, SidesAtScale,
    ::testing::Values(ScaleCase{"small_plate", 100, 60, "5", 1000},
                      ScaleCase{"drawing_1e6_wide", 1e6, 1000, "5", 1000},
                      ScaleCase{"approach_ten_thousandth_on_a_fine_grid", 100, 60, "0.0001", 30000}),
    [](const ::testing::TestParamInfo<ScaleCase>& c) { return std::string(c.param.name); });

}  // namespace
}  // namespace makenc
