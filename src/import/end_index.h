// A grid over the end points of the segments still waiting to join a
// contour, so that chaining looks only at the segments near an open end
// instead of at every row of the layer. It only narrows the search: the
// chaining itself still applies its exact end-point test and takes the
// lowest row among the segments that pass it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace makenc {

class EndIndex {
 public:
  EndIndex() = default;
  // `reach`: no two points farther apart than this on either axis ever
  // meet. A reach that is not a positive finite number makes every point a
  // neighbour of every other.
  explicit EndIndex(double reach);

  void add(std::size_t row, double x, double y);
  void remove(std::size_t row, double x, double y);

  // Appends the rows that have a point within reach of (x, y); a row may
  // come more than once and rows farther away may come too.
  void rows_near(double x, double y, std::vector<std::size_t>& out) const;

 private:
  using Key = std::uint64_t;
  bool cell_of(double x, double y, std::int64_t& cx, std::int64_t& cy) const;
  static Key key(std::int64_t cx, std::int64_t cy);
  static void erase_row(std::vector<std::size_t>& rows, std::size_t row);

  double reach_ = 0;
  double cell_ = 0;  // width of a cell
  std::unordered_map<Key, std::vector<std::size_t>> cells_;
  // Points no grid cell can hold (far out, or not finite): always offered.
  std::vector<std::size_t> everywhere_;
};

}  // namespace makenc
