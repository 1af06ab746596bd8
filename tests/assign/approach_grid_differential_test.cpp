// The grid's nearest four against a sort of every remaining point by
// (distance, row), while points are taken away as the planning does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "assign/approach_grid.h"
#include "core/cell.h"

namespace makenc {
namespace {

struct Points {
  std::vector<double> xs, ys;
  std::vector<std::size_t> rows;
};

// The four nearest by a sort of all held rows; nothing when one lies at 0.
std::optional<std::vector<std::size_t>> nearest_by_sort(const Points& p, const std::vector<bool>& held,
                                                        double x, double y) {
  std::vector<std::pair<double, std::size_t>> all;
  for (std::size_t r : p.rows) {
    if (!held[r]) continue;
    const double d = pt_dist(x, y, p.xs[r], p.ys[r]);
    if (d == 0) return std::nullopt;
    all.emplace_back(d, r);
  }
  std::sort(all.begin(), all.end());
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < all.size() && i < 4; ++i) out.push_back(all[i].second);
  return out;
}

std::vector<std::size_t> rows_of(const NearestRows& n) { return {n.rows.begin(), n.rows.begin() + n.count}; }

// Draws the grid down to nothing, asking from random places and from the
// points themselves (distance 0) on the way.
void expect_same_as_sort(Points p, std::mt19937& rng, double lo, double hi) {
  std::vector<bool> held(p.xs.size(), false);
  for (std::size_t r : p.rows) held[r] = true;
  ApproachGrid grid(p.xs, p.ys, p.rows);
  ASSERT_TRUE(grid.usable());
  std::vector<std::size_t> order = p.rows;
  std::shuffle(order.begin(), order.end(), rng);
  std::uniform_real_distribution<double> coord(lo, hi);
  for (std::size_t i = 0; i <= order.size(); ++i) {
    EXPECT_EQ(grid.size(), order.size() - i);
    for (int q = 0; q < 3; ++q) {
      const bool on_point = q == 2 && i < order.size();
      const double x = on_point ? p.xs[order[i]] : coord(rng), y = on_point ? p.ys[order[i]] : coord(rng);
      NearestRows got;
      const auto want = nearest_by_sort(p, held, x, y);
      ASSERT_EQ(grid.nearest_four(x, y, got), want.has_value()) << "at " << x << ", " << y;
      if (want) {
        ASSERT_EQ(rows_of(got), *want) << "at " << x << ", " << y << " with " << grid.size() << " left";
      }
    }
    if (i < order.size()) {
      grid.remove(order[i]);
      held[order[i]] = false;
    }
  }
}

Points random_points(std::mt19937& rng, std::size_t n, double lo, double hi, double step) {
  Points p;
  std::uniform_real_distribution<double> coord(lo, hi);
  for (std::size_t r = 0; r < n; ++r) {
    // On a coarse step many points share a distance, and some a place.
    double x = coord(rng), y = coord(rng);
    if (step > 0) {
      x = std::round(x / step) * step;
      y = std::round(y / step) * step;
    }
    p.xs.push_back(x);
    p.ys.push_back(y);
    if (r % 7 != 3) p.rows.push_back(r);  // rows already placed are not held
  }
  return p;
}

TEST(ApproachGridDifferential, ScatteredPoints) {
  std::mt19937 rng(5);
  for (int trial = 0; trial < 5; ++trial)
    expect_same_as_sort(random_points(rng, 300, 0, 1000, 0), rng, -200, 1200);
}

TEST(ApproachGridDifferential, PointsOnACoarseStepTieAndCoincide) {
  std::mt19937 rng(6);
  for (int trial = 0; trial < 5; ++trial)
    expect_same_as_sort(random_points(rng, 300, -20, 20, 5), rng, -30, 30);
}

TEST(ApproachGridDifferential, PointsOnALineAndOnOnePlace) {
  std::mt19937 rng(8);
  Points line;
  for (std::size_t r = 0; r < 200; ++r) {
    line.xs.push_back(static_cast<double>(r % 50) * 0.5);
    line.ys.push_back(3);
    line.rows.push_back(r);
  }
  expect_same_as_sort(line, rng, -5, 30);
  Points one{std::vector<double>(100, 7.25), std::vector<double>(100, -1), {}};
  for (std::size_t r = 0; r < 100; ++r) one.rows.push_back(r);
  expect_same_as_sort(one, rng, 0, 10);
}

TEST(ApproachGridDifferential, ToolFarOutsideTheGrid) {
  std::mt19937 rng(9);
  expect_same_as_sort(random_points(rng, 200, 100, 110, 0), rng, -1e6, 1e6);
}

TEST(ApproachGrid, PointsTooFarOutLeaveItToThePlainPass) {
  const std::vector<std::size_t> rows{0, 1};
  NearestRows n;
  EXPECT_FALSE(ApproachGrid({0, 1e300}, {0, 0}, rows).usable());
  EXPECT_FALSE(ApproachGrid({0, std::nan("")}, {0, 0}, rows).nearest_four(1, 1, n));
  const ApproachGrid grid({0, 5}, {0, 0}, rows);
  EXPECT_FALSE(grid.nearest_four(1e300, 0, n));
  EXPECT_FALSE(grid.nearest_four(std::numeric_limits<double>::infinity(), 0, n));
  ASSERT_TRUE(grid.nearest_four(4, 0, n));
  EXPECT_EQ(rows_of(n), (std::vector<std::size_t>{1, 0}));
}

TEST(ApproachGrid, AnEmptyGridAnswersNothing) {
  const ApproachGrid grid({1, 2}, {1, 2}, {});
  NearestRows n;
  n.count = 3;
  EXPECT_TRUE(grid.nearest_four(0, 0, n));
  EXPECT_EQ(n.count, 0u);
}

}  // namespace
}  // namespace makenc
