#include "assign/placement.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assign/assignment.h"
#include "assign/test_layers.h"
#include "preview/material_map.h"

namespace makenc {
namespace {

using test::LayerBuilder;
using test::make_drawing;
using Fields = std::vector<std::string>;

// The outline of the worked example: its bottom and top sides tie at the
// longest length and the top one, met later, carries the approach.
LayerBuilder& rectangle(LayerBuilder& b, double w, double h, const std::string& colour = "2") {
  return b.contour()
      .line(w, 0, 0, 0, colour)
      .line(0, 0, 0, h, colour)
      .line(0, h, w, h, colour)
      .line(w, h, w, 0, colour)
      .contour();
}

struct AutoRun {
  Assignment a;
  Preview preview;
  Settings settings;
  LayerTicks ticks{true, true, true, true, true, true};

  void go(const Drawing& d) {
    redraw_preview(preview, d, ticks, kBatchPreviewWidth, kBatchPreviewHeight);
    run_approach_assignment(a, preview, d, settings, ticks);
  }

  // Columns 0..9 of a row of Apr_dat in their text form.
  Fields record(std::size_t row) const {
    Fields f;
    for (std::size_t c = 0; c <= 9; ++c) f.push_back(a.Apr_dat.at(row, c).text_form());
    return f;
  }

  Colour pixel_of(double x, double y) const {
    const PreviewFit& f = preview.fit;
    return preview.surface.pixel(f.Scr_x0 + to_screen_len(f, x), f.Scr_y0 - to_screen_len(f, y));
  }
};

TEST(Placement, WorkedExampleOutlineAndHole) {
  LayerBuilder b;
  rectangle(b, 100, 60).circle(30, 30, 10);
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, b.table()}}, 2));
  EXPECT_EQ(run.record(0), (Fields{"ly0", "2", "1", "30", "25", "30", "20", "cut", "circle", ""}));
  EXPECT_EQ(run.record(1), (Fields{"ly0", "1", "3", "50", "65", "50", "60", "cut", "loop", "G"}));
  EXPECT_TRUE(run.a.Apr_dat.at(2, 0).is_empty());
  EXPECT_EQ(run.a.Apr_cnt, 1);
  EXPECT_TRUE(run.a.Apr_dat.at(0, 3).tag() == Cell::Tag::Double);
  EXPECT_TRUE(run.a.last_is_outline);
  // The lead-in of the outline is a solid cutting line, drawn over the map.
  EXPECT_EQ(run.pixel_of(50, 62.5), kBlack);
  EXPECT_EQ(run.pixel_of(50, 55), kMaterialGrey);
}

TEST(Placement, MaterialOutsideTheLongestSideStays) {
  // The bottom side is met last of the two longest, and below it is scrap.
  LayerBuilder c;
  c.line(100, 60, 0, 60).line(0, 60, 0, 0).line(0, 0, 100, 0).line(100, 0, 100, 60);
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, c.table()}}, 1));
  EXPECT_EQ(run.record(0), (Fields{"ly0", "1", "3", "50", "-5", "50", "0", "cut", "loop", "G"}));
}

TEST(Placement, HoleSmallerThanTheApproachIsEnteredFromItsCentre) {
  for (const double r : {3.0, 5.0}) {
    LayerBuilder b;
    rectangle(b, 100, 60).circle(30, 30, r);
    AutoRun run;
    run.go(make_drawing(100, 60, {{0, b.table()}}, 2));
    const Fields rec = run.record(0);
    EXPECT_EQ(Fields(rec.begin() + 3, rec.begin() + 7), (Fields{"30", "30", "30", Cell(30 - r).text_form()}))
        << "radius " << r;
  }
}

TEST(Placement, HoleJustLargerThanTheApproachIsEnteredAboveItsLowestPoint) {
  LayerBuilder b;
  rectangle(b, 100, 60).circle(30, 30, 5.5);
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, b.table()}}, 2));
  EXPECT_EQ(run.record(0)[3], "30");
  EXPECT_EQ(run.record(0)[4], "29.5");
}

TEST(Placement, OutlineCircleIsEnteredFromBelowOutside) {
  LayerBuilder b;
  b.circle(50, 50, 50).circle(50, 50, 10);
  AutoRun run;
  run.go(make_drawing(100, 100, {{0, b.table()}}, 2));
  EXPECT_EQ(run.record(1), (Fields{"ly0", "1", "1", "50", "-5", "50", "0", "cut", "circle", "G"}));
  EXPECT_EQ(run.record(0), (Fields{"ly0", "2", "1", "50", "45", "50", "40", "cut", "circle", ""}));
}

TEST(Placement, SquareHoleSidePointingIntoMaterialIsMirroredIntoTheHole) {
  LayerBuilder b;
  rectangle(b, 100, 60);
  // The bottom side is the later of the two longest; below it is material.
  b.line(60, 30, 40, 30).line(40, 30, 40, 20).line(40, 20, 60, 20).line(60, 20, 60, 30);
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, b.table()}}, 2));
  EXPECT_EQ(run.record(0), (Fields{"ly0", "2", "3", "50", "25", "50", "20", "cut", "loop", ""}));
}

// On a plate 4000 wide the batch preview shows 5 units as less than a pixel:
// the candidate below the hole's bottom side lands on the side's own pixels
// and has to walk on by approach lengths until it sees the material.
TEST(Placement, ApproachShorterThanAPixelStillWalksOffTheLine) {
  for (const double bottom : {900.0, 903.0, 905.0, 906.0}) {
    LayerBuilder b;
    rectangle(b, 4000, 2000);
    const double top = bottom + 100;
    b.line(2100, top, 1900, top)
        .line(1900, top, 1900, bottom)
        .line(1900, bottom, 2100, bottom)
        .line(2100, bottom, 2100, top);
    AutoRun run;
    run.go(make_drawing(4000, 2000, {{0, b.table()}}, 2));
    ASSERT_LT(to_screen_len(run.preview.fit, 5.0), 1.0);
    SCOPED_TRACE(bottom);
    EXPECT_EQ(run.a.Apr_dat.at(0, 4).number(), bottom + 5);
    EXPECT_EQ(run.a.Apr_dat.at(0, 6).number(), bottom);
  }
}

TEST(Placement, LShapedOutlineSidePointingIntoThePartIsMirroredOutside) {
  LayerBuilder b;
  b.line(0, 80, 0, 0)
      .line(0, 0, 60, 0)
      .line(60, 0, 60, 20)
      .line(60, 20, 20, 20)
      .line(20, 20, 20, 80)
      .line(20, 80, 0, 80);
  AutoRun run;
  run.go(make_drawing(60, 80, {{0, b.table()}}, 1));
  EXPECT_EQ(run.record(0), (Fields{"ly0", "1", "1", "-5", "40", "0", "40", "cut", "loop", "G"}));
}

TEST(Placement, CandidateOnAnotherLineWalksOnToTheFirstColouredPixel) {
  LayerBuilder b;
  rectangle(b, 100, 60);
  // Hole A: its longest side is the bottom at y = 30; the first candidate,
  // (50, 25), lies exactly on the top of the slot B below it. Stepping on,
  // the probe crosses B's bottom at y = 20 and meets material at y = 15.
  b.line(80, 40, 20, 40).line(20, 40, 20, 30).line(20, 30, 80, 30).line(80, 30, 80, 40).contour();
  b.line(90, 25, 10, 25).line(10, 25, 10, 20).line(10, 20, 90, 20).line(90, 20, 90, 25).contour();
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, b.table()}}, 3));
  EXPECT_EQ(run.record(0)[3], "50");
  EXPECT_EQ(run.record(0)[4], "35");
}

TEST(Placement, ClosedContourOnAnArcGetsTheArcsMiddle) {
  LayerBuilder b;
  rectangle(b, 100, 60);
  b.arc(50, 30, 15, 0, 180).line(35, 30, 65, 30).contour();
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, b.table()}}, 2));
  EXPECT_EQ(run.record(0), (Fields{"ly0", "2", "1", "50", "40", "50", "45", "cut", "loop", ""}));
}

TEST(Placement, ArcPassingZeroDegreesIsHalvedAcrossIt) {
  LayerBuilder b;
  rectangle(b, 100, 60);
  b.arc(50, 30, 15, 270, 90).line(50, 45, 50, 15).contour();
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, b.table()}}, 2));
  // 360 degrees is two of the system's pi, a little short of a full turn,
  // so the middle lies a hair below the centre line.
  EXPECT_EQ(run.record(0),
            (Fields{"ly0", "2", "1", "60", "29.9999999999999", "65", "29.9999999999999", "cut", "loop", ""}));
}

TEST(Placement, ClosedContourOfAnotherColourIsMarked) {
  LayerBuilder b;
  rectangle(b, 100, 60).circle(30, 30, 10, "3");
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, b.table()}}, 2));
  EXPECT_EQ(run.record(0)[7], "mark");
}

TEST(Placement, OpenContoursAreCutOnlyOnTheFirstLayerAndNotInColourEight) {
  LayerBuilder ly0;
  rectangle(ly0, 100, 60);
  ly0.line(10, 10, 20, 10, "8").line(20, 10, 20, 20, "8").contour();
  ly0.line(30, 10, 40, 10, "3").contour();
  LayerBuilder ly1(ly0.next_contour());
  ly1.line(50, 10, 60, 15).line(60, 15, 70, 10);
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, ly0.table()}, {1, ly1.table()}}, 4));
  EXPECT_EQ(run.record(0), (Fields{"ly0", "2", "1", "10", "10", "20", "20", "mark", "line", ""}));
  EXPECT_EQ(run.record(1), (Fields{"ly0", "3", "1", "30", "10", "40", "10", "cut", "line", ""}));
  EXPECT_EQ(run.record(2), (Fields{"ly1", "4", "1", "50", "10", "70", "10", "mark", "line", ""}));
}

TEST(Placement, PointIsMarkedWhereItIs) {
  LayerBuilder b;
  rectangle(b, 100, 60).point(25, 35);
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, b.table()}}, 2));
  EXPECT_EQ(run.record(0), (Fields{"ly0", "2", "1", "25", "35", "25", "35", "mark", "pt", ""}));
}

TEST(Placement, OutlineRowIsTakenOncePerRun) {
  LayerBuilder ly0;
  rectangle(ly0, 100, 60);
  LayerBuilder ly1(ly0.next_contour());
  rectangle(ly1, 100, 60);
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, ly0.table()}, {1, ly1.table()}}, 2));
  EXPECT_EQ(run.record(1)[0], "ly0");
  EXPECT_EQ(run.record(1)[9], "G");
  EXPECT_EQ(run.record(0)[0], "ly1");
  EXPECT_EQ(run.record(0)[9], "");
  EXPECT_EQ(run.a.Apr_cnt, 1);
}

TEST(Placement, MarkedOutlineLeavesTheOutlineRowToACutOne) {
  LayerBuilder ly0;
  rectangle(ly0, 100, 60, "3");
  LayerBuilder ly1(ly0.next_contour());
  rectangle(ly1, 100, 60);
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, ly0.table()}, {1, ly1.table()}}, 2));
  EXPECT_EQ(run.record(0)[0], "ly0");
  EXPECT_EQ(run.record(0)[7], "mark");
  EXPECT_EQ(run.record(1)[0], "ly1");
  EXPECT_EQ(run.record(1)[9], "G");
}

TEST(Placement, ALoopClosesWhereChainingJoinedItsEnds) {
  // With the grid 0.001 the ends 0.0004 and 0.0006 round to different
  // steps, but they lie within the matching tolerance 0.01; 0.05 does not.
  for (const auto& [end_x, kind] :
       {std::pair{0.0006, "loop"}, std::pair{0.0001, "loop"}, std::pair{0.05, "line"}}) {
    LayerBuilder b;
    rectangle(b, 100, 60);
    b.line(10.0004, 10, 30, 10).line(30, 10, 20, 30).line(20, 30, end_x + 10, 10).contour();
    AutoRun run;
    run.go(make_drawing(100, 60, {{0, b.table()}}, 2));
    EXPECT_EQ(run.record(0)[8], kind) << end_x;
  }
}

TEST(Placement, ContourOfNoKnownCaseIsSkippedAlone) {
  LayerBuilder b;
  rectangle(b, 100, 60);
  b.other("xx", 10, 10, 20, 10).other("xx", 20, 10, 10, 10).contour();
  b.circle(50, 30, 10);
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, b.table()}}, 3));
  EXPECT_EQ(run.record(0), (Fields{"ly0", "3", "1", "50", "25", "50", "20", "cut", "circle", ""}));
  EXPECT_EQ(run.record(2)[0], "ly0");
  EXPECT_TRUE(run.a.Apr_dat.at(1, 0).is_empty());
}

TEST(Placement, ContourNumberLeftOutDoesNotStopTheLayer) {
  LayerBuilder b;
  b.circle(30, 30, 10);
  LayerBuilder c(3);
  c.circle(60, 30, 10);
  Table t(2, kLastColumn);
  t.copy_row(0, b.table(), 0);
  t.copy_row(1, c.table(), 0);
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, t}}, 3));
  EXPECT_EQ(run.record(0)[1], "1");
  EXPECT_EQ(run.record(1)[1], "3");
}

TEST(Placement, UntickedLayersAreLeftOut) {
  LayerBuilder ly0;
  rectangle(ly0, 100, 60);
  LayerBuilder ly1(ly0.next_contour());
  ly1.circle(30, 30, 10);
  AutoRun run;
  run.ticks = {true, false, true, true, true, true};
  run.go(make_drawing(100, 60, {{0, ly0.table()}, {1, ly1.table()}}, 2));
  EXPECT_TRUE(run.a.Apr_dat.at(0, 0).is_empty());
  EXPECT_EQ(run.record(1)[0], "ly0");
  EXPECT_EQ(run.a.Ord_dat.rows(), 2u);
}

TEST(Placement, NoLayerTickedLeavesEverythingEmpty) {
  LayerBuilder b;
  rectangle(b, 100, 60);
  AutoRun run;
  run.ticks = {};
  run.go(make_drawing(100, 60, {{0, b.table()}}, 1));
  EXPECT_TRUE(run.a.Apr_dat.at(0, 0).is_empty());
  EXPECT_EQ(run.a.Ord_dat.rows(), 1u);
  EXPECT_EQ(run.preview.Mus_clic, 0);
}

TEST(Placement, ContourCountTooSmallForTheContoursStoresNothingOutOfRange) {
  LayerBuilder b;
  rectangle(b, 100, 60).circle(30, 30, 10).circle(60, 30, 10);
  for (const std::int64_t count : {0, 1, 2}) {
    AutoRun run;
    run.go(make_drawing(100, 60, {{0, b.table()}}, count));
    EXPECT_EQ(run.a.Apr_dat.rows(), static_cast<std::size_t>(count + 1));
    EXPECT_TRUE(run.a.Apr_dat.at(static_cast<std::size_t>(count), 0).is_empty());
  }
}

TEST(Placement, ZeroApproachLengthPiercesOnTheContourWithoutWalkingForEver) {
  LayerBuilder b;
  rectangle(b, 100, 60).circle(30, 30, 10);
  AutoRun run;
  run.settings.ini_Apr = "0";
  run.go(make_drawing(100, 60, {{0, b.table()}}, 2));
  EXPECT_EQ(run.record(1), (Fields{"ly0", "1", "3", "50", "60", "50", "60", "cut", "loop", "G"}));
  EXPECT_EQ(run.record(0)[4], "20");
}

TEST(Placement, PreviewNeverSizedStillPlacesEveryContour) {
  LayerBuilder b;
  rectangle(b, 100, 60).circle(30, 30, 10);
  const Drawing d = make_drawing(100, 60, {{0, b.table()}}, 2);
  AutoRun run;
  run_approach_assignment(run.a, run.preview, d, run.settings, run.ticks);
  EXPECT_EQ(run.record(0)[8], "circle");
  EXPECT_EQ(run.record(1)[8], "loop");
  EXPECT_EQ(run.a.Ord_dat.rows(), 3u);
  // A run told of painting that no map holds finds the material anew, on a
  // picture that has no pixels at all.
  AutoRun painted;
  painted.preview.Mus_clic = 1;
  run_approach_assignment(painted.a, painted.preview, d, painted.settings, painted.ticks);
  EXPECT_EQ(painted.record(1)[8], "loop");
  EXPECT_EQ(painted.preview.surface.width(), 0);
}

TEST(Placement, HandPaintedMaterialIsKept) {
  LayerBuilder b;
  rectangle(b, 100, 60).circle(30, 30, 10);
  const Drawing d = make_drawing(100, 60, {{0, b.table()}}, 2);
  AutoRun run;
  redraw_preview(run.preview, d, run.ticks, kBatchPreviewWidth, kBatchPreviewHeight);
  // The user paints the inside of the hole, not the part.
  MaterialMap map;
  paint_region(map, run.preview, d, run.ticks, run.settings, 30, 30);
  run.preview.Mus_clic = 1;
  run_approach_assignment(run.a, run.preview, map, d, run.settings, run.ticks);
  EXPECT_EQ(run.pixel_of(30, 35), kMaterialGrey);
  EXPECT_EQ(run.pixel_of(50, 10), kBackground);
  // Nothing grey below the top side: the candidate stays inside.
  EXPECT_EQ(run.record(1)[4], "55");
  EXPECT_EQ(run.preview.Mus_clic, 0);
}

TEST(Placement, TraversesAreDrawnDottedFromTheOrigin) {
  LayerBuilder b;
  rectangle(b, 100, 60).circle(30, 30, 10);
  AutoRun run;
  run.go(make_drawing(100, 60, {{0, b.table()}}, 2));
  // From the origin to the hole's approach (30, 25): a dotted line has a
  // dark blue pixel near its start.
  int blue = 0;
  for (double t = 0.05; t < 0.5; t += 0.01)
    if (run.pixel_of(30 * t, 25 * t) == kTraverseBlue) ++blue;
  EXPECT_GT(blue, 0);
  EXPECT_EQ(run.preview.surface.draw_style, DrawStyle::Solid);
}

TEST(LoadEntity, KeepsWhatAKindDoesNotLoad) {
  LayerBuilder b;
  b.line(1, 2, 3, 4, "7").circle(5, 6, 7, "2").arc(0, 0, 10, 0, 90, "3");
  const Table t = b.table();
  EntityCells ent;
  PreviewCells cells;
  load_entity(t, 0, ent, cells);
  EXPECT_EQ(ent.Li_y2.text_form(), "4");
  EXPECT_TRUE(ent.Ci_x.is_empty());
  EXPECT_EQ(cells.Ent_pen, 7);
  load_entity(t, 1, ent, cells);
  EXPECT_EQ(ent.Li_y2.text_form(), "4");
  EXPECT_EQ(ent.Ci_r.text_form(), "7");
  EXPECT_TRUE(ent.Ci_s.is_empty());
  EXPECT_EQ(cells.Ent_pen, 2);
  load_entity(t, 2, ent, cells);
  EXPECT_EQ(ent.Ci_e.text_form(), "90");
  EXPECT_EQ(ent.Ci_r.text_form(), "10");
  EXPECT_EQ(cells.Ent_pen, 3);
}

}  // namespace
}  // namespace makenc
