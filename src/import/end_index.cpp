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

EndIndex::EndIndex(double reach, std::vector<EndPoint> ends) : reach_(reach) {
  // The ends a cell can hold stay at the front of `ends`, in their order.
  std::size_t kept = 0;
  double x_lo = 0, x_hi = 0, y_lo = 0, y_hi = 0;
  const bool usable = reach > 0 && std::isfinite(reach) && reach <= kFar;
  for (const EndPoint& e : ends) {
    if (!usable || !near_enough(e.x) || !near_enough(e.y)) {
      everywhere_.push_back(e.row);
      continue;
    }
    x_lo = kept == 0 ? e.x : std::min(x_lo, e.x);
    x_hi = kept == 0 ? e.x : std::max(x_hi, e.x);
    y_lo = kept == 0 ? e.y : std::min(y_lo, e.y);
    y_hi = kept == 0 ? e.y : std::max(y_hi, e.y);
    ends[kept++] = e;
  }
  ends.resize(kept);
  std::vector<EndPoint>& gridded = ends;
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
  // Ends in row order fill each cell in ascending order.
  auto by_row = [](const EndPoint& a, const EndPoint& b) { return a.row < b.row; };
  if (!std::is_sorted(gridded.begin(), gridded.end(), by_row))
    std::stable_sort(gridded.begin(), gridded.end(), by_row);
  std::vector<std::size_t> cell_of_end(gridded.size());
  for (std::size_t i = 0; i < gridded.size(); ++i) cell_of_end[i] = cell_of(gridded[i].x, gridded[i].y);
  start_.assign(cells + 1, 0);
  for (std::size_t c : cell_of_end) ++start_[c + 1];
  for (std::size_t c = 0; c < cells; ++c) start_[c + 1] += start_[c];
  rows_.assign(gridded.size(), 0);
  taken_.assign(gridded.size(), 0);
  // first_ holds each cell's next free place while the rows go in, then
  // each cell's first row.
  first_.assign(start_.begin(), start_.end() - 1);
  for (std::size_t i = 0; i < gridded.size(); ++i) rows_[first_[cell_of_end[i]]++] = gridded[i].row;
  first_.assign(start_.begin(), start_.end() - 1);
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
  const auto begin = rows_.begin();
  const auto last = begin + static_cast<std::ptrdiff_t>(start_[cell + 1]);
  auto it = std::lower_bound(begin + static_cast<std::ptrdiff_t>(first_[cell]), last, row);
  while (it != last && *it == row && taken_[static_cast<std::size_t>(it - begin)]) ++it;
  if (it == last || *it != row) return;
  taken_[static_cast<std::size_t>(it - begin)] = 1;
  while (first_[cell] < start_[cell + 1] && taken_[first_[cell]]) ++first_[cell];
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

void EndIndex::restore(std::size_t row, double x, double y) {
  if (reach_ > 0 && std::isfinite(reach_) && reach_ <= kFar && in_cells(x, y)) {
    const std::size_t cell = cell_of(x, y);
    const auto begin = rows_.begin();
    const auto last = begin + static_cast<std::ptrdiff_t>(start_[cell + 1]);
    auto it = std::lower_bound(begin + static_cast<std::ptrdiff_t>(start_[cell]), last, row);
    while (it != last && *it == row && !taken_[static_cast<std::size_t>(it - begin)]) ++it;
    if (it == last || *it != row) return;
    const auto i = static_cast<std::size_t>(it - begin);
    taken_[i] = 0;
    first_[cell] = std::min(first_[cell], i);
    return;
  }
  everywhere_.push_back(row);
}

EndIndex::Square EndIndex::square_near(double x, double y) const {
  if (nx_ == 0) return {};
  const double m = kMargin * reach_;
  // An end far out of the grid may meet any point: all cells.
  if (!in_cells(x - m, y - m) || !in_cells(x + m, y + m)) return {0, nx_ - 1, 0, ny_ - 1};
  // Floor is monotonic, so every point within reach lies in these cells;
  // a range wholly beyond one side of the grid is clamped onto its edge
  // cells, which only offers more.
  return {column_of(x - m), column_of(x + m), line_of(y - m), line_of(y + m)};
}

void EndIndex::rows_near(double x, double y, std::vector<std::size_t>& out) const {
  out.insert(out.end(), everywhere_.begin(), everywhere_.end());
  const Square sq = square_near(x, y);
  for (std::int64_t cy = sq.cy_lo; cy <= sq.cy_hi; ++cy) {
    for (std::int64_t cx = sq.cx_lo; cx <= sq.cx_hi; ++cx) {
      const auto c = static_cast<std::size_t>(cy * nx_ + cx);
      for (std::size_t i = first_[c]; i < start_[c + 1]; ++i)
        if (!taken_[i]) out.push_back(rows_[i]);
    }
  }
}

}  // namespace makenc
