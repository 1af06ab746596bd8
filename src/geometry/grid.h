// A grid of square cells over the extent of many boxes (elements, contours),
// so that a query looks only at what lies near it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace makenc {

struct Grid {
  double x0 = 0, y0 = 0, h = 1;
  std::int64_t nx = 0, ny = 0;

  // The column or row of a coordinate, kept on the grid.
  std::int64_t column(double x) const { return index(x, x0, nx); }
  std::int64_t row(double y) const { return index(y, y0, ny); }
  std::size_t cells() const { return static_cast<std::size_t>(nx * ny); }
  bool holds(double x, double y) const {
    return x >= x0 && y >= y0 && x <= x0 + static_cast<double>(nx) * h &&
           y <= y0 + static_cast<double>(ny) * h;
  }

  // About `per_cell` boxes share a cell, and there are never many more than
  // `cells_per_box` cells a box: a thin strip of a drawing gets long cells.
  // Nothing for no box, or an extent too far out to divide.
  // `extent_of` gives a box's left, right, low and high.
  template <class Box, class ExtentOf>
  static std::optional<Grid> over(const std::vector<Box>& boxes, double per_cell, double cells_per_box,
                                  ExtentOf extent_of) {
    if (boxes.empty()) return std::nullopt;
    const auto first = extent_of(boxes[0]);
    double left = first.left, right = first.right, low = first.low, high = first.high;
    for (const Box& box : boxes) {
      const auto b = extent_of(box);
      left = std::min(left, b.left), right = std::max(right, b.right);
      low = std::min(low, b.low), high = std::max(high, b.high);
    }
    const double w = right - left, hh = high - low;
    const double n = static_cast<double>(boxes.size());
    const double most = cells_per_box * n + 16;
    double h = std::sqrt(std::max(w * hh, 0.0) * per_cell / n);
    h = std::max({h, w / most, hh / most, std::sqrt(w * hh / most)});
    if (!(h > 0) || !std::isfinite(h)) h = std::max({w, hh, 1.0});
    if (!std::isfinite(h)) return std::nullopt;
    return Grid{left, low, h, static_cast<std::int64_t>(std::floor(w / h)) + 1,
                static_cast<std::int64_t>(std::floor(hh / h)) + 1};
  }
  template <class Box>
  static std::optional<Grid> over(const std::vector<Box>& boxes, double per_cell, double cells_per_box) {
    return over(boxes, per_cell, cells_per_box, [](const Box& b) -> const Box& { return b; });
  }

 private:
  std::int64_t index(double v, double origin, std::int64_t n) const {
    const double f = std::floor((v - origin) / h);
    if (!(f >= 0)) return 0;
    if (f >= static_cast<double>(n - 1)) return n - 1;
    return static_cast<std::int64_t>(f);
  }
};

}  // namespace makenc
