// The chaining index only narrows the search, so it must offer at least
// every row with a point within reach of the asked position, whatever the
// reach, the spread of the points and the rows already taken out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <vector>

#include "import/end_index.h"

namespace makenc {
namespace {

std::set<std::size_t> offered(const EndIndex& index, double x, double y) {
  std::vector<std::size_t> rows;
  index.rows_near(x, y, rows);
  return {rows.begin(), rows.end()};
}

void expect_offers_all_within_reach(double reach, std::vector<EndPoint> ends, std::mt19937& rng, double lo,
                                    double hi) {
  EndIndex index(reach, ends);
  std::uniform_real_distribution<double> coord(lo, hi);
  std::shuffle(ends.begin(), ends.end(), rng);
  std::vector<bool> held(ends.size(), true);
  for (std::size_t i = 0; i <= ends.size(); ++i) {
    // Asked at random places and right at the points, before and after
    // each point is taken out.
    for (int q = 0; q < 3; ++q) {
      const bool at_point = q > 0 && i < ends.size();
      const double x = at_point ? ends[i].x + (q - 1) * reach : coord(rng);
      const double y = at_point ? ends[i].y - (q - 1) * reach : coord(rng);
      const std::set<std::size_t> got = offered(index, x, y);
      for (std::size_t k = 0; k < ends.size(); ++k) {
        if (!held[k] || !(std::fabs(ends[k].x - x) <= reach && std::fabs(ends[k].y - y) <= reach)) continue;
        ASSERT_TRUE(got.count(ends[k].row))
            << "row " << ends[k].row << " at " << ends[k].x << ", " << ends[k].y << " asked at " << x << ", "
            << y << " reach " << reach;
      }
    }
    if (i < ends.size()) {
      index.remove(ends[i].row, ends[i].x, ends[i].y);
      held[i] = false;
    }
  }
  EXPECT_TRUE(offered(index, (lo + hi) / 2, (lo + hi) / 2).empty());
}

std::vector<EndPoint> random_ends(std::mt19937& rng, std::size_t n, double lo, double hi, double step) {
  std::uniform_real_distribution<double> coord(lo, hi);
  std::vector<EndPoint> ends;
  for (std::size_t r = 0; r < n; ++r) {
    for (int end = 0; end < 2; ++end) {
      double x = coord(rng), y = coord(rng);
      if (step > 0) x = std::round(x / step) * step, y = std::round(y / step) * step;
      ends.push_back({r, x, y});
    }
  }
  return ends;
}

TEST(EndIndexDifferential, OffersEveryPointWithinReach) {
  std::mt19937 rng(3);
  for (double reach : {0.001, 0.02, 1.0, 50.0, 5000.0})
    expect_offers_all_within_reach(reach, random_ends(rng, 150, -100, 400, 0), rng, -150, 450);
}

TEST(EndIndexDifferential, PointsThatShareAPlaceOrALine) {
  std::mt19937 rng(4);
  expect_offers_all_within_reach(0.03, random_ends(rng, 150, 0, 10, 0.5), rng, -1, 11);
  std::vector<EndPoint> line;
  for (std::size_t r = 0; r < 100; ++r) line.push_back({r, 250000.3 + 0.01 * static_cast<double>(r), 7});
  expect_offers_all_within_reach(0.0256, line, rng, 250000, 250002);
}

// The lowest accepted row is the lowest of the rows offered that passes,
// whatever has been taken out, whatever order the ends came in and however
// many points share one place.
TEST(EndIndexDifferential, LowestNearIsTheLowestOfferedRowAccepted) {
  std::mt19937 rng(5);
  for (double step : {0.0, 0.5}) {
    std::vector<EndPoint> ends = random_ends(rng, 200, 0, 10, step);
    for (std::size_t r = 200; r < 400; ++r) ends.push_back({r, 3, 3});
    std::shuffle(ends.begin(), ends.end(), rng);
    EndIndex index(0.03, ends);
    std::vector<char> accepted(400);
    std::bernoulli_distribution coin(0.7);
    for (char& a : accepted) a = coin(rng);
    auto accept = [&](std::size_t row) { return accepted[row] != 0; };
    std::uniform_real_distribution<double> coord(-1, 11);
    std::uniform_int_distribution<std::size_t> limit(0, 450);
    for (const EndPoint& taken : ends) {
      for (const auto& [x, y] : {std::pair{coord(rng), coord(rng)}, std::pair{3.0, 3.0}}) {
        const std::size_t below = limit(rng);
        std::vector<std::size_t> rows;
        index.rows_near(x, y, rows);
        std::size_t expected = below;
        for (std::size_t row : rows)
          if (row < expected && accept(row)) expected = row;
        ASSERT_EQ(index.lowest_near(x, y, below, accept), expected) << x << ", " << y << " below " << below;
      }
      index.remove(taken.row, taken.x, taken.y);
    }
    EXPECT_EQ(index.lowest_near(3, 3, 1000, accept), 1000u);
  }
}

TEST(EndIndexDifferential, PointsNoCellHoldsAreAlwaysOffered) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<EndPoint> ends{{0, 1, 1}, {1, 1e300, 0}, {2, std::nan(""), 0}, {3, -inf, 2}, {4, 3, 3}};
  const EndIndex index(0.5, ends);
  EXPECT_EQ(offered(index, 1, 1), (std::set<std::size_t>{0, 1, 2, 3}));
  EXPECT_EQ(offered(index, std::nan(""), 0), (std::set<std::size_t>{0, 1, 2, 3, 4}));
  // A reach that is no number makes every point a neighbour.
  EXPECT_EQ(offered(EndIndex(std::nan(""), ends), 1, 1), (std::set<std::size_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(offered(EndIndex(-1, ends), 100, 100), (std::set<std::size_t>{0, 1, 2, 3, 4}));
}

}  // namespace
}  // namespace makenc
