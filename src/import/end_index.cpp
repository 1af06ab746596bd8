#include "import/end_index.h"

#include <algorithm>
#include <cmath>

namespace makenc {
namespace {

// Cell numbers stay well inside the range a double holds exactly.
constexpr double kMaxCell = 1e15;
// Cells several reaches wide: the square within reach of an end point
// (widened once more against rounding) then mostly falls into one or two
// cells, where a grid of cells one reach wide needs nine look-ups.
constexpr double kCellReaches = 8;
constexpr double kMargin = 2;

}  // namespace

EndIndex::EndIndex(double reach) : reach_(reach), cell_(reach * kCellReaches) {}

bool EndIndex::cell_of(double x, double y, std::int64_t& cx, std::int64_t& cy) const {
  if (!(reach_ > 0) || !std::isfinite(cell_)) return false;
  const double fx = std::floor(x / cell_);
  const double fy = std::floor(y / cell_);
  if (!(std::fabs(fx) < kMaxCell) || !(std::fabs(fy) < kMaxCell)) return false;
  cx = static_cast<std::int64_t>(fx);
  cy = static_cast<std::int64_t>(fy);
  return true;
}

EndIndex::Key EndIndex::key(std::int64_t cx, std::int64_t cy) {
  // Two cells sharing a key only cost an extra exact test.
  return static_cast<Key>(cx) * 0x9E3779B97F4A7C15ULL ^ static_cast<Key>(cy);
}

void EndIndex::erase_row(std::vector<std::size_t>& rows, std::size_t row) {
  auto it = std::find(rows.begin(), rows.end(), row);
  if (it == rows.end()) return;
  *it = rows.back();
  rows.pop_back();
}

void EndIndex::add(std::size_t row, double x, double y) {
  std::int64_t cx = 0;
  std::int64_t cy = 0;
  if (cell_of(x, y, cx, cy))
    cells_[key(cx, cy)].push_back(row);
  else
    everywhere_.push_back(row);
}

void EndIndex::remove(std::size_t row, double x, double y) {
  std::int64_t cx = 0;
  std::int64_t cy = 0;
  if (!cell_of(x, y, cx, cy)) {
    erase_row(everywhere_, row);
    return;
  }
  auto it = cells_.find(key(cx, cy));
  if (it != cells_.end()) erase_row(it->second, row);
}

void EndIndex::rows_near(double x, double y, std::vector<std::size_t>& out) const {
  out.insert(out.end(), everywhere_.begin(), everywhere_.end());
  const double m = kMargin * reach_;
  std::int64_t x_lo = 0, y_lo = 0, x_hi = 0, y_hi = 0;
  if (!cell_of(x - m, y - m, x_lo, y_lo) || !cell_of(x + m, y + m, x_hi, y_hi)) {
    // An end far out of the grid may meet any point: offer them all.
    for (const auto& [k, rows] : cells_) out.insert(out.end(), rows.begin(), rows.end());
    return;
  }
  for (std::int64_t cx = x_lo; cx <= x_hi; ++cx) {
    for (std::int64_t cy = y_lo; cy <= y_hi; ++cy) {
      auto it = cells_.find(key(cx, cy));
      if (it != cells_.end()) out.insert(out.end(), it->second.begin(), it->second.end());
    }
  }
}

}  // namespace makenc
