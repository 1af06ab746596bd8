#include "geometry/drawn_elements.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "geometry/grid.h"

namespace makenc {
namespace {

// About this many elements share a cell, and there are never many more
// cells than elements: a thin strip of a drawing gets long cells.
constexpr double kPerCell = 2;
constexpr double kCellsPerElement = 4;

}  // namespace

DrawnElements::DrawnElements(const Drawing& drawing, const LayerTicks& ticked) {
  std::size_t rows = 0;
  for (int k = 0; k < kLayerCount; ++k)
    if (ticked[static_cast<std::size_t>(k)] && drawing.has_layer(k)) rows += drawing.layer(k).last_row();
  elements_.reserve(rows);
  for (int k = 0; k < kLayerCount; ++k) {
    if (!ticked[static_cast<std::size_t>(k)] || !drawing.has_layer(k)) continue;
    const Table& t = drawing.layer(k);
    std::vector<std::uint32_t>& of_row = element_of_row_[static_cast<std::size_t>(k)];
    of_row.assign(t.last_row(), kNoElement);
    for (std::size_t r = 0; r < t.last_row(); ++r)
      if (const auto shape = element_shape(t, r)) {
        of_row[r] = static_cast<std::uint32_t>(elements_.size());
        elements_.push_back(*shape);
      }
  }
  const std::optional<Grid> grid =
      Grid::over(elements_, kPerCell, kCellsPerElement, [](const ElementShape& s) { return s.extent(); });
  if (!grid) return;  // a drawing this far out has nothing a lead-in could meet
  x0_ = grid->x0, y0_ = grid->y0, h_ = grid->h;
  nx_ = grid->nx, ny_ = grid->ny;
  const auto cells = static_cast<std::size_t>(nx_ * ny_);
  std::vector<std::size_t> count(cells + 1, 0);
  auto each_cell = [this](const ElementShape& s, auto&& visit) {
    const Extent e = s.extent();
    const Range g = cells_of(e.left, e.right, e.low, e.high);
    for (std::int64_t y = g.y_lo; y <= g.y_hi; ++y)
      for (std::int64_t x = g.x_lo; x <= g.x_hi; ++x) visit(static_cast<std::size_t>(y * nx_ + x));
  };
  for (const ElementShape& d : elements_) each_cell(d, [&count](std::size_t c) { ++count[c + 1]; });
  for (std::size_t c = 0; c < cells; ++c) count[c + 1] += count[c];
  start_ = count;
  items_.resize(start_.back());
  for (std::size_t i = 0; i < elements_.size(); ++i)
    each_cell(elements_[i], [&](std::size_t c) { items_[count[c]++] = static_cast<std::uint32_t>(i); });
  seen_.assign(elements_.size(), 0);
}

DrawnElements::Range DrawnElements::cells_of(double left, double right, double low, double high) const {
  auto cell = [this](double v, double origin, std::int64_t n) {
    const double f = std::floor((v - origin) / h_);
    if (!(f >= 0)) return std::int64_t{0};
    if (f >= static_cast<double>(n - 1)) return n - 1;
    return static_cast<std::int64_t>(f);
  };
  return {cell(left, x0_, nx_), cell(right, x0_, nx_), cell(low, y0_, ny_), cell(high, y0_, ny_)};
}

bool DrawnElements::within(double x, double y, double band) const {
  return within_except(x, y, band, [](std::uint32_t) { return false; });
}

bool DrawnElements::other_within(double x, double y, double band, int layer, std::size_t first,
                                 std::size_t end) const {
  const std::vector<std::uint32_t>* of_row =
      layer >= 0 && layer < kLayerCount ? &element_of_row_[static_cast<std::size_t>(layer)] : nullptr;
  return within_except(x, y, band, [&](std::uint32_t e) {
    if (of_row == nullptr) return false;
    for (std::size_t r = first; r < end && r < of_row->size(); ++r)
      if ((*of_row)[r] == e) return true;
    return false;
  });
}

template <class Skip>
bool DrawnElements::within_except(double x, double y, double band, Skip&& skip) const {
  if (start_.empty() || !std::isfinite(x) || !std::isfinite(y)) return false;
  const Range g = cells_of(x - band, x + band, y - band, y + band);
  if (x + band < x0_ || y + band < y0_ || x - band > x0_ + static_cast<double>(nx_) * h_ ||
      y - band > y0_ + static_cast<double>(ny_) * h_)
    return false;
  for (std::int64_t cy = g.y_lo; cy <= g.y_hi; ++cy)
    for (std::int64_t cx = g.x_lo; cx <= g.x_hi; ++cx) {
      const auto c = static_cast<std::size_t>(cy * nx_ + cx);
      for (std::size_t k = start_[c]; k < start_[c + 1]; ++k) {
        const ElementShape& d = elements_[items_[k]];
        const Extent e = d.extent();
        if (e.right < x - band || e.left > x + band || e.high < y - band || e.low > y + band) continue;
        if (distance_to(d, x, y) <= band && !skip(items_[k])) return true;
      }
    }
  return false;
}

// A lead-in whose box spans this many cells or fewer is looked for in
// each of them; a longer one cell by cell along it.
constexpr std::int64_t kFewCells = 6;

bool DrawnElements::lead_in_meets(double px, double py, double cx, double cy) const {
  if (start_.empty()) return false;
  if (++stamp_ == 0) {
    std::fill(seen_.begin(), seen_.end(), 0);
    stamp_ = 1;
  }
  const double len = std::hypot(cx - px, cy - py);
  // The lead-in ends on its contour: a meeting there is its contact, with
  // its own contour or with one drawn over it or touching it there.
  const double at_contact = 1e-9 * (std::fabs(cx) + std::fabs(cy) + len + 1);
  const double lo_x = std::min(px, cx), hi_x = std::max(px, cx);
  const double lo_y = std::min(py, cy), hi_y = std::max(py, cy);
  auto meets_in = [&](std::int64_t x, std::int64_t y) {
    if (x < 0 || y < 0 || x >= nx_ || y >= ny_) return false;
    const auto c = static_cast<std::size_t>(y * nx_ + x);
    for (std::size_t k = start_[c]; k < start_[c + 1]; ++k) {
      const std::uint32_t i = items_[k];
      if (seen_[i] == stamp_) continue;
      seen_[i] = stamp_;
      const ElementShape& d = elements_[i];
      const Extent e = d.extent();
      if (e.right < lo_x || e.left > hi_x || e.high < lo_y || e.low > hi_y) continue;
      const auto t = segment_meets(d, px, py, cx, cy);
      if (t && (1 - *t) * len > at_contact) return true;
    }
    return false;
  };
  // Only the part of the lead-in over the drawing can meet anything; every
  // cell it passes lies next to one of its points taken half a cell apart.
  double t0 = 0, t1 = 1;
  if (!clip(px, py, cx, cy, t0, t1)) return false;
  // A short lead-in: every cell of its box. An element it meets holds the
  // point where they meet in its extent, so the cell of that point is one
  // of its own cells and one of the box's; the box is widened by far more
  // than an extent's rounding, so that a point on a cell's edge finds the
  // element in the cell on either side.
  {
    const double ax = px + (cx - px) * t0, ay = py + (cy - py) * t0;
    const double bx = px + (cx - px) * t1, by = py + (cy - py) * t1;
    const double wide = 1e-9 * (1 + std::fabs(ax) + std::fabs(ay) + std::fabs(bx) + std::fabs(by));
    const Range g = cells_of(std::min(ax, bx) - wide, std::max(ax, bx) + wide, std::min(ay, by) - wide,
                             std::max(ay, by) + wide);
    if ((g.x_hi - g.x_lo + 1) * (g.y_hi - g.y_lo + 1) <= kFewCells) {
      for (std::int64_t y = g.y_lo; y <= g.y_hi; ++y)
        for (std::int64_t x = g.x_lo; x <= g.x_hi; ++x)
          if (meets_in(x, y)) return true;
      return false;
    }
  }
  const double span = (t1 - t0) * len;
  const double steps = std::ceil(span / (h_ / 2));
  if (!std::isfinite(steps)) return false;
  // A point in the cell of the point before it has nothing new to offer.
  std::int64_t last_x = -2, last_y = -2;
  for (double i = 0; i <= steps; ++i) {
    const double t = steps == 0 ? t0 : t0 + (t1 - t0) * i / steps;
    const Range g = cells_of(px + (cx - px) * t, px + (cx - px) * t, py + (cy - py) * t, py + (cy - py) * t);
    if (g.x_lo == last_x && g.y_lo == last_y) continue;
    last_x = g.x_lo, last_y = g.y_lo;
    for (std::int64_t y = g.y_lo - 1; y <= g.y_hi + 1; ++y)
      for (std::int64_t x = g.x_lo - 1; x <= g.x_hi + 1; ++x)
        if (meets_in(x, y)) return true;
  }
  return false;
}

// The fractions t0..t1 of the segment from p to c that lie over the
// drawing's extent, widened by a cell; false when none does.
bool DrawnElements::clip(double px, double py, double cx, double cy, double& t0, double& t1) const {
  const double lo[2] = {x0_ - h_, y0_ - h_};
  const double hi[2] = {x0_ + (static_cast<double>(nx_) + 1) * h_, y0_ + (static_cast<double>(ny_) + 1) * h_};
  const double from[2] = {px, py}, d[2] = {cx - px, cy - py};
  for (int a = 0; a < 2; ++a) {
    if (d[a] == 0) {
      if (from[a] < lo[a] || from[a] > hi[a]) return false;
      continue;
    }
    double u = (lo[a] - from[a]) / d[a], v = (hi[a] - from[a]) / d[a];
    if (u > v) std::swap(u, v);
    t0 = std::max(t0, u);
    t1 = std::min(t1, v);
  }
  return t0 <= t1;
}

}  // namespace makenc
