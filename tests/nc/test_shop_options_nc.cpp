// Arc lead-ins, the overcut and the job's time on small contours whose
// blocks are worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "nc/arc_lead_in.h"
#include "nc/job_time.h"
#include "nc/nc_program.h"
#include "nc/overcut.h"
#include "nc_fixtures.h"

namespace makenc {
namespace {

using Lines = std::vector<std::string>;
using test::LayerBuilder;
using test::NcCase;

Lines body(const NcCase& c) {
  auto blocks = nc_body(c.input(), test::example_templates());
  EXPECT_TRUE(blocks.ok()) << (blocks.ok() ? "" : blocks.error().message);
  return blocks.ok() ? body_lines(*blocks) : Lines{};
}

JobSummary job_of(const NcCase& c) {
  auto job = job_summary(c.input());
  EXPECT_TRUE(job.ok()) << (job.ok() ? "" : job.error().message);
  return job.ok() ? *job : JobSummary{};
}

// A hole of radius r about (20, 20), pierced at (20, pierce_y) and met at
// its lowest point.
NcCase round_hole(double r, double pierce_y) {
  NcCase c;
  c.set_layer(0, LayerBuilder{}.circle(20, 20, r, 1));
  c.assignment.Ord_dat = test::cut_list({{"ly0", 1, 1, 20, pierce_y, 20, 20 - r, "cut", "circle"}});
  return c;
}

// The square 0,0 - 100,100 as a hole, pierced 5 above the middle of its
// bottom side.
NcCase square_hole() {
  NcCase c;
  c.set_layer(0, LayerBuilder{}.rectangle(100, 100, 1));
  c.assignment.Ord_dat = test::cut_list({{"ly0", 1, 1, 50, 5, 50, 0, "cut", "loop"}});
  return c;
}

// The lines between the condition code and the end code.
Lines moves_of(const Lines& lines) {
  Lines moves;
  bool in = false;
  for (const std::string& line : lines) {
    if (line == "M09") break;
    if (in) moves.push_back(line);
    if (line.size() == 2 && line[0] == 'K') in = true;
  }
  return moves;
}

TEST(ArcLeadIn, MeetsTheHoleTangentiallyFromTheScrapSide) {
  NcCase c = round_hole(10, 15);
  c.settings.shop.lead_in = LeadInShape::arc;
  // Counter-clockwise inside the hole: at its lowest point the cut runs
  // towards +x, the scrap lies above; the arc of radius 2.5 (half the
  // approach) about (20, 12.5) starts a quarter turn back at (17.5, 12.5).
  EXPECT_EQ(moves_of(body(c)), (Lines{"G01X17.5Y12.5G41", "G03X20.Y10.I2.5", "G03J10."}));
  // The radius asked for, at most half the way from the pierce.
  c.settings.shop.lead_in_radius = 1;
  EXPECT_EQ(moves_of(body(c)), (Lines{"G01X19.Y11.G41", "G03X20.Y10.I1.", "G03J10."}));
  c.settings.shop.lead_in_radius = 10;
  EXPECT_EQ(moves_of(body(c))[1], "G03X20.Y10.I2.5");
}

TEST(ArcLeadIn, IsMadeSmallerWhereItWouldMeetADrawnElement) {
  NcCase c = round_hole(10, 15);
  c.settings.shop.lead_in = LeadInShape::arc;
  // A small hole where the arc of 2.5 would pass, clear of the arc of 1.25.
  c.set_layer(0, LayerBuilder{}.circle(20, 20, 10, 1).circle(18.23, 10.73, 0.3, 2));
  EXPECT_EQ(moves_of(body(c)), (Lines{"G01X18.75Y11.25G41", "G03X20.Y10.I1.25", "G03J10."}));
}

TEST(ArcLeadIn, WhereNoArcFitsTheStraightLeadInIsCutInTwoMoves) {
  // Half a unit of room: an arc of a quarter unit is less than a tenth of
  // the approach length.
  NcCase c = round_hole(1, 19.5);
  c.settings.shop.lead_in = LeadInShape::arc;
  EXPECT_EQ(moves_of(body(c)), (Lines{"G01X20.Y19.25G41", "G01X20.Y19.", "G03J1."}));
  const JobSummary job = job_of(c);
  EXPECT_NEAR(job.cut_length, 0.5 + 2 * kPi, 1e-9);
}

TEST(ArcLeadIn, AMarkingKeepsItsStraightLeadIn) {
  NcCase c = round_hole(10, 15);
  c.settings.shop.lead_in = LeadInShape::arc;
  c.assignment.Ord_dat.at(0, 7) = std::string("mark");
  const Lines lines = body(c);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "G01X20.Y12.5G41"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "G01X20.Y10."), lines.end());
}

TEST(ArcLeadIn, TheSquaresArcTurnsIntoItsFirstSide) {
  NcCase c = square_hole();
  c.settings.shop.lead_in = LeadInShape::arc;
  const Lines moves = moves_of(body(c));
  ASSERT_GE(moves.size(), 3u);
  // The hole is cut counter-clockwise: from (50, 0) towards (100, 0).
  EXPECT_EQ(moves[0], "G01X47.5Y2.5G41");
  EXPECT_EQ(moves[1], "G03X50.Y0.I2.5");
  EXPECT_EQ(moves[2], "G01X100.Y0.");
}

TEST(ArcLeadIn, FitHalvesTwiceThenGivesUp) {
  const Point A{0, 5}, C{0, 0}, heading{1, 0};
  const auto free = fit_arc_lead_in(A, C, heading, 2.5, 0.1, nullptr);
  ASSERT_TRUE(free);
  EXPECT_EQ(free->radius, 2.5);
  EXPECT_EQ(free->centre.x, 0);
  EXPECT_EQ(free->centre.y, 2.5);
  EXPECT_EQ(free->start.x, -2.5);
  EXPECT_EQ(free->start.y, 2.5);
  // Below the least radius no arc is made.
  EXPECT_FALSE(fit_arc_lead_in(A, C, heading, 0.05, 0.1, nullptr));
  // A line across the scrap right above the contact point leaves no room
  // for any of the three arcs.
  Drawing d;
  d.LY_dat[0] = LayerBuilder{}.line(-10, 0.05, 10, 0.05, 1, 1).line(-10, 0, 10, 0, 2, 1).table();
  d.LY_cnt[0] = 2;
  d.LY_cntAll = 2;
  LayerTicks ticks{};
  ticks.fill(true);
  const DrawnElements drawn(d, ticks);
  EXPECT_FALSE(fit_arc_lead_in(A, C, heading, 2.5, 0.1, &drawn));
}

TEST(Overcut, RunsOnPastTheContactPointAlongTheContour) {
  NcCase c = square_hole();
  const double plain = job_of(c).cut_length;
  c.settings.shop.overcut = 3;
  const Lines moves = moves_of(body(c));
  ASSERT_GE(moves.size(), 2u);
  EXPECT_EQ(moves[moves.size() - 2], "G01X50.Y0.");
  EXPECT_EQ(moves.back(), "G01X53.Y0.");
  EXPECT_NEAR(job_of(c).cut_length, plain + 3, 1e-9);
  // Past a corner: on along the next side.
  c.settings.shop.overcut = 60;
  EXPECT_EQ(moves_of(body(c)).back(), "G01X100.Y10.");
  EXPECT_NEAR(job_of(c).cut_length, plain + 60, 1e-9);
  // At most the contour's length.
  c.settings.shop.overcut = 1000;
  EXPECT_NEAR(job_of(c).cut_length, plain + 400, 1e-9);
  EXPECT_EQ(moves_of(body(c)).back(), "G01X50.Y0.");
}

TEST(Overcut, OnACircleIsAPartOfItAndAJointWins) {
  NcCase c = round_hole(10, 15);
  c.settings.shop.overcut = 10 * kPi / 2;  // a quarter turn
  EXPECT_EQ(moves_of(body(c)), (Lines{"G01X20.Y10.G41", "G03J10.", "G03X30.Y20.J10."}));
  // A joint left on the hole: no overcut.
  c.options.joints = true;
  c.settings.ini_Cond[2] = CondRow{{"1", "1", "E3"}};
  const Lines joined = moves_of(body(c));
  ASSERT_EQ(joined.size(), 2u);
  EXPECT_EQ(joined[1].rfind("G03X", 0), 0u) << joined[1];
}

TEST(Overcut, NoneOnAMarkingOrAnOpenChain) {
  NcCase c = round_hole(10, 15);
  c.settings.shop.overcut = 5;
  c.assignment.Ord_dat.at(0, 7) = std::string("mark");
  EXPECT_EQ(moves_of(body(c)), (Lines{"G01X20.Y10.G41", "G03J10."}));
  NcCase open;
  open.set_layer(0, LayerBuilder{}.line(0, 0, 50, 0, 1, 1));
  open.assignment.Ord_dat = test::cut_list({{"ly0", 1, 1, 0, 0, 50, 0, "cut", "line"}});
  open.settings.shop.overcut = 5;
  EXPECT_EQ(moves_of(body(open)), (Lines{"G01X50.Y0."}));
}

TEST(Overcut, APartOfAPieceEndsWhereItsLengthSays) {
  const PathPiece line{{0, 0}, {10, 0}, {}, ArcWord::none};
  EXPECT_EQ(piece_part(line, 4).to.x, 4);
  const PathPiece arc{{10, 0}, {0, 10}, {0, 0}, ArcWord::G03};
  EXPECT_NEAR(arc.length(), 10 * kPi / 2, 1e-12);
  const Point half = piece_part(arc, 10 * kPi / 4).to;
  EXPECT_NEAR(half.x, 10 / std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(half.y, 10 / std::sqrt(2.0), 1e-12);
  const PathPiece back{{10, 0}, {0, -10}, {0, 0}, ArcWord::G02};
  EXPECT_NEAR(piece_part(back, 10 * kPi / 4).to.y, -10 / std::sqrt(2.0), 1e-12);
}

TEST(JobTime, FeedsTimesAndWhatIsMissing) {
  JobSummary job;
  job.cut_by_condition = {{"E1", 1000}, {"E2", 500}, {"E3", 0}};
  job.marking_length = 300;
  job.rapid_length = 2000;
  job.pierces = 3;
  job.contours_marked = 2;
  ShopOptions o;
  EXPECT_FALSE(job_time(job, o)) << "no feed given: no time";
  o.feeds = {{"E1", 1000}, {"E2", 500}};
  o.feed_mark = 600;
  o.rapid_feed = 10000;
  o.pierce_time = 1.5;
  o.mark_start_time = 0.5;
  // 1 + 1 minutes cut, 0.5 marked, 0.2 rapid; 4.5 s piercing, 1 s starting.
  EXPECT_NEAR(*job_time(job, o), 120 + 30 + 12 + 4.5 + 1, 1e-9);
  ShopOptions no_rapid = o;
  no_rapid.rapid_feed.reset();
  EXPECT_FALSE(job_time(job, no_rapid));
  ShopOptions no_mark = o;
  no_mark.feed_mark.reset();
  EXPECT_FALSE(job_time(job, no_mark));
  ShopOptions no_e2 = o;
  no_e2.feeds = {{"E1", 1000}};
  EXPECT_FALSE(job_time(job, no_e2));
}

}  // namespace
}  // namespace makenc
