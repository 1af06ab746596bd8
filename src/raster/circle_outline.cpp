#include "raster/circle_outline.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace makenc {

CircleOutline::CircleOutline(std::int64_t radius) : radius_(radius < 0 ? 0 : radius) {
  if (radius_ == 0) return;
  // The first octant runs from angle 0 up to the last row whose pixel is not
  // left of the diagonal.
  std::int64_t m = static_cast<std::int64_t>(static_cast<double>(radius_) / std::numbers::sqrt2);
  while (m + 1 <= rounded_height(m + 1)) ++m;
  while (m > 0 && m > rounded_height(m)) --m;
  diagonal_ = m;
  // On the diagonal itself the two octants meet in one pixel.
  last_ = 2 * m + 1 - (rounded_height(m) == m ? 1 : 0);
}

std::int64_t CircleOutline::rounded_height(std::int64_t t) const {
  // (r - t)(r + t) keeps the product exact far longer than r * r - t * t.
  const double h2 = static_cast<double>(radius_ - t) * static_cast<double>(radius_ + t);
  return static_cast<std::int64_t>(std::floor(std::sqrt(h2 > 0 ? h2 : 0.0) + 0.5));
}

RingPixel CircleOutline::first_quadrant(std::int64_t i) const {
  if (i <= diagonal_) return {rounded_height(i), i};
  const std::int64_t u = last_ - i;
  return {u, rounded_height(u)};
}

CircleOutline::IndexRange CircleOutline::visible(int q, int part, std::int64_t cx, std::int64_t cy,
                                                 std::int64_t width, std::int64_t height) const {
  const bool reversed = (q % 2) == 1;
  const std::int64_t su = (q == 0 || q == 3) ? 1 : -1;
  const std::int64_t sv = q < 2 ? 1 : -1;
  // Quadrants share their end pixels; each keeps its first one only.
  const std::int64_t lo = reversed ? 1 : 0;
  const std::int64_t hi = reversed ? last_ : last_ - 1;
  IndexRange r;
  if (part == 0) {
    // One pixel per row, v = i: the row cy - sv * i must be on the surface.
    r.first = std::max(lo, sv > 0 ? cy - (height - 1) : -cy);
    r.last = std::min({hi, diagonal_, sv > 0 ? cy : height - 1 - cy});
  } else {
    // One pixel per column, u = last_ - i: the column cx + su * u likewise.
    r.first = std::max({lo, diagonal_ + 1, su > 0 ? last_ - (width - 1 - cx) : last_ - cx});
    r.last = std::min(hi, su > 0 ? last_ + cx : last_ - cx + width - 1);
  }
  return r;
}

RingPixel CircleOutline::at(std::int64_t j) const {
  if (radius_ == 0) return {};
  const std::int64_t q = j / last_;
  const std::int64_t k = j % last_;
  const bool reversed = (q % 2) == 1;
  const RingPixel p = first_quadrant(reversed ? last_ - k : k);
  const std::int64_t su = (q == 0 || q == 3) ? 1 : -1;
  const std::int64_t sv = q < 2 ? 1 : -1;
  return {su * p.u, sv * p.v};
}

double CircleOutline::angle(std::int64_t j) const {
  const RingPixel p = at(j);
  const double a = std::atan2(static_cast<double>(p.v), static_cast<double>(p.u));
  return a < 0 ? a + 2 * std::numbers::pi : a;
}

std::int64_t CircleOutline::first_at_or_after(double a) const {
  std::int64_t lo = 0;
  std::int64_t hi = size();
  while (lo < hi) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    if (angle(mid) >= a)
      hi = mid;
    else
      lo = mid + 1;
  }
  return lo;
}

}  // namespace makenc
