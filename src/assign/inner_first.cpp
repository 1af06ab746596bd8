#include "assign/inner_first.h"

#include <algorithm>
#include <limits>

#include "assign/approach_grid.h"
#include "assign/tour_orders.h"
#include "core/cell.h"

namespace makenc {
namespace {

// Keeps the four nearest (distance, record) pairs, the earlier record first
// among equal distances.
void keep_nearest(NearestRows& best, double d, std::size_t row) {
  std::size_t s = best.count;
  while (s > 0 && (best.distances[s - 1] > d || (best.distances[s - 1] == d && best.rows[s - 1] > row))) --s;
  if (s >= best.rows.size()) return;
  for (std::size_t k = std::min<std::size_t>(best.count, best.rows.size() - 1); k > s; --k) {
    best.distances[k] = best.distances[k - 1];
    best.rows[k] = best.rows[k - 1];
  }
  best.distances[s] = d;
  best.rows[s] = row;
  best.count = std::min<std::size_t>(best.count + 1, best.rows.size());
}

class Planner {
 public:
  explicit Planner(const InnerFirstInput& in) : in_(in), n_(in.apr_x.size()) {
    waiting_.assign(n_, 0);
    for (std::size_t k = 0; k < n_; ++k)
      if (k != in.held)
        for (const std::size_t c : around(k)) ++waiting_[c];
    for (std::size_t k = 0; k < n_; ++k) {
      skip_.push_back(waiting_[k] > 0 ? 1 : 0);
      if (k != in.held) left_.push_back(k);
    }
    grid_ = ApproachGrid(in.apr_x, in.apr_y, left_);
  }

  std::vector<std::size_t> run() {
    std::vector<std::size_t> order;
    order.reserve(n_);
    std::size_t remaining = left_.size();
    while (remaining > 0) {
      const NearestRows near = nearest();
      const Order best = best_order(near);
      for (std::size_t j = 0; j < near.count; ++j) place(near.rows[best[j]], order);
      const std::size_t last = order.back();
      x_ = in_.end_x[last], y_ = in_.end_y[last];
      remaining -= near.count;
    }
    if (in_.held < n_) order.push_back(in_.held);
    return order;
  }

 private:
  std::span<const std::size_t> around(std::size_t k) const {
    return {in_.around.data() + in_.first[k], in_.first[k + 1] - in_.first[k]};
  }

  bool placed(std::size_t k) const { return skip_[k] == 2; }

  // The four nearest records free to be cut; when every record left waits
  // for another (contours drawn twice enclose each other), the nearest of
  // them all.
  NearestRows nearest() {
    NearestRows near;
    if (!grid_.nearest_four(x_, y_, near, &skip_)) {
      near = NearestRows{};
      for (const std::size_t k : left_)
        if (skip_[k] == 0) keep_nearest(near, pt_dist(x_, y_, in_.apr_x[k], in_.apr_y[k]), k);
    }
    if (near.count == 0) {
      for (const std::size_t k : left_)
        if (!placed(k)) keep_nearest(near, pt_dist(x_, y_, in_.apr_x[k], in_.apr_y[k]), k);
      near.count = std::min<std::size_t>(near.count, 1);
    }
    return near;
  }

  Order best_order(const NearestRows& near) const {
    Order best{0, 1, 2, 3};
    if (near.count < 2) return best;
    double best_len = std::numeric_limits<double>::infinity();
    for (const Order& o : orders_of(near.count)) {
      double x = x_, y = y_, len = 0;
      for (std::size_t j = 0; j < near.count; ++j) {
        const std::size_t k = near.rows[o[j]];
        len += pt_dist(x, y, in_.apr_x[k], in_.apr_y[k]);
        x = in_.apr_x[k], y = in_.apr_y[k];
      }
      if (len < best_len) {
        best_len = len;
        best = o;
      }
    }
    return best;
  }

  void place(std::size_t k, std::vector<std::size_t>& order) {
    order.push_back(k);
    skip_[k] = 2;
    grid_.remove(k);
    for (const std::size_t c : around(k))
      if (waiting_[c] > 0 && --waiting_[c] == 0 && !placed(c)) skip_[c] = 0;
  }

  const InnerFirstInput& in_;
  std::size_t n_;
  std::vector<std::size_t> waiting_;  // by record: what inside it is still to cut
  std::vector<char> skip_;            // 0 free, 1 waiting, 2 placed
  std::vector<std::size_t> left_;
  ApproachGrid grid_;
  double x_ = 0, y_ = 0;
};

}  // namespace

std::vector<std::size_t> inner_first_order(const InnerFirstInput& in) { return Planner(in).run(); }

}  // namespace makenc
