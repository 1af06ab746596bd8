#include "assign/approach_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/cell.h"

namespace makenc {
namespace {

// Coordinates beyond this, and cell numbers beyond kMaxCell, are left to the
// plain pass: cell borders computed there would be too coarse to trust.
constexpr double kFar = 1e12;
constexpr double kMaxCell = 1e15;
// Below this a computed distance may have underflowed to 0.
constexpr double kTiny = 1e-100;
// A grid rebuilt once only a quarter of its points remain keeps its cells
// dense, so the rounds near the end do not walk through empty cells.
constexpr std::size_t kRebuildFactor = 4;
constexpr std::size_t kRebuildMin = 64;

bool near_enough(double v) { return std::isfinite(v) && std::fabs(v) <= kFar; }

std::int64_t clamp_cell(double f, std::int64_t n) {
  if (!(f >= 0)) return 0;
  if (f >= static_cast<double>(n - 1)) return n - 1;
  return static_cast<std::int64_t>(f);
}

// Keeps the four smallest (distance, row) pairs, ascending.
void keep_nearest(NearestRows& best, double d, std::size_t row) {
  std::size_t s = best.count;
  while (s > 0 && (best.distances[s - 1] > d || (best.distances[s - 1] == d && best.rows[s - 1] > row))) --s;
  if (s >= best.rows.size()) return;
  const std::size_t last = std::min<std::size_t>(best.count, best.rows.size() - 1);
  for (std::size_t k = last; k > s; --k) {
    best.distances[k] = best.distances[k - 1];
    best.rows[k] = best.rows[k - 1];
  }
  best.distances[s] = d;
  best.rows[s] = row;
  best.count = std::min<std::size_t>(best.count + 1, best.rows.size());
}

}  // namespace

ApproachGrid::ApproachGrid(std::vector<double> xs, std::vector<double> ys,
                           const std::vector<std::size_t>& rows)
    : xs_(std::move(xs)), ys_(std::move(ys)), cell_of_(xs_.size(), -1) {
  build(rows);
}

void ApproachGrid::build(const std::vector<std::size_t>& rows) {
  usable_ = true;
  double x_lo = 0, x_hi = 0, y_lo = 0, y_hi = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const double x = xs_[rows[i]], y = ys_[rows[i]];
    if (!near_enough(x) || !near_enough(y)) usable_ = false;
    x_lo = i == 0 ? x : std::min(x_lo, x);
    x_hi = i == 0 ? x : std::max(x_hi, x);
    y_lo = i == 0 ? y : std::min(y_lo, y);
    y_hi = i == 0 ? y : std::max(y_hi, y);
  }
  if (!usable_) return;
  // About two points a cell; a thin strip of points still gets square cells.
  const double n = static_cast<double>(std::max<std::size_t>(rows.size(), 1));
  const double w = x_hi - x_lo, hh = y_hi - y_lo;
  double h = std::max(std::sqrt(w * hh * 2 / n), std::max(w, hh) * 2 / n);
  if (!(h > 0) || !std::isfinite(h)) h = 1;
  g_ = Cells{x_lo, y_lo, h, static_cast<std::int64_t>(std::floor(w / h)) + 1,
             static_cast<std::int64_t>(std::floor(hh / h)) + 1};
  const auto cells = static_cast<std::size_t>(g_.nx * g_.ny);
  start_.assign(cells + 1, 0);
  live_in_.assign(cells, 0);
  for (std::size_t row : rows) ++live_in_[static_cast<std::size_t>(cell_index(xs_[row], ys_[row]))];
  for (std::size_t c = 0; c < cells; ++c) start_[c + 1] = start_[c] + live_in_[c];
  rows_.assign(rows.size(), 0);
  std::fill(live_in_.begin(), live_in_.end(), 0);
  for (std::size_t row : rows) {
    const std::int64_t c = cell_index(xs_[row], ys_[row]);
    const auto cu = static_cast<std::size_t>(c);
    rows_[start_[cu] + live_in_[cu]++] = row;
    cell_of_[row] = c;
  }
  live_ = built_ = rows.size();
}

std::int64_t ApproachGrid::cell_index(double x, double y) const {
  const std::int64_t cx = clamp_cell(std::floor((x - g_.x0) / g_.h), g_.nx);
  const std::int64_t cy = clamp_cell(std::floor((y - g_.y0) / g_.h), g_.ny);
  return cy * g_.nx + cx;
}

void ApproachGrid::remove(std::size_t row) {
  if (row >= cell_of_.size() || cell_of_[row] < 0) return;
  const auto c = static_cast<std::size_t>(cell_of_[row]);
  const auto first = rows_.begin() + static_cast<std::ptrdiff_t>(start_[c]);
  const auto last = first + live_in_[c];
  auto it = std::find(first, last, row);
  if (it == last) return;
  *it = *(last - 1);
  --live_in_[c];
  cell_of_[row] = -1;
  --live_;
  if (usable_ && built_ >= kRebuildMin && live_ * kRebuildFactor < built_) {
    std::vector<std::size_t> left;
    left.reserve(live_);
    for (std::size_t k = 0; k < live_in_.size(); ++k)
      left.insert(left.end(), rows_.begin() + static_cast<std::ptrdiff_t>(start_[k]),
                  rows_.begin() + static_cast<std::ptrdiff_t>(start_[k] + live_in_[k]));
    build(left);
  }
}

void ApproachGrid::visit_cell(std::int64_t cx, std::int64_t cy, Visit& v) const {
  if (cx < 0 || cy < 0 || cx >= g_.nx || cy >= g_.ny) return;
  const auto c = static_cast<std::size_t>(cy * g_.nx + cx);
  for (std::size_t k = start_[c]; k < start_[c] + live_in_[c]; ++k) {
    const std::size_t row = rows_[k];
    if (v.skip != nullptr && (*v.skip)[row] != 0) continue;
    const double d = pt_dist(v.x, v.y, xs_[row], ys_[row]);
    if (d == 0)
      v.zero = true;
    else
      keep_nearest(v.best, d, row);
  }
}

void ApproachGrid::visit_ring(std::int64_t ix, std::int64_t iy, std::int64_t r, Visit& v) const {
  if (r == 0) {
    visit_cell(ix, iy, v);
    return;
  }
  const std::int64_t x_lo = std::max<std::int64_t>(ix - r, 0), x_hi = std::min(ix + r, g_.nx - 1);
  const std::int64_t y_lo = std::max<std::int64_t>(iy - r + 1, 0), y_hi = std::min(iy + r - 1, g_.ny - 1);
  for (std::int64_t cx = x_lo; cx <= x_hi; ++cx) {
    visit_cell(cx, iy - r, v);
    visit_cell(cx, iy + r, v);
  }
  for (std::int64_t cy = y_lo; cy <= y_hi; ++cy) {
    visit_cell(ix - r, cy, v);
    visit_cell(ix + r, cy, v);
  }
}

// How near to (x, y) a point outside the square of cells within r of (ix,
// iy) can be; infinite when that square covers the grid. Less a margin for
// the rounding of the cell borders.
double ApproachGrid::unvisited_bound(std::int64_t ix, std::int64_t iy, std::int64_t r, double x,
                                     double y) const {
  const double inf = std::numeric_limits<double>::infinity();
  const auto at = [](double origin, std::int64_t cell, double h) {
    return origin + static_cast<double>(cell) * h;
  };
  double bound = inf;
  if (ix - r > 0) bound = std::min(bound, x - at(g_.x0, ix - r, g_.h));
  if (ix + r < g_.nx - 1) bound = std::min(bound, at(g_.x0, ix + r + 1, g_.h) - x);
  if (iy - r > 0) bound = std::min(bound, y - at(g_.y0, iy - r, g_.h));
  if (iy + r < g_.ny - 1) bound = std::min(bound, at(g_.y0, iy + r + 1, g_.h) - y);
  if (bound == inf) return inf;
  const double extent = static_cast<double>(g_.nx + g_.ny + 2) * g_.h;
  const double slack =
      1e-12 * (std::fabs(g_.x0) + std::fabs(g_.y0) + std::fabs(x) + std::fabs(y) + extent) + 1e-9 * g_.h;
  return bound - slack;
}

bool ApproachGrid::nearest_four(double x, double y, NearestRows& out, const std::vector<char>* skip) const {
  out = NearestRows{};
  if (!usable_) return false;
  if (live_ == 0) return true;
  if (!near_enough(x) || !near_enough(y)) return false;
  const double fx = std::floor((x - g_.x0) / g_.h), fy = std::floor((y - g_.y0) / g_.h);
  if (!(std::fabs(fx) < kMaxCell) || !(std::fabs(fy) < kMaxCell)) return false;
  const auto ix = static_cast<std::int64_t>(fx), iy = static_cast<std::int64_t>(fy);
  // Rings that cannot reach the grid are skipped.
  const auto outside = [](std::int64_t i, std::int64_t n) { return i < 0 ? -i : (i >= n ? i - n + 1 : 0); };
  Visit v{x, y, out, false, skip};
  for (std::int64_t r = std::max(outside(ix, g_.nx), outside(iy, g_.ny));; ++r) {
    visit_ring(ix, iy, r, v);
    const double bound = unvisited_bound(ix, iy, r, x, y);
    if (bound == std::numeric_limits<double>::infinity()) break;
    if (out.count == out.rows.size() && bound > kTiny && bound * (1 - 1e-9) > out.distances.back()) break;
  }
  return !v.zero;
}

}  // namespace makenc
