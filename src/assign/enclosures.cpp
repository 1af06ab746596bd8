#include "assign/enclosures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "assign/placement.h"

namespace makenc {
namespace {

struct Container {
  std::size_t row = 0;             // of Apr_dat
  std::size_t first = 0, end = 0;  // its elements in `members`
  double left = 0, right = 0, low = 0, high = 0;
};

bool is_container(const Table& A, std::size_t k) {
  const Cell& kind = A.at(k, rec::kind);
  return A.at(k, rec::op) == "cut" && (kind == "loop" || kind == "circle");
}

// The point of record k's own contour that is tested.
bool own_point(const Table& A, std::size_t k, double& x, double& y) {
  const Cell& kind = A.at(k, rec::kind);
  const bool on_contour = kind == "loop" || kind == "circle";
  x = A.at(k, on_contour ? rec::hit_x : rec::apr_x).number();
  y = A.at(k, on_contour ? rec::hit_y : rec::apr_y).number();
  return std::isfinite(x) && std::isfinite(y);
}

// Containers by the cells of a grid their extent covers; a container wider
// than kWide cells is tested for every point instead (the sheet's edge,
// a frame around many parts).
class ContainerGrid {
 public:
  explicit ContainerGrid(const std::vector<Container>& cs) {
    if (cs.empty()) return;
    double left = cs[0].left, right = cs[0].right, low = cs[0].low, high = cs[0].high;
    for (const Container& c : cs) {
      left = std::min(left, c.left), right = std::max(right, c.right);
      low = std::min(low, c.low), high = std::max(high, c.high);
    }
    const double n = static_cast<double>(cs.size());
    const double w = right - left, hh = high - low;
    h_ = std::max({std::sqrt(w * hh / n), w / (4 * n), hh / (4 * n)});
    if (!(h_ > 0) || !std::isfinite(h_)) h_ = std::max({w, hh, 1.0});
    if (!std::isfinite(h_)) {
      for (std::size_t i = 0; i < cs.size(); ++i) wide_.push_back(i);
      return;
    }
    x0_ = left, y0_ = low;
    nx_ = static_cast<std::int64_t>(std::floor(w / h_)) + 1;
    ny_ = static_cast<std::int64_t>(std::floor(hh / h_)) + 1;
    cells_.assign(static_cast<std::size_t>(nx_ * ny_), {});
    for (std::size_t i = 0; i < cs.size(); ++i) {
      const std::int64_t x_lo = cell(cs[i].left, x0_, nx_), x_hi = cell(cs[i].right, x0_, nx_);
      const std::int64_t y_lo = cell(cs[i].low, y0_, ny_), y_hi = cell(cs[i].high, y0_, ny_);
      if ((x_hi - x_lo + 1) * (y_hi - y_lo + 1) > kWide) {
        wide_.push_back(i);
        continue;
      }
      for (std::int64_t y = y_lo; y <= y_hi; ++y)
        for (std::int64_t x = x_lo; x <= x_hi; ++x)
          cells_[static_cast<std::size_t>(y * nx_ + x)].push_back(i);
    }
  }

  template <class Visit>
  void each_near(double x, double y, Visit&& visit) const {
    for (const std::size_t i : wide_) visit(i);
    if (cells_.empty()) return;
    const std::int64_t cx = cell(x, x0_, nx_), cy = cell(y, y0_, ny_);
    for (const std::size_t i : cells_[static_cast<std::size_t>(cy * nx_ + cx)]) visit(i);
  }

 private:
  static constexpr std::int64_t kWide = 64;
  std::int64_t cell(double v, double origin, std::int64_t n) const {
    const double f = std::floor((v - origin) / h_);
    if (!(f >= 0)) return 0;
    if (f >= static_cast<double>(n - 1)) return n - 1;
    return static_cast<std::int64_t>(f);
  }
  double x0_ = 0, y0_ = 0, h_ = 1;
  std::int64_t nx_ = 0, ny_ = 0;
  std::vector<std::vector<std::size_t>> cells_;
  std::vector<std::size_t> wide_;
};

}  // namespace

Enclosures find_enclosures(const Drawing& drawing, const Assignment& assignment, const DrawnElements& drawn) {
  const Table& A = assignment.Apr_dat;
  const std::size_t n = std::min(A.rows(), assignment.Apr_span.size());
  std::vector<Container> containers;
  std::vector<const ElementShape*> members;
  for (std::size_t k = 0; k < n; ++k) {
    const ContourSpan& span = assignment.Apr_span[k];
    if (A.at(k, rec::layer).is_empty() || span.layer < 0 || !drawing.has_layer(span.layer) ||
        !is_container(A, k))
      continue;
    const Table& t = drawing.layer(span.layer);
    Container c{k, members.size(), members.size()};
    for (std::size_t r = span.first; r < span.end && r < t.rows(); ++r)
      if (const ElementShape* s = drawn.shape(span.layer, r)) members.push_back(s);
    c.end = members.size();
    if (c.end == c.first) continue;
    c.left = members[c.first]->left, c.right = members[c.first]->right;
    c.low = members[c.first]->low, c.high = members[c.first]->high;
    for (std::size_t i = c.first; i < c.end; ++i) {
      c.left = std::min(c.left, members[i]->left), c.right = std::max(c.right, members[i]->right);
      c.low = std::min(c.low, members[i]->low), c.high = std::max(c.high, members[i]->high);
    }
    containers.push_back(c);
  }
  Enclosures e;
  e.first_.assign(n + 1, 0);
  const ContainerGrid grid(containers);
  for (std::size_t k = 0; k < n; ++k) {
    e.first_[k] = e.around_.size();
    double x = 0, y = 0;
    if (A.at(k, rec::layer).is_empty() || !own_point(A, k, x, y)) continue;
    grid.each_near(x, y, [&](std::size_t i) {
      const Container& c = containers[i];
      if (c.row == k || x < c.left || x > c.right || y < c.low || y > c.high) return;
      int crossings = 0;
      for (std::size_t s = c.first; s < c.end; ++s) crossings += ray_crossings(*members[s], x, y);
      if (crossings % 2 == 1) e.around_.push_back(c.row);
    });
  }
  e.first_[n] = e.around_.size();
  return e;
}

}  // namespace makenc
