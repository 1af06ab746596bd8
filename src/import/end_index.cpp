#include "import/end_index.h"

#include <algorithm>
#include <cmath>

namespace makenc {
namespace {

// Points beyond this stay out of the cells, where cell borders computed from
// them would be too coarse to trust.
constexpr double kFar = 1e12;
// A cell is at least one reach wide and the square looked at around an end
// is the reach widened by a quarter against rounding: at the tolerances of
// real work the cells are sized by the spread of the points and one or two
// of them are looked at; at a tolerance as wide as the parts the square
// stays as small as the reach allows.
constexpr double kCellReaches = 1;
constexpr double kMargin = 1.25;

bool near_enough(double v) { return std::isfinite(v) && std::fabs(v) <= kFar; }

}  // namespace

EndIndex::EndIndex(double reach, const std::vector<EndPoint>& ends) : reach_(reach) {
  std::vector<EndPoint> gridded;
  gridded.reserve(ends.size());
  double x_lo = 0, x_hi = 0, y_lo = 0, y_hi = 0;
  const bool usable = reach > 0 && std::isfinite(reach) && reach <= kFar;
  for (const EndPoint& e : ends) {
    if (!usable || !near_enough(e.x) || !near_enough(e.y)) {
      everywhere_.push_back(e.row);
      continue;
    }
    x_lo = gridded.empty() ? e.x : std::min(x_lo, e.x);
    x_hi = gridded.empty() ? e.x : std::max(x_hi, e.x);
    y_lo = gridded.empty() ? e.y : std::min(y_lo, e.y);
    y_hi = gridded.empty() ? e.y : std::max(y_hi, e.y);
    gridded.push_back(e);
  }
  if (gridded.empty()) return;
  // About one point a cell, never narrower than the reach asks.
  const double w = x_hi - x_lo, h = y_hi - y_lo;
  const double n = static_cast<double>(gridded.size());
  cell_ = std::max({reach * kCellReaches, std::sqrt(w * h / n), std::max(w, h) / n});
  x0_ = x_lo;
  y0_ = y_lo;
  nx_ = static_cast<std::int64_t>(std::floor(w / cell_)) + 1;
  ny_ = static_cast<std::int64_t>(std::floor(h / cell_)) + 1;
  const auto cells = static_cast<std::size_t>(nx_ * ny_);
  start_.assign(cells + 1, 0);
  count_.assign(cells, 0);
  for (const EndPoint& e : gridded) ++count_[cell_of(e.x, e.y)];
  for (std::size_t c = 0; c < cells; ++c) start_[c + 1] = start_[c] + count_[c];
  rows_.assign(gridded.size(), 0);
  std::fill(count_.begin(), count_.end(), 0);
  for (const EndPoint& e : gridded) {
    const std::size_t c = cell_of(e.x, e.y);
    rows_[start_[c] + count_[c]++] = e.row;
  }
}

bool EndIndex::in_cells(double x, double y) const { return nx_ > 0 && near_enough(x) && near_enough(y); }

std::int64_t EndIndex::column_of(double x) const {
  const double f = std::floor((x - x0_) / cell_);
  return f < 0 ? 0 : f >= static_cast<double>(nx_ - 1) ? nx_ - 1 : static_cast<std::int64_t>(f);
}

std::int64_t EndIndex::line_of(double y) const {
  const double f = std::floor((y - y0_) / cell_);
  return f < 0 ? 0 : f >= static_cast<double>(ny_ - 1) ? ny_ - 1 : static_cast<std::int64_t>(f);
}

std::size_t EndIndex::cell_of(double x, double y) const {
  return static_cast<std::size_t>(line_of(y) * nx_ + column_of(x));
}

void EndIndex::take_out(std::size_t cell, std::size_t row) {
  const auto first = rows_.begin() + static_cast<std::ptrdiff_t>(start_[cell]);
  const auto last = first + count_[cell];
  const auto it = std::find(first, last, row);
  if (it == last) return;
  *it = *(last - 1);
  --count_[cell];
}

void EndIndex::remove(std::size_t row, double x, double y) {
  if (reach_ > 0 && std::isfinite(reach_) && reach_ <= kFar && in_cells(x, y)) {
    take_out(cell_of(x, y), row);
    return;
  }
  const auto it = std::find(everywhere_.begin(), everywhere_.end(), row);
  if (it == everywhere_.end()) return;
  *it = everywhere_.back();
  everywhere_.pop_back();
}

void EndIndex::offer_all(std::vector<std::size_t>& out) const {
  for (std::size_t c = 0; c < count_.size(); ++c)
    out.insert(out.end(), rows_.begin() + static_cast<std::ptrdiff_t>(start_[c]),
               rows_.begin() + static_cast<std::ptrdiff_t>(start_[c] + count_[c]));
}

void EndIndex::rows_near(double x, double y, std::vector<std::size_t>& out) const {
  out.insert(out.end(), everywhere_.begin(), everywhere_.end());
  if (nx_ == 0) return;
  const double m = kMargin * reach_;
  if (!in_cells(x - m, y - m) || !in_cells(x + m, y + m)) {
    // An end far out of the grid may meet any point: offer them all.
    offer_all(out);
    return;
  }
  // Floor is monotonic, so every point within reach lies in these cells;
  // a range wholly beyond one side of the grid is clamped onto its edge
  // cells, which only offers more.
  const std::int64_t cx_lo = column_of(x - m), cx_hi = column_of(x + m);
  const std::int64_t cy_lo = line_of(y - m), cy_hi = line_of(y + m);
  for (std::int64_t cy = cy_lo; cy <= cy_hi; ++cy) {
    for (std::int64_t cx = cx_lo; cx <= cx_hi; ++cx) {
      const auto c = static_cast<std::size_t>(cy * nx_ + cx);
      out.insert(out.end(), rows_.begin() + static_cast<std::ptrdiff_t>(start_[c]),
                 rows_.begin() + static_cast<std::ptrdiff_t>(start_[c] + count_[c]));
    }
  }
}

}  // namespace makenc
