// Chaining lines and arcs into contours.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "core/constants.h"
#include "import/chain.h"
#include "support/reference_chain.h"

namespace makenc {
namespace {

struct Seg {
  const char* kind;
  double x1, y1, x2, y2;
};

Table layer_of(const std::vector<Seg>& segs) {
  Table t(segs.size(), kLastColumn);
  for (std::size_t r = 0; r < segs.size(); ++r) {
    t.at(r, 0) = segs[r].kind;
    t.at(r, 1) = segs[r].x1;
    t.at(r, 2) = segs[r].y1;
    t.at(r, 3) = segs[r].x2;
    t.at(r, 4) = segs[r].y2;
  }
  return t;
}

Drawing chained(std::vector<std::pair<int, Table>> layers, const std::string& tolerance = "0.01") {
  Drawing d;
  for (auto& [k, t] : layers) d.LY_dat[static_cast<std::size_t>(k)] = std::move(t);
  d.Cnt_total = 1;
  Settings s;
  s.ini_GOSA = tolerance;
  chain_layers(d, s);
  return d;
}

// "x1,y1>x2,y2 #contour.position" of each row, for whole-table comparisons.
std::vector<std::string> rows_of(const Table& t) {
  std::vector<std::string> out;
  for (std::size_t r = 0; r != t.last_row(); ++r) {
    if (t.at(r, 0).is_empty()) {
      out.push_back("-");
      continue;
    }
    out.push_back(t.at(r, 1).text_form() + "," + t.at(r, 2).text_form() + ">" + t.at(r, 3).text_form() + "," +
                  t.at(r, 4).text_form() + " #" + t.at(r, 13).text_form() + "." + t.at(r, 14).text_form());
  }
  return out;
}

TEST(Chaining, SquareIsReorderedAndTurnedIntoOneLoop) {
  // Stored bottom, top, left, right, each drawn left to right or upwards.
  const Drawing d = chained(
      {{0,
        layer_of({{"li", 0, 0, 10, 0}, {"li", 0, 10, 10, 10}, {"li", 0, 0, 0, 10}, {"li", 10, 0, 10, 10}})}});
  EXPECT_EQ(rows_of(d.layer(0)), (std::vector<std::string>{"10,10>0,10 #1.1", "0,10>0,0 #1.2",
                                                           "0,0>10,0 #1.3", "10,0>10,10 #1.4"}));
  EXPECT_EQ(d.Cnt_total, 1);
}

TEST(Chaining, StartWithinToleranceOfTheStartEndIsPrepended) {
  const Drawing d = chained({{0, layer_of({{"li", 5, 0, 9, 0}, {"li", 5.004, 0.003, 5, 4}})}});
  EXPECT_EQ(rows_of(d.layer(0)), (std::vector<std::string>{"5,4>5.004,0.003 #1.1", "5,0>9,0 #1.2"}));
}

TEST(Chaining, EndsAreTestedAfterStartsAndTurnedWhenAppended) {
  const Drawing d = chained({{0, layer_of({{"li", 5, 0, 9, 0}, {"li", 1, 1, 5, 0}, {"li", 0, 0, 9, 0}})}});
  // The second line's end meets the start end: prepended unturned. The third
  // line's end meets the finish end: turned and appended.
  EXPECT_EQ(rows_of(d.layer(0)), (std::vector<std::string>{"1,1>5,0 #1.1", "5,0>9,0 #1.2", "9,0>0,0 #1.3"}));
}

TEST(Chaining, SeparateLinesAreContoursOfTheirOwn) {
  const Drawing d = chained({{0, layer_of({{"li", 0, 0, 1, 0}, {"li", 5, 5, 6, 5}})}});
  EXPECT_EQ(rows_of(d.layer(0)), (std::vector<std::string>{"0,0>1,0 #1.1", "5,5>6,5 #2.1"}));
  EXPECT_EQ(d.Cnt_total, 2);
}

TEST(Chaining, CircleInsideARectangleIsAContourOfOneRow) {
  Table t = layer_of(
      {{"ci", 0, 0, 0, 0}, {"li", 0, 0, 9, 0}, {"li", 9, 0, 9, 9}, {"li", 9, 9, 0, 9}, {"li", 0, 9, 0, 0}});
  t.at(0, 5) = 4.5;
  const Drawing d = chained({{1, std::move(t)}});
  const Table& r = d.layer(1);
  EXPECT_EQ(r.at(0, 0).text_form(), "ci");
  EXPECT_EQ(r.at(0, 5).text_form(), "4.5");
  EXPECT_EQ(r.at(0, 13).text_form(), "1");
  EXPECT_EQ(r.at(0, 14).text_form(), "1");
  for (std::size_t i = 1; i <= 4; ++i) {
    EXPECT_EQ(r.at(i, 13).text_form(), "2");
    EXPECT_EQ(r.at(i, 14).text_form(), std::to_string(i));
  }
  EXPECT_EQ(d.Cnt_total, 2);
}

TEST(Chaining, TenPointsAreTenContours) {
  std::vector<Seg> pts;
  for (int i = 0; i < 10; ++i) pts.push_back({"pt", 1.0 * i, 0, 0, 0});
  const Drawing d = chained({{0, layer_of(pts)}});
  EXPECT_EQ(d.Cnt_total, 10);
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(d.layer(0).at(i, 13).text_form(), std::to_string(i + 1));
    EXPECT_EQ(d.layer(0).at(i, 14).text_form(), "1");
  }
}

TEST(Chaining, ToleranceZeroMeetsOnlyWhereSinglePrecisionIsExact) {
  // The band's ends are singles: 0.1 lies outside a band of zero width
  // around itself, 1.5 does not.
  const auto tenth = chained({{0, layer_of({{"li", 2, 2, 0.1, 0.1}, {"li", 0.1, 0.1, 2, 3}})}}, "0");
  EXPECT_EQ(tenth.Cnt_total, 2);
  const auto half = chained({{0, layer_of({{"li", 2, 2, 1.5, 1.5}, {"li", 1.5, 1.5, 2, 3}})}}, "0");
  EXPECT_EQ(half.Cnt_total, 1);
  const auto tolerant = chained({{0, layer_of({{"li", 2, 2, 0.1, 0.1}, {"li", 0.1, 0.1, 2, 3}})}}, "0.01");
  EXPECT_EQ(tolerant.Cnt_total, 1);
}

TEST(Chaining, ToleranceIsInclusiveOnTheGrid) {
  EXPECT_EQ(chained({{0, layer_of({{"li", 0, 0, 1, 0}, {"li", 1.01, 0, 2, 0}})}}).Cnt_total, 1);
  EXPECT_EQ(chained({{0, layer_of({{"li", 0, 0, 1, 0}, {"li", 1.02, 0, 2, 0}})}}).Cnt_total, 2);
  // A tolerance typed as text with a unit still reads as its number.
  EXPECT_EQ(chained({{0, layer_of({{"li", 0, 0, 1, 0}, {"li", 1.4, 0, 2, 0}})}}, "0.5mm").Cnt_total, 1);
}

TEST(Chaining, ContourNumbersContinueAcrossLayers) {
  const Drawing d = chained({{0, layer_of({{"li", 0, 0, 1, 0}, {"li", 5, 5, 6, 5}})},
                             {3, layer_of({{"li", 0, 0, 1, 0}, {"li", 1, 0, 1, 1}})}});
  EXPECT_EQ(d.layer(3).at(0, 13).text_form(), "3");
  EXPECT_EQ(d.layer(3).at(1, 13).text_form(), "3");
  EXPECT_EQ(d.Cnt_total, 3);
}

TEST(Chaining, ArcsTurnTheirEndsButKeepTheirAngles) {
  Table t = layer_of({{"li", 0, 0, 4, 0}, {"cci", 6, 2, 4, 0}});
  t.at(1, 8) = 270.0;
  t.at(1, 9) = 90.0;
  const Drawing d = chained({{0, std::move(t)}});
  EXPECT_EQ(rows_of(d.layer(0)), (std::vector<std::string>{"0,0>4,0 #1.1", "4,0>6,2 #1.2"}));
  EXPECT_EQ(d.layer(0).at(1, 8).text_form(), "270");
  EXPECT_EQ(d.layer(0).at(1, 9).text_form(), "90");
}

TEST(Chaining, EmptyRowsAndUnknownKindsTakeNoPart) {
  Table t = layer_of({{"li", 3, 3, 0, 0}, {"li", 0, 0, 0, 0}, {"li", 7, 7, 8, 8}, {"li", 0, 0, 0, 0}});
  for (int c = 0; c <= 4; ++c) t.at(1, c) = Cell();  // left by a "BL" record
  t.at(3, 0) = "ch";                                 // a text at the origin
  const Drawing d = chained({{0, std::move(t)}});
  EXPECT_EQ(rows_of(d.layer(0)), (std::vector<std::string>{"3,3>0,0 #1.1", "7,7>8,8 #2.1", "-", "-"}));
  EXPECT_EQ(d.layer(0).last_row(), 4u);
  EXPECT_EQ(d.Cnt_total, 2);
}

// Measurement gives a line whose ends coincide, an arc that sweeps nothing
// and a circle of radius 0 the length 0: there is nothing to cut, and a
// contour of them would be a lead-in followed by no move (or an arc from a
// point to itself, a whole circle to the machine).
TEST(Chaining, EntitiesOfLengthZeroJoinNoContour) {
  Table t = layer_of({{"li", 0, 0, 10, 0},
                      {"li", 10, 0, 10, 0},
                      {"ci", 0, 0, 0, 0},
                      {"cci", 10, 0, 10, 0},
                      {"li", 10, 0, 10, 10},
                      {"pt", 5, 5, 0, 0},
                      {"li", 3, 3, 3, 3}});
  const double lengths[] = {10, 0, 0, 0, 10, -1, 0};
  for (std::size_t r = 0; r < 7; ++r)
    if (lengths[r] >= 0) t.at(r, col::length) = lengths[r];
  const Drawing d = chained({{0, std::move(t)}});
  EXPECT_EQ(rows_of(d.layer(0)), (std::vector<std::string>{"0,0>10,0 #1.1", "10,0>10,10 #1.2", "5,5>0,0 #2.1",
                                                           "-", "-", "-", "-"}));
  EXPECT_EQ(d.Cnt_total, 2);
}

// Many ends in one place (the same line drawn over and over) must not make
// every step look at all of them again.
TEST(Chaining, TwoHundredThousandCopiesOfOneLineMakeOneContour) {
  const std::size_t n = 200000;
  Table t(n, kLastColumn);
  for (std::size_t r = 0; r < n; ++r) {
    t.at(r, 0) = "li";
    t.at(r, 1) = 0.0;
    t.at(r, 2) = 0.0;
    t.at(r, 3) = 10.0;
    t.at(r, 4) = 0.0;
  }
  const Drawing d = chained({{5, std::move(t)}});
  EXPECT_EQ(d.Cnt_total, 1);
  const Table& r = d.layer(5);
  // Prepended and appended copies alternate ends: the chain runs to and fro.
  for (std::size_t i = 1; i < n; ++i) {
    ASSERT_EQ(r.at(i, 1).number(), r.at(i - 1, 3).number()) << i;
    ASSERT_EQ(r.at(i, 13).text_form(), "1");
  }
  EXPECT_EQ(r.at(n - 1, 14).text_form(), std::to_string(n));
}

TEST(Chaining, ALayerOfOnlyEmptyRowsHasNoContours) {
  const Drawing d = chained({{2, Table(3, kLastColumn)}});
  EXPECT_EQ(d.Cnt_total, 0);
  EXPECT_TRUE(d.has_layer(2));
  EXPECT_EQ(d.layer(2).last_row(), 3u);
}

TEST(MatchEnd, TestsTheStartEndFirstInSinglePrecision) {
  ChainState st;
  st.tolerance = 0;
  st.C_end = {Cell(0.0), Cell(1.5), Cell(1.5), Cell(1.5), Cell(1.5)};
  EXPECT_EQ(match_end(st, Cell(1.5), Cell("1.5")), 1);
  st.C_end = {Cell(0.0), Cell(0.1), Cell(0.1), Cell(2.0), Cell(2.0)};
  EXPECT_EQ(match_end(st, Cell(0.1), Cell(0.1)), 0);
  EXPECT_EQ(st.Bx_lo, 0.1f);
  EXPECT_EQ(match_end(st, Cell(2.0), Cell(2.0)), 2);
  st.tolerance = 0.01;
  EXPECT_EQ(match_end(st, Cell(0.1), Cell(0.1)), 1);
  EXPECT_EQ(st.Bx_lo, static_cast<float>(0.09));
  EXPECT_EQ(st.Bx_hi, static_cast<float>(0.11));
}

// A contour closes when its last end meets its first start as chaining
// meets ends: on the grid, or within the tolerance across a rounding tie.
TEST(ContourCloses, WhenTheEndsMeetWithinTheTolerance) {
  struct Case {
    std::vector<Seg> segs;
    std::string tolerance;
    bool closed;
  };
  const std::vector<Case> cases{
      // A slot turned a few degrees: the ends lie either side of y 1384.1995.
      {{{"li", 10, 1384.1994, 50, 1390}, {"li", 50, 1390, 10, 1384.1995}}, "0.01", true},
      {{{"li", 0, 0.0005, 9, 9}, {"li", 9, 9, 0, 0.0004999}}, "0.01", true},
      {{{"li", 0, 0, 9, 9}, {"li", 9, 9, 0, 0}}, "0", true},
      // Farther apart than the tolerance, the chain stays open.
      {{{"li", 0, 0, 9, 9}, {"li", 9, 9, 0, 0.02}}, "0.01", false},
      {{{"li", 0, 0.0005, 9, 9}, {"li", 9, 9, 0, 0.0004999}}, "0", false},
      // One line is never a loop, however short.
      {{{"li", 0, 0.0005, 0, 0.0004}}, "0.01", false},
  };
  for (const Case& c : cases) {
    Settings s;
    s.ini_GOSA = c.tolerance;
    const Table t = layer_of(c.segs);
    EXPECT_EQ(contour_closes(t, 0, c.segs.size() - 1, s), c.closed)
        << c.segs.front().y1 << " " << c.segs.back().y2 << " at " << c.tolerance;
  }
}

TEST(ReverseSegment, SwapsTheEndPointsOnly) {
  Table t = layer_of({{"cci", 1, 2, 3, 4}});
  t.at(0, 8) = 10.0;
  ChainState st;
  st.W_dat = &t;
  st.Cand_no = 0;
  reverse_segment(st);
  EXPECT_EQ(t.at(0, 1).text_form(), "3");
  EXPECT_EQ(t.at(0, 2).text_form(), "4");
  EXPECT_EQ(t.at(0, 3).text_form(), "1");
  EXPECT_EQ(t.at(0, 4).text_form(), "2");
  EXPECT_EQ(t.at(0, 8).text_form(), "10");
}

// Closed loops of random polygons, shuffled and with some segments drawn
// backwards: chaining must give back each loop as one closed contour.
struct Sheet {
  std::vector<Seg> segs;
  std::set<std::set<std::pair<double, double>>> loops;  // corner sets
};

Sheet random_sheet(std::mt19937& rng, int loops) {
  Sheet s;
  std::uniform_real_distribution<double> radius(2, 9);
  std::uniform_int_distribution<int> corners(3, 9);
  for (int l = 0; l < loops; ++l) {
    const double cx = 25.0 * (l % 8) + 12, cy = 25.0 * (l / 8) + 12;
    const int n = corners(rng);
    std::vector<std::pair<double, double>> p;
    for (int i = 0; i < n; ++i) {
      const double a = 2 * kPi * i / n;
      const double r = radius(rng);
      p.emplace_back(std::round((cx + r * std::cos(a)) * 1000) / 1000,
                     std::round((cy + r * std::sin(a)) * 1000) / 1000);
    }
    s.loops.insert(std::set<std::pair<double, double>>(p.begin(), p.end()));
    for (int i = 0; i < n; ++i) {
      const auto& a = p[static_cast<std::size_t>(i)];
      const auto& b = p[static_cast<std::size_t>((i + 1) % n)];
      if (rng() % 2)
        s.segs.push_back({"li", a.first, a.second, b.first, b.second});
      else
        s.segs.push_back({"li", b.first, b.second, a.first, a.second});
    }
  }
  std::shuffle(s.segs.begin(), s.segs.end(), rng);
  return s;
}

TEST(ChainingProperty, ShuffledLoopsComeBackClosed) {
  std::mt19937 rng(42);
  for (int round = 0; round < 20; ++round) {
    const Sheet sheet = random_sheet(rng, 12);
    const Drawing d = chained({{0, layer_of(sheet.segs)}});
    const Table& t = d.layer(0);
    std::set<std::set<std::pair<double, double>>> found;
    std::size_t r = 0;
    while (r != t.last_row()) {
      const Cell number = t.at(r, 13);
      const std::size_t first = r;
      std::set<std::pair<double, double>> corners;
      for (; r != t.last_row() && compare(t.at(r, 13), number) == 0; ++r) {
        EXPECT_EQ(t.at(r, 14).number(), static_cast<double>(r - first + 1));
        if (r > first) {
          EXPECT_EQ(t.at(r, 1).number(), t.at(r - 1, 3).number());
          EXPECT_EQ(t.at(r, 2).number(), t.at(r - 1, 4).number());
        }
        corners.insert({t.at(r, 1).number(), t.at(r, 2).number()});
      }
      EXPECT_EQ(t.at(first, 1).number(), t.at(r - 1, 3).number()) << "loop not closed";
      EXPECT_EQ(t.at(first, 2).number(), t.at(r - 1, 4).number());
      found.insert(corners);
    }
    EXPECT_EQ(found, sheet.loops) << "round " << round;
    EXPECT_EQ(d.Cnt_total, 12);
  }
}

// Segments whose ends fall on a coarse grid, so that many of them meet,
// branch and nearly meet: the indexed chaining must pick exactly the rows
// the plain top-down scan picks.
Table tangled_layer(std::mt19937& rng, std::size_t n, double step, double jitter, double offset) {
  std::uniform_int_distribution<int> cell(0, 6);
  std::uniform_real_distribution<double> wobble(-jitter, jitter);
  std::uniform_int_distribution<int> kind(0, 9);
  Table t(n, kLastColumn);
  for (std::size_t r = 0; r < n; ++r) {
    const int k = kind(rng);
    t.at(r, 0) = k == 0 ? "ci" : k == 1 ? "pt" : k == 2 ? "cci" : k == 3 ? "" : "li";
    if (k == 3) t.at(r, 0) = Cell();
    for (int c = 1; c <= 4; ++c) t.at(r, c) = offset + step * cell(rng) + wobble(rng);
  }
  return t;
}

struct TangleCase {
  double step, jitter, offset;
  const char* tolerance;
};

class ChainingMatchesThePlainScan : public ::testing::TestWithParam<TangleCase> {};

TEST_P(ChainingMatchesThePlainScan, OnTangledLayers) {
  const TangleCase c = GetParam();
  std::mt19937 rng(7);
  for (int round = 0; round < 30; ++round) {
    const Table a = tangled_layer(rng, 60, c.step, c.jitter, c.offset);
    const Table b = tangled_layer(rng, 25, c.step, c.jitter, c.offset);
    const Drawing d = chained({{0, a}, {4, b}}, c.tolerance);
    Settings s;
    s.ini_GOSA = c.tolerance;
    test::ReferenceChain ref(s.tolerance(), s.ini_S_suu, 1);
    EXPECT_EQ(rows_of(d.layer(0)), rows_of(ref.chain(a))) << "round " << round;
    EXPECT_EQ(rows_of(d.layer(4)), rows_of(ref.chain(b))) << "round " << round;
    EXPECT_EQ(d.Cnt_total, ref.Cnt_total - 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Grids, ChainingMatchesThePlainScan,
                         ::testing::Values(TangleCase{1, 0, 0, "0.01"}, TangleCase{1, 0.02, 0, "0.01"},
                                           TangleCase{0.1, 0, 0, "0"}, TangleCase{0.5, 0, 0, "0"},
                                           TangleCase{1, 0.3, 0, "0.25"}, TangleCase{0.001, 0.0004, 0, "0"},
                                           TangleCase{1, 0.01, 250000.3, "0.01"},
                                           TangleCase{3, 0.5, -7, "2.5"}, TangleCase{1, 0, 0, "-1"},
                                           TangleCase{1, 0, 0, "1e400"}));

}  // namespace
}  // namespace makenc
