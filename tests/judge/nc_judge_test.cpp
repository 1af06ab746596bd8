// The judge on drawings and programs held in memory: what a joint may leave
// open, what is judged when the material was painted by hand, the texts a
// fault is named by, and when a judgement says anything at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings.h"
#include "import/startup.h"
#include "judge/nc_judge.h"
#include "judge/plate_codes.h"

namespace makenc {
namespace {

using Lines = std::vector<std::string>;

using test::plate_codes;

// A plate 200 x 120 with a square hole 70..110 x 40..80.
const Lines kPlate{"hq",
                   "file=C:\\jww\\plate.jww",
                   "#",
                   "ly0",
                   "lc2",
                   "lt1",
                   " 0 0 200 0",
                   " 200 0 200 120",
                   " 200 120 0 120",
                   " 0 120 0 0",
                   " 70 40 110 40",
                   " 110 40 110 80",
                   " 110 80 70 80",
                   " 70 80 70 40"};

// The hole entered from inside and cut anticlockwise with the kerf on its
// left, up to `last` on its side from (70, 80) down to (70, 60); then the
// outline from outside.
Lines plate_program(const std::string& hole_comp, const std::string& last) {
  return {"%",
          "G90 G92 X0 Y0",
          "G00X75.Y60.G40",
          "M07",
          "E2",
          "G01X70.Y60." + hole_comp,
          "G01X70.Y40.",
          "G01X110.Y40.",
          "G01X110.Y80.",
          "G01X70.Y80.",
          last,
          "M08",
          "G00X100.Y125.G40",
          "M07",
          "E3",
          "G01X100.Y120.G41",
          "G01X200.Y120.",
          "G01X200.Y0.",
          "G01X0.Y0.",
          "G01X0.Y120.",
          "G01X100.Y120.",
          "M08",
          "M30",
          "%"};
}

Judgement judged(const Lines& program, const JudgeOptions& options = {}) {
  Settings settings;
  auto start = read_drawing(kPlate, settings);
  EXPECT_TRUE(start.ok()) << start.error().message;
  auto judgement = judge_program(start->drawing, settings, plate_codes(), program, options);
  EXPECT_TRUE(judgement.ok()) << judgement.error().message;
  return judgement.ok() ? *judgement : Judgement{};
}

// A joint (2 units in the settings) stops the closing move short by up to
// 1.5 joints and half a unit, and the matching tolerance; a gap beyond it
// leaves the hole hanging.
TEST(Judge, AllowsTheGapOfAJointAndNoMore) {
  struct Row {
    const char* last;
    bool open;
  };
  const std::vector<Row> rows{{"G01X70.Y60.", false},
                              {"G01X70.Y63.", false},
                              {"G01X70.Y63.51", false},
                              {"G01X70.Y63.52", true},
                              {"G01X70.Y70.", true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.last);
    const Judgement j = judged(plate_program("G41", row.last));
    EXPECT_EQ(j.count(FaultKind::closed_cut_open), row.open ? 1u : 0u) << j.report();
    EXPECT_EQ(j.faults.size(), row.open ? 1u : 0u) << j.report();
    EXPECT_EQ(j.cuts, 2u);
    EXPECT_EQ(j.closed_contours, 2u);
  }
}

// Painted by hand, the sides are the user's: a kerf on the hole's part
// side is not judged, a hole cut open still is.
TEST(Judge, LeavesTheSidesToAPaintingByHand) {
  JudgeOptions painted;
  painted.material_known = false;
  const Lines wrong_side = plate_program("G42", "G01X70.Y60.");
  EXPECT_EQ(judged(wrong_side).count(FaultKind::kerf_in_material), 1u);
  const Judgement j = judged(wrong_side, painted);
  EXPECT_TRUE(j.faults.empty()) << j.report();
  const Judgement open = judged(plate_program("G42", "G01X70.Y70."), painted);
  EXPECT_EQ(open.count(FaultKind::closed_cut_open), 1u) << open.report();
  EXPECT_EQ(open.faults.size(), 1u) << open.report();
}

// The texts of a fault: of a cut on a contour, of a contour never cut, of
// a cut on no contour.
TEST(Judge, NamesEachFaultAsTheShopReadsIt) {
  Fault kerf{FaultKind::kerf_in_material,     12, 0, "7", {812.5, 339.9996}, {812.5, 340},
             "the kerf is on the part's side"};
  EXPECT_EQ(fault_message(kerf),
            "cut 12, contour 7 on layer 0 at (812.500, 340.000): the kerf is on the part's side");
  EXPECT_EQ(fault_line(kerf), "kerf_in_material ly0 7 812.500 340.000");
  Fault uncut{FaultKind::not_cut, 0, 3, "41", {-0.0004, 2}, {-0.0004, 2}, "the cutting contour is never cut"};
  EXPECT_EQ(fault_message(uncut),
            "contour 41 on layer 3 at (0.000, 2.000): the cutting contour is never cut");
  Fault stray{
      FaultKind::off_contour, 4, -1, "", {1, 2}, {1.25, -2.5}, "the cut meets no contour of the drawing"};
  EXPECT_EQ(fault_message(stray), "cut 4 at (1.250, -2.500): the cut meets no contour of the drawing");
  EXPECT_EQ(fault_line(stray), "off_contour - - 1.000 2.000");
}

// A judgement holds when the drawing has a closed contour and at least
// half of the program's contours lie on the drawing's.
TEST(Judge, SaysWhenAJudgementHolds) {
  struct Row {
    std::size_t cuts, marks, unmatched, closed;
    const char* refusal;  // a part of the reason; none when it holds
  };
  const std::vector<Row> rows{
      {3, 2, 0, 2, nullptr},
      {2, 2, 2, 2, nullptr},
      {3, 2, 3, 2, "3 of the program's 5 cuts meet no contour of the drawing"},
      {0, 0, 0, 2, "the program holds no cut"},
      {3, 0, 0, 0, "the drawing holds no closed contour"},
  };
  for (const Row& row : rows) {
    Judgement j;
    j.cuts = row.cuts;
    j.marks = row.marks;
    j.unmatched = row.unmatched;
    j.closed_contours = row.closed;
    const Status holds = judgement_holds(j);
    EXPECT_EQ(holds.ok(), row.refusal == nullptr) << row.cuts << " " << row.unmatched;
    if (!holds.ok() && row.refusal) {
      EXPECT_NE(holds.error().message.find(row.refusal), std::string::npos) << holds.error().message;
    }
  }
}

// --paint leaves the sides to the user until a --clear after it.
TEST(Judge, TakesThePaintingAsTheRunLastLeftIt) {
  EXPECT_TRUE(judge_options_of({"--batch"}).material_known);
  EXPECT_FALSE(judge_options_of({"--batch", "--paint", "1,1"}).material_known);
  EXPECT_TRUE(judge_options_of({"--batch", "--paint", "1,1", "--clear", "1,1"}).material_known);
  EXPECT_FALSE(judge_options_of({"--batch", "--clear", "1,1", "--paint", "1,1"}).material_known);
}

}  // namespace
}  // namespace makenc
