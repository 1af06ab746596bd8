// A grid over the end points of the segments still waiting to join a
// contour, so that chaining looks only at the segments near an open end
// instead of at every row of the layer. It only narrows the search: the
// chaining itself still applies its exact end-point test and takes the
// lowest row among the segments that pass it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace makenc {

// An end point of the segment in `row`.
struct EndPoint {
  std::size_t row = 0;
  double x = 0, y = 0;
};

class EndIndex {
 public:
  EndIndex() = default;
  // `reach`: no two points farther apart than this on either axis ever
  // meet. A reach that is not a positive finite number makes every point a
  // neighbour of every other.
  EndIndex(double reach, std::vector<EndPoint> ends);

  // Takes an end point out; (x, y) as it was given.
  void remove(std::size_t row, double x, double y);

  // Puts back an end point taken out by remove, with the same (x, y).
  void restore(std::size_t row, double x, double y);

  // Appends the rows that have a point within reach of (x, y); a row may
  // come more than once and rows farther away may come too.
  void rows_near(double x, double y, std::vector<std::size_t>& out) const;

  // The lowest row below `below` among those rows_near would offer for which
  // `accept` holds; `below` when there is none. Each cell is looked at from
  // its lowest row on and only up to the first row accepted, so many points
  // in one place (a drawing of the same line over and over) cost no more
  // than one.
  template <typename Accept>
  std::size_t lowest_near(double x, double y, std::size_t below, Accept accept) const;

 private:
  bool in_cells(double x, double y) const;
  std::int64_t column_of(double x) const;
  std::int64_t line_of(double y) const;
  std::size_t cell_of(double x, double y) const;
  void take_out(std::size_t cell, std::size_t row);
  // The cells looked at around (x, y), as ranges of columns and lines.
  struct Square {
    std::int64_t cx_lo = 0, cx_hi = -1, cy_lo = 0, cy_hi = -1;
  };
  Square square_near(double x, double y) const;
  template <typename Accept>
  std::size_t lowest_in_cell(std::size_t c, std::size_t below, Accept& accept) const;

  double reach_ = 0;
  // Cells at least two reaches wide over the box of the points, in a
  // dense row-major grid: neighbouring ends are neighbours in memory too.
  double x0_ = 0, y0_ = 0, cell_ = 1;
  std::int64_t nx_ = 0, ny_ = 0;
  // Cell c holds rows_[start_[c] .. start_[c + 1]) in ascending order; a
  // row taken out stays in its place, marked in taken_, and first_[c] skips
  // the taken rows at the front of the cell.
  std::vector<std::size_t> start_;
  std::vector<std::size_t> first_;
  std::vector<std::size_t> rows_;
  std::vector<char> taken_;
  // Points no cell can hold (far out, or not finite): always offered.
  std::vector<std::size_t> everywhere_;
};

template <typename Accept>
std::size_t EndIndex::lowest_in_cell(std::size_t c, std::size_t below, Accept& accept) const {
  for (std::size_t i = first_[c]; i < start_[c + 1] && rows_[i] < below; ++i)
    if (!taken_[i] && accept(rows_[i])) return rows_[i];
  return below;
}

template <typename Accept>
std::size_t EndIndex::lowest_near(double x, double y, std::size_t below, Accept accept) const {
  for (std::size_t row : everywhere_)
    if (row < below && accept(row)) below = row;
  const Square sq = square_near(x, y);
  for (std::int64_t cy = sq.cy_lo; cy <= sq.cy_hi; ++cy)
    for (std::int64_t cx = sq.cx_lo; cx <= sq.cx_hi; ++cx)
      below = lowest_in_cell(static_cast<std::size_t>(cy * nx_ + cx), below, accept);
  return below;
}

}  // namespace makenc
