// A grid over the approach points of the contours still to be ordered, so
// that each round of the planning looks at the contours around the tool
// instead of at every remaining one. It only narrows the search: the round
// still ranks the rows it is offered by the distance the plain pass would
// compute, with ties going to the earlier row.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace makenc {

// The nearest rows to a position, by (distance, row); `count` of them are set.
struct NearestRows {
  std::array<std::size_t, 4> rows{};
  std::array<double, 4> distances{};
  std::size_t count = 0;
};

class ApproachGrid {
 public:
  ApproachGrid() = default;
  // The approach point of row r is (xs[r], ys[r]); `rows` are the rows to
  // hold. Points too far out for cells leave the grid unusable.
  ApproachGrid(std::vector<double> xs, std::vector<double> ys, const std::vector<std::size_t>& rows);

  bool usable() const { return usable_; }
  std::size_t size() const { return live_; }
  void remove(std::size_t row);

  // The four rows nearest to (x, y), the earlier row first among equal
  // distances. False when the answer needs a pass over all rows instead: a
  // row lies at distance 0 (the plain ranking treats such a slot as empty)
  // or the position is too far out for cells. Rows marked in `skip` (by
  // row) are passed over.
  bool nearest_four(double x, double y, NearestRows& out, const std::vector<char>* skip = nullptr) const;

 private:
  struct Cells {
    double x0 = 0, y0 = 0, h = 1;
    std::int64_t nx = 1, ny = 1;
  };
  void build(const std::vector<std::size_t>& rows);
  std::int64_t cell_index(double x, double y) const;
  struct Visit {
    double x, y;
    NearestRows& best;
    bool zero;
    const std::vector<char>* skip;
  };
  void visit_cell(std::int64_t cx, std::int64_t cy, Visit& v) const;
  void visit_ring(std::int64_t ix, std::int64_t iy, std::int64_t r, Visit& v) const;
  double unvisited_bound(std::int64_t ix, std::int64_t iy, std::int64_t r, double x, double y) const;

  std::vector<double> xs_, ys_;
  bool usable_ = false;
  Cells g_;
  // Rows by cell: cell c holds rows_[start_[c] .. start_[c] + live_in_[c]).
  std::vector<std::size_t> start_;
  std::vector<std::uint32_t> live_in_;
  std::vector<std::size_t> rows_;
  std::vector<std::int64_t> cell_of_;  // by row; -1 when not held
  std::size_t live_ = 0;
  std::size_t built_ = 0;
};

}  // namespace makenc
