// Cut-order planning written the plain way: every round ranks all remaining
// records through the four slots, looks each approach point up by a pass over
// the record table, blanks the placed records by a pass over the work list
// and measures every remaining record again from the new tool position. The
// tests hold the planning against it.
//
// Where the plain rules leave a choice open, it follows what the system
// decided: a placed record is never placed again (a contour number that
// appears twice takes both records away at once, each by the first slot
// holding its number), rounds stop once one places nothing, the order list
// is never written past its end, and an approach point is that of the last
// record with the number.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "assign/placement.h"
#include "core/cell.h"
#include "core/table.h"

namespace makenc::test {

class ReferenceCutOrder {
 public:
  explicit ReferenceCutOrder(const Table& Apr_dat) : apr_(Apr_dat) {}

  // Ord_dat, rows 0..M and columns 0..15.
  Table plan() {
    std::size_t M = 0;
    for (std::size_t k = 0; k < apr_.rows(); ++k)
      if (!apr_.at(k, 0).is_empty()) ++M;
    wrk_ = Table(M, 10);
    for (std::size_t k = 0, next = 0; k < apr_.rows(); ++k) {
      if (apr_.at(k, 0).is_empty()) continue;
      wrk_.copy_row(next, apr_, k);
      wrk_.at(next, 9) = Cell(pt_dist(0, 0, apr_.at(k, 3).number(), apr_.at(k, 4).number()));
      ++next;
    }
    const Table src = wrk_;
    seq_.assign(M + 1, Cell());
    Table Ord_dat(M, 10);  // columns 0..10, all a record fills
    if (M == 0) return Ord_dat;
    wrk_.at(M - 1, 0) = "";
    rounds(M);
    for (std::size_t p = 0, k = 0; p < pos_ && k != M;) {
      if (compare(src.at(k, 1), seq_[p]) == 0) {
        Ord_dat.copy_row(p++, src, k);
        k = 0;
      } else {
        ++k;
      }
    }
    Ord_dat.copy_row(M - 1, src, M - 1);
    return Ord_dat;
  }

 private:
  void rounds(std::size_t M) {
    std::size_t r = 0;
    while (r != M) {
      if (wrk_.at(r, 0).is_blank()) {
        ++r;
        continue;
      }
      d_.fill(0);
      c_.fill(Cell(""));
      for (std::size_t b = 0; b < M; ++b)
        if (!wrk_.at(b, 0).is_blank()) insert(wrk_.at(b, 9).number(), wrk_.at(b, 1));
      std::size_t n = 0;
      while (n < 4 && !c_[n].is_blank()) ++n;
      if (pos_ + n > seq_.size()) n = 0;
      best_order(n);
      const std::size_t taken = take_placed(n);
      pos_ += taken;
      for (std::size_t k = 0; k <= M; ++k)
        wrk_.at(k, 9) = wrk_.at(k, 0).is_blank()
                            ? Cell("")
                            : Cell(pt_dist(x_, y_, wrk_.at(k, 3).number(), wrk_.at(k, 4).number()));
      r = taken > 0 ? 0 : r + 1;
      if (taken == 0) return;  // the same round would follow, placing nothing again
    }
  }

  void insert(double d, const Cell& id) {
    if (!(d_[3] == 0 || d_[3] > d)) return;
    std::size_t s = 0;
    while (s < 3 && !(d_[s] == 0 || d_[s] > d)) ++s;
    for (std::size_t k = 3; k > s; --k) {
      d_[k] = d_[k - 1];
      c_[k] = c_[k - 1];
    }
    d_[s] = d;
    c_[s] = id;
  }

  void approach_of(double id, double& x, double& y) const {
    x = y = 0;
    for (std::size_t k = 0; k < apr_.rows(); ++k) {
      if (apr_.at(k, 0).is_empty() || apr_.at(k, 1).number() != id) continue;
      x = apr_.at(k, 3).number();
      y = apr_.at(k, 4).number();
    }
  }

  double tour(const std::array<double, 4>& ids) const {
    double x = x_, y = y_, len = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      if (i >= 2 && ids[i] == 0) break;
      double nx = 0, ny = 0;
      approach_of(ids[i], nx, ny);
      len += pt_dist(x, y, nx, ny);
      x = nx;
      y = ny;
    }
    return len;
  }

  void best_order(std::size_t n) {
    if (n == 0) return;
    if (n == 1) {
      seq_[pos_] = c_[0];
      return;
    }
    static const std::vector<std::array<int, 4>> two{{1, 2, 0, 0}, {2, 1, 0, 0}};
    static const std::vector<std::array<int, 4>> three{{1, 2, 3, 0}, {2, 1, 3, 0}, {2, 3, 1, 0},
                                                       {1, 3, 2, 0}, {3, 1, 2, 0}, {3, 2, 1, 0}};
    static const std::vector<std::array<int, 4>> four{
        {1, 2, 3, 4}, {1, 2, 4, 3}, {1, 3, 2, 4}, {1, 3, 4, 2}, {1, 4, 2, 3}, {1, 4, 3, 2},
        {2, 4, 1, 3}, {2, 4, 3, 1}, {2, 3, 4, 1}, {2, 3, 1, 4}, {2, 1, 4, 3}, {2, 1, 3, 4},
        {3, 4, 2, 1}, {3, 4, 1, 2}, {3, 2, 1, 4}, {3, 2, 4, 1}, {3, 1, 2, 4}, {3, 1, 4, 2},
        {4, 3, 2, 1}, {4, 3, 1, 2}, {4, 2, 3, 1}, {4, 2, 1, 3}, {4, 1, 3, 2}, {4, 1, 2, 3}};
    const auto& orders = n == 2 ? two : n == 3 ? three : four;
    double best = 0;
    for (std::size_t t = 0; t < orders.size(); ++t) {
      std::array<double, 4> ids{};
      for (std::size_t j = 0; j < n; ++j) ids[j] = c_[static_cast<std::size_t>(orders[t][j] - 1)].number();
      const double len = tour(ids);
      if (t > 0 && !(best > len)) continue;
      best = len;
      for (std::size_t j = 0; j < n; ++j) seq_[pos_ + j] = c_[static_cast<std::size_t>(orders[t][j] - 1)];
    }
  }

  std::size_t take_placed(std::size_t n) {
    std::size_t taken = 0;
    for (std::size_t k = 0; k < wrk_.rows(); ++k) {
      if (wrk_.at(k, 0).is_blank()) continue;
      for (std::size_t j = 0; j < n; ++j) {
        if (compare(wrk_.at(k, 1), seq_[pos_ + j]) != 0) continue;
        wrk_.at(k, 0) = "";
        ++taken;
        if (j == 3) {
          const bool line = wrk_.at(k, 8) == "line";
          x_ = wrk_.at(k, line ? 5 : 3).number();
          y_ = wrk_.at(k, line ? 6 : 4).number();
        }
        break;
      }
    }
    return taken;
  }

  const Table& apr_;
  Table wrk_;
  std::vector<Cell> seq_;
  std::size_t pos_ = 0;
  double x_ = 0, y_ = 0;
  std::array<double, 4> d_{};
  std::array<Cell, 4> c_;
};

}  // namespace makenc::test
