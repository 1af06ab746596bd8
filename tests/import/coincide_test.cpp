// Chaining the contours of parts: elements drawn twice are left out, and
// where three or more ends meet each chain keeps to one region.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <random>
#include <set>

#include "core/constants.h"
#include "import/chain.h"

namespace makenc {
namespace {

// One element; `id` goes into the colour column, which chaining carries
// along, so that a test can tell which element went where.
struct El {
  const char* kind;
  double x1, y1, x2, y2;
  double cx = 0, cy = 0, r = 0, from = 0, to = 0;
  int id = 0;
};

El line(double x1, double y1, double x2, double y2, int id = 0) {
  return {"li", x1, y1, x2, y2, 0, 0, 0, 0, 0, id};
}

// The arc counter-clockwise from `from` to `to` degrees, as measurement
// leaves it: its first end at its start angle.
El arc(double cx, double cy, double r, double from, double to, int id = 0) {
  const double a = from * kPi / 180, b = to * kPi / 180;
  return {"cci",
          cx + r * std::cos(a),
          cy + r * std::sin(a),
          cx + r * std::cos(b),
          cy + r * std::sin(b),
          cx,
          cy,
          r,
          from,
          to,
          id};
}

El circle(double cx, double cy, double r, int id = 0) { return {"ci", 0, 0, 0, 0, cx, cy, r, 0, 0, id}; }

El reversed(El e) {
  std::swap(e.x1, e.x2);
  std::swap(e.y1, e.y2);
  return e;
}

Table layer_of(const std::vector<El>& els) {
  Table t(els.size(), kLastColumn);
  for (std::size_t r = 0; r < els.size(); ++r) {
    const El& e = els[r];
    t.at(r, col::kind) = e.kind;
    if (std::string(e.kind) != "ci") {
      t.at(r, col::x1) = e.x1;
      t.at(r, col::y1) = e.y1;
      t.at(r, col::x2) = e.x2;
      t.at(r, col::y2) = e.y2;
    }
    if (std::string(e.kind) != "li") {
      t.at(r, col::cx) = e.cx;
      t.at(r, col::cy) = e.cy;
      t.at(r, col::radius) = e.r;
    }
    if (std::string(e.kind) == "cci") {
      t.at(r, col::start_angle) = e.from;
      t.at(r, col::end_angle) = e.to;
    }
    t.at(r, col::colour) = static_cast<std::int64_t>(e.id);
  }
  return t;
}

struct Chained {
  Drawing drawing;
  Warnings warnings;
};

Chained chained(std::vector<std::pair<int, std::vector<El>>> layers, ChainMode mode = ChainMode::regions,
                const std::string& tolerance = "0.01") {
  Chained c;
  for (auto& [k, els] : layers) c.drawing.LY_dat[static_cast<std::size_t>(k)] = layer_of(els);
  c.drawing.Cnt_total = 1;
  Settings s;
  s.ini_GOSA = tolerance;
  chain_layers(c.drawing, s, mode, &c.warnings);
  return c;
}

// The contours of a layer as the ids of their members in order, and
// whether each closes.
struct Contour {
  std::vector<int> ids;
  bool closed = false;
};

std::vector<Contour> contours_of(const Table& t) {
  std::vector<Contour> out;
  Settings s;
  s.ini_GOSA = "0.01";
  std::size_t r = 0;
  while (r != t.last_row() && !t.at(r, col::kind).is_empty()) {
    const std::size_t first = r;
    Contour c;
    for (; r != t.last_row() && !t.at(r, col::kind).is_empty() &&
           compare(t.at(r, col::contour), t.at(first, col::contour)) == 0;
         ++r) {
      c.ids.push_back(static_cast<int>(t.at(r, col::colour).number()));
      if (r > first && t.at(r, col::kind) != "ci") {
        EXPECT_NEAR(t.at(r, col::x1).number(), t.at(r - 1, col::x2).number(), 0.011) << "a gap in the chain";
        EXPECT_NEAR(t.at(r, col::y1).number(), t.at(r - 1, col::y2).number(), 0.011) << "a gap in the chain";
      }
    }
    c.closed = t.at(first, col::kind) == "ci" || contour_closes(t, first, r - 1, s);
    out.push_back(c);
  }
  for (; r != t.last_row(); ++r)
    EXPECT_TRUE(t.at(r, col::kind).is_empty()) << "row " << r << " after the contours";
  return out;
}

// "x1,y1>x2,y2 #contour.position" of each row, for whole-table comparisons.
std::vector<std::string> rows_of(const Table& t) {
  std::vector<std::string> out;
  for (std::size_t r = 0; r != t.last_row(); ++r) {
    if (t.at(r, 0).is_empty()) {
      out.push_back("-");
      continue;
    }
    out.push_back(t.at(r, 0).text_form() + " " + t.at(r, 1).text_form() + "," + t.at(r, 2).text_form() + ">" +
                  t.at(r, 3).text_form() + "," + t.at(r, 4).text_form() + " @" + t.at(r, 5).text_form() +
                  "," + t.at(r, 6).text_form() + " #" + t.at(r, 13).text_form() + "." +
                  t.at(r, 14).text_form());
  }
  return out;
}

// ---------------------------------------------------------------------------
// Parts drawn side by side, each with its own copy of the edge they share.

// The parts of a row: ids part * 10 + k. Each case is chained with its rows
// shuffled and its lines drawn either way round, many times over.
struct SideBySide {
  const char* name;
  std::vector<std::vector<El>> parts;
};

// The parts scaled by `size`, turned by `degrees` about the origin and
// written to four places as the host writes them: corners the parts share
// stay one point, but a corner that lies on a neighbour's side does so only
// within the matching tolerance, and sides that run along each other leave
// their common corner in directions a hair apart.
std::vector<std::vector<El>> turned(std::vector<std::vector<El>> parts, double size, double degrees) {
  const double c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
  auto place = [&](double& x, double& y) {
    const double tx = size * (c * x - s * y), ty = size * (s * x + c * y);
    x = std::round(tx * 1e4) / 1e4;
    y = std::round(ty * 1e4) / 1e4;
  };
  for (auto& part : parts)
    for (El& e : part) {
      place(e.x1, e.y1);
      place(e.x2, e.y2);
    }
  return parts;
}

// Rows whose shorter part's side lies along its neighbour's longer side,
// neither split where the other ends.
const std::vector<std::vector<El>> kSideAlongALongerSide{
    {line(0, 0, 1, 0), line(1, 0, 1, 1), line(1, 1, 0, 1), line(0, 1, 0, 0)},
    {line(1, 0, 3, 0), line(3, 0, 3, 2), line(3, 2, 1, 2), line(1, 2, 1, 0)}};
const std::vector<std::vector<El>> kLowerPartsEachSide{
    {line(0, 0, 1, 0), line(1, 0, 1, 1), line(1, 1, 0, 1), line(0, 1, 0, 0)},
    {line(1, 0, 2, 0), line(2, 0, 2, 3), line(2, 3, 1, 3), line(1, 3, 1, 0)},
    {line(2, 0, 3.5, 0), line(3.5, 0, 3.5, 2), line(3.5, 2, 2, 2), line(2, 2, 2, 0)}};
// Two squares touching at one corner, each side of a third that they touch
// with a corner at the middle of its sides.
const std::vector<std::vector<El>> kCornersOnSides{
    {line(0, 0, 1, 0), line(1, 0, 1, 1), line(1, 1, 0, 1), line(0, 1, 0, 0)},
    {line(1, 1, 2, 1), line(2, 1, 2, 2), line(2, 2, 1, 2), line(1, 2, 1, 1)},
    {line(2, 0.5, 3, 0.5), line(3, 0.5, 3, 1.5), line(3, 1.5, 2, 1.5), line(2, 1.5, 2, 0.5)}};

std::vector<SideBySide> side_by_side_rows() {
  const double h = std::sqrt(0.5);
  return {
      {"a side along a longer side", kSideAlongALongerSide},
      {"a side along a longer side, turned", turned(kSideAlongALongerSide, 45.2, 7.3)},
      {"a lower part each side", kLowerPartsEachSide},
      {"a lower part each side, turned", turned(kLowerPartsEachSide, 43.45, 97.5)},
      {"a lower part each side, turned a hair", turned(kLowerPartsEachSide, 61.1638, 0.01)},
      {"corners on sides", kCornersOnSides},
      {"corners on sides, turned", turned(kCornersOnSides, 38.7, 213.1)},
      {"equal heights",
       {{line(0, 0, 1, 0), line(1, 0, 1, 1), line(1, 1, 0, 1), line(0, 1, 0, 0)},
        {line(1, 0, 2, 0), line(2, 0, 2, 1), line(2, 1, 1, 1), line(1, 1, 1, 0)}}},
      // The taller part's side is split where the shorter part ends.
      {"different heights",
       {{line(0, 0, 1, 0), line(1, 0, 1, 1), line(1, 1, 1, 2), line(1, 2, 0, 2), line(0, 2, 0, 0)},
        {line(1, 0, 3, 0), line(3, 0, 3, 1), line(3, 1, 1, 1), line(1, 1, 1, 0)}}},
      {"three in a row, the middle one lower",
       {{line(0, 0, 1, 0), line(1, 0, 1, 1), line(1, 1, 1, 3), line(1, 3, 0, 3), line(0, 3, 0, 0)},
        {line(1, 0, 2, 0), line(2, 0, 2, 1), line(2, 1, 1, 1), line(1, 1, 1, 0)},
        {line(2, 0, 3, 0), line(3, 0, 3, 3), line(3, 3, 2, 3), line(2, 3, 2, 1), line(2, 1, 2, 0)}}},
      // An arc from (1, 0) to (1, 1) bulging into the right part.
      {"shared edge an arc",
       {{line(0, 0, 1, 0), arc(0.5, 0.5, h, -45, 45), line(1, 1, 0, 1), line(0, 1, 0, 0)},
        {line(1, 0, 3, 0), line(3, 0, 3, 1), line(3, 1, 1, 1), arc(0.5, 0.5, h, -45, 45)}}},
      // Four squares meeting at one corner: four ends of two parts there.
      {"two squares touching at a corner",
       {{line(0, 0, 1, 0), line(1, 0, 1, 1), line(1, 1, 0, 1), line(0, 1, 0, 0)},
        {line(1, 1, 2, 1), line(2, 1, 2, 2), line(2, 2, 1, 2), line(1, 2, 1, 1)}}},
      {"a grid of four",
       {{line(0, 0, 1, 0), line(1, 0, 1, 1), line(1, 1, 0, 1), line(0, 1, 0, 0)},
        {line(1, 0, 2, 0), line(2, 0, 2, 1), line(2, 1, 1, 1), line(1, 1, 1, 0)},
        {line(0, 1, 1, 1), line(1, 1, 1, 2), line(1, 2, 0, 2), line(0, 2, 0, 1)},
        {line(1, 1, 2, 1), line(2, 1, 2, 2), line(2, 2, 1, 2), line(1, 2, 1, 1)}}},
  };
}

class PartsSideBySide : public ::testing::TestWithParam<SideBySide> {};

TEST_P(PartsSideBySide, EachPartIsOneClosedContour) {
  const SideBySide& c = GetParam();
  std::mt19937 rng(2024);
  for (int round = 0; round < 40; ++round) {
    std::vector<El> els;
    for (std::size_t p = 0; p < c.parts.size(); ++p) {
      for (std::size_t k = 0; k < c.parts[p].size(); ++k) {
        El e = c.parts[p][k];
        e.id = static_cast<int>(10 * (p + 1) + k);
        els.push_back(std::string(e.kind) == "li" && rng() % 2 ? reversed(e) : e);
      }
    }
    std::shuffle(els.begin(), els.end(), rng);
    const Chained d = chained({{0, els}});
    const std::vector<Contour> found = contours_of(d.drawing.layer(0));
    ASSERT_EQ(found.size(), c.parts.size()) << c.name << ", round " << round;
    std::set<int> parts_seen;
    for (const Contour& k : found) {
      EXPECT_TRUE(k.closed) << c.name << ", round " << round;
      // The ids of one part, the shared edge perhaps the other part's copy.
      std::map<int, int> by_part;
      for (int id : k.ids) ++by_part[id / 10];
      const auto most = std::max_element(by_part.begin(), by_part.end(),
                                         [](const auto& a, const auto& b) { return a.second < b.second; });
      const std::size_t part = static_cast<std::size_t>(most->first - 1);
      EXPECT_EQ(k.ids.size(), c.parts[part].size()) << c.name << ", round " << round;
      parts_seen.insert(most->first);
    }
    EXPECT_EQ(parts_seen.size(), c.parts.size()) << c.name << ", round " << round;
    // A side along part of a longer one is named as an overlap in part;
    // nothing is left out as drawn twice.
    for (const Warning& w : d.warnings)
      EXPECT_NE(w.message.find("overlap"), std::string::npos) << c.name << ": " << w.message;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, PartsSideBySide, ::testing::ValuesIn(side_by_side_rows()),
                         [](const ::testing::TestParamInfo<SideBySide>& row) {
                           std::string name = row.param.name;
                           std::replace_if(
                               name.begin(), name.end(), [](char ch) { return !std::isalnum(ch); }, '_');
                           return name;
                         });

// Without copies of the shared edge, the chain taken by the lowest row
// runs from one part into the next.
TEST(PartsSideBySide, ByLowestRowTheChainRunsThroughBoth) {
  const std::vector<El> els{line(0, 0, 1, 0, 1), line(1, 0, 2, 0, 2), line(2, 0, 2, 1, 3),
                            line(2, 1, 1, 1, 4), line(1, 1, 1, 0, 5), line(1, 0, 1, 1, 6),
                            line(1, 1, 0, 1, 7), line(0, 1, 0, 0, 8)};
  const std::vector<Contour> plain = contours_of(chained({{0, els}}, ChainMode::lowest_row).drawing.layer(0));
  const std::vector<Contour> regions = contours_of(chained({{0, els}}).drawing.layer(0));
  ASSERT_EQ(regions.size(), 2u);
  // Either copy of the shared edge (5 and 6) may go to either part.
  auto part = [](const Contour& c) {
    std::set<int> ids(c.ids.begin(), c.ids.end());
    if (ids.erase(6) == 1) ids.insert(5);
    return ids;
  };
  EXPECT_EQ(part(regions[0]), (std::set<int>{1, 5, 7, 8}));
  EXPECT_EQ(part(regions[1]), (std::set<int>{2, 3, 4, 5}));
  EXPECT_NE(plain.size(), 2u);
}

// ---------------------------------------------------------------------------
// Elements drawn twice.

TEST(DrawnTwice, ASquareDrawnTwiceIsOneContour) {
  const std::vector<El> square{line(0, 0, 5, 0, 1), line(5, 0, 5, 5, 2), line(5, 5, 0, 5, 3),
                               line(0, 5, 0, 0, 4)};
  std::vector<El> els = square;
  for (const El& e : square) els.push_back(reversed(e));
  const Chained d = chained({{0, els}});
  const std::vector<Contour> found = contours_of(d.drawing.layer(0));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_TRUE(found[0].closed);
  EXPECT_EQ(found[0].ids.size(), 4u);
  ASSERT_EQ(d.warnings.size(), 1u);
  EXPECT_EQ(d.warnings[0].message, "layer 0: 4 elements drawn twice were left out");
  EXPECT_EQ(d.drawing.Cnt_total, 1);
}

TEST(DrawnTwice, AnElementDrawnAgainInItsOwnChainIsLeftOut) {
  // An open chain of three lines whose middle line is drawn again backwards:
  // the chain does not run back along it.
  const Chained d =
      chained({{2, {line(0, 0, 4, 0, 1), line(4, 0, 4, 4, 2), line(4, 4, 4, 0, 3), line(4, 4, 8, 4, 4)}}});
  const std::vector<Contour> found = contours_of(d.drawing.layer(2));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].ids, (std::vector<int>{1, 2, 4}));
  EXPECT_FALSE(found[0].closed);
  ASSERT_EQ(d.warnings.size(), 1u);
  EXPECT_EQ(d.warnings[0].message, "layer 2: 1 element drawn twice was left out");
}

TEST(DrawnTwice, ALineDrawnTwiceIsCutOnceNotToAndFro) {
  const Chained d = chained({{0, {line(0, 0, 9, 0, 1), line(9, 0, 0, 0, 2), line(0.005, 0, 9, 0.004, 3)}}});
  const std::vector<Contour> found = contours_of(d.drawing.layer(0));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].ids, (std::vector<int>{1}));
  EXPECT_EQ(d.warnings.at(0).message, "layer 0: 2 elements drawn twice were left out");
}

TEST(DrawnTwice, ACircleDrawnTwiceIsOneContour) {
  const Chained d = chained({{0, {circle(5, 5, 2, 1), circle(5, 5, 3, 2), circle(5.004, 5, 2.003, 3)}}});
  const std::vector<Contour> found = contours_of(d.drawing.layer(0));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].ids, (std::vector<int>{1}));
  EXPECT_EQ(found[1].ids, (std::vector<int>{2}));
  EXPECT_EQ(d.warnings.at(0).message, "layer 0: 1 element drawn twice was left out");
}

TEST(DrawnTwice, OnlyElementsOfOneLayerAreCompared) {
  const Chained d = chained(
      {{0, {circle(5, 5, 2, 1), line(0, 0, 1, 0, 2)}}, {3, {circle(5, 5, 2, 3), line(1, 0, 0, 0, 4)}}});
  EXPECT_EQ(d.drawing.Cnt_total, 4);
  EXPECT_TRUE(d.warnings.empty());
}

TEST(DrawnTwice, NearlyTheSameIsNotACopy) {
  // Beyond the tolerance; of one kind but not the same shape; the two arcs
  // that split a circle between the same ends.
  const Chained d =
      chained({{0,
                {circle(0, 0, 2), circle(0.02, 0, 2), circle(9, 9, 2), circle(9, 9, 2.02), line(20, 0, 30, 0),
                 line(20, 0, 30, 0.02), arc(50, 0, 5, 0, 180), arc(50, 0, 5, 180, 360)}}});
  EXPECT_TRUE(d.warnings.empty()) << d.warnings.front().message;
}

TEST(DrawnTwice, ACopyOfAPartialChainIsLeftOutAndNumbersStayInOrder) {
  // The copy of part one lies after part two: part two keeps number 2.
  const Chained d =
      chained({{0,
                {line(0, 0, 1, 0, 1), line(1, 0, 1, 1, 2), line(1, 1, 0, 0, 3), circle(9, 9, 1, 4),
                 line(1, 1, 1, 0, 5), line(0, 0, 1, 0, 6), line(1, 1, 0, 0, 7)}}});
  const std::vector<Contour> found = contours_of(d.drawing.layer(0));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[1].ids, (std::vector<int>{4}));
  EXPECT_EQ(d.drawing.layer(0).at(3, col::contour).text_form(), "2");
  EXPECT_EQ(d.warnings.at(0).message, "layer 0: 3 elements drawn twice were left out");
}

// ---------------------------------------------------------------------------
// Random sheets of parts drawn once, then with some parts drawn again.

struct RandomSheet {
  std::vector<std::vector<El>> parts;
};

// Polygons on a grid of cells 25 apart, one edge in three an arc bulging
// out, one part in four a circle: no two parts meet.
RandomSheet random_sheet(std::mt19937& rng, int count) {
  RandomSheet s;
  std::uniform_real_distribution<double> radius(2, 9);
  std::uniform_int_distribution<int> corners(3, 8);
  auto round3 = [](double v) { return std::round(v * 1000) / 1000; };
  for (int l = 0; l < count; ++l) {
    const double cx = 25.0 * (l % 6) + 12, cy = 25.0 * (l / 6) + 12;
    std::vector<El> part;
    if (rng() % 4 == 0) {
      part.push_back(circle(cx, cy, round3(radius(rng))));
      s.parts.push_back(part);
      continue;
    }
    const int n = corners(rng);
    std::vector<std::pair<double, double>> p;
    for (int i = 0; i < n; ++i) {
      const double a = 2 * kPi * i / n;
      const double r = radius(rng);
      p.emplace_back(round3(cx + r * std::cos(a)), round3(cy + r * std::sin(a)));
    }
    for (int i = 0; i < n; ++i) {
      const auto& a = p[static_cast<std::size_t>(i)];
      const auto& b = p[static_cast<std::size_t>((i + 1) % n)];
      if (rng() % 3 == 0) {
        const double mx = (a.first + b.first) / 2, my = (a.second + b.second) / 2;
        const double from = std::atan2(a.second - my, a.first - mx) * 180 / kPi;
        El e = arc(mx, my, std::hypot(a.first - mx, a.second - my), from, from + 180);
        e.x1 = a.first, e.y1 = a.second, e.x2 = b.first, e.y2 = b.second;
        part.push_back(e);
      } else {
        part.push_back(rng() % 2 ? line(a.first, a.second, b.first, b.second)
                                 : line(b.first, b.second, a.first, a.second));
      }
    }
    s.parts.push_back(part);
  }
  return s;
}

TEST(DrawnTwiceProperty, CopiesOfPartsLeaveTheContoursAsWithoutThem) {
  std::mt19937 rng(11);
  for (int round = 0; round < 60; ++round) {
    const RandomSheet sheet = random_sheet(rng, 18);
    // The drawing once, its elements shuffled: (sort key, element, part).
    struct Placed {
      double key;
      El el;
    };
    std::vector<El> once;
    std::vector<std::size_t> part_of;
    for (std::size_t p = 0; p < sheet.parts.size(); ++p)
      for (const El& e : sheet.parts[p]) {
        once.push_back(e);
        part_of.push_back(p);
      }
    std::vector<std::size_t> order(once.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::shuffle(order.begin(), order.end(), rng);
    std::vector<Placed> placed;
    std::vector<double> last_of_part(sheet.parts.size(), 0);
    for (std::size_t i = 0; i < order.size(); ++i) {
      placed.push_back({static_cast<double>(i), once[order[i]]});
      last_of_part[part_of[order[i]]] = static_cast<double>(i);
    }
    std::vector<El> drawn_once;
    for (const Placed& pl : placed) drawn_once.push_back(pl.el);
    // Some parts again, anywhere after the part's own last element, lines
    // sometimes backwards.
    std::size_t copies = 0;
    const double end = static_cast<double>(placed.size());
    for (std::size_t p = 0; p < sheet.parts.size(); ++p) {
      if (rng() % 3 != 0) continue;
      for (const El& e : sheet.parts[p]) {
        std::uniform_real_distribution<double> where(last_of_part[p] + 0.5, end);
        placed.push_back({where(rng), std::string(e.kind) == "li" && rng() % 2 ? reversed(e) : e});
        ++copies;
      }
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const Placed& a, const Placed& b) { return a.key < b.key; });
    std::vector<El> drawn_twice;
    for (const Placed& pl : placed) drawn_twice.push_back(pl.el);

    const Chained plain = chained({{0, drawn_once}}, ChainMode::lowest_row);
    const Chained single = chained({{0, drawn_once}});
    const Chained doubled = chained({{0, drawn_twice}});
    // Without copies, as chaining by lowest row has it.
    EXPECT_EQ(rows_of(single.drawing.layer(0)), rows_of(plain.drawing.layer(0))) << "round " << round;
    EXPECT_TRUE(single.warnings.empty());
    // With them, the same contours, the copies emptied after them.
    std::vector<std::string> expected = rows_of(single.drawing.layer(0));
    expected.resize(drawn_twice.size(), "-");
    EXPECT_EQ(rows_of(doubled.drawing.layer(0)), expected) << "round " << round;
    EXPECT_EQ(doubled.drawing.Cnt_total, static_cast<std::int64_t>(sheet.parts.size()));
    if (copies == 0) {
      EXPECT_TRUE(doubled.warnings.empty());
    } else {
      ASSERT_EQ(doubled.warnings.size(), 1u);
      const std::string count = copies == 1 ? "1 element drawn twice was left out"
                                            : std::to_string(copies) + " elements drawn twice were left out";
      EXPECT_EQ(doubled.warnings[0].message, "layer 0: " + count);
    }
  }
}

}  // namespace
}  // namespace makenc
