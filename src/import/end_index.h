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
  EndIndex(double reach, const std::vector<EndPoint>& ends);

  // Takes an end point out; (x, y) as it was given.
  void remove(std::size_t row, double x, double y);

  // Appends the rows that have a point within reach of (x, y); a row may
  // come more than once and rows farther away may come too.
  void rows_near(double x, double y, std::vector<std::size_t>& out) const;

 private:
  bool in_cells(double x, double y) const;
  std::int64_t column_of(double x) const;
  std::int64_t line_of(double y) const;
  std::size_t cell_of(double x, double y) const;
  void take_out(std::size_t cell, std::size_t row);
  void offer_all(std::vector<std::size_t>& out) const;

  double reach_ = 0;
  // Cells at least two reaches wide over the box of the points, in a
  // dense row-major grid: neighbouring ends are neighbours in memory too.
  double x0_ = 0, y0_ = 0, cell_ = 1;
  std::int64_t nx_ = 0, ny_ = 0;
  // Cell c holds rows_[start_[c] .. start_[c] + count_[c]).
  std::vector<std::size_t> start_;
  std::vector<std::uint32_t> count_;
  std::vector<std::size_t> rows_;
  // Points no cell can hold (far out, or not finite): always offered.
  std::vector<std::size_t> everywhere_;
};

}  // namespace makenc
