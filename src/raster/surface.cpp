#include "raster/surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "raster/raster_steps.h"

namespace makenc {
namespace {

// Lines longer than this are first cut to the surface and a margin, so that
// their cost follows the pixels shown; within it the pixel path is exact and
// does not depend on the surface.
constexpr double kCutLinesBeyond = 16777216.0;  // 2^24
constexpr double kCutMargin = 16.0;

struct Segment {
  double x1, y1, x2, y2;
};

// Cuts the segment to the box; false when nothing of it is inside. `skipped`
// is the share of the segment cut away before its start.
bool cut_to_box(Segment& s, double x_lo, double y_lo, double x_hi, double y_hi, double& skipped) {
  double t0 = 0.0;
  double t1 = 1.0;
  // Half the run, so that ends at opposite extremes of the doubles do not
  // overflow it.
  const double hx = 0.5 * s.x2 - 0.5 * s.x1;
  const double hy = 0.5 * s.y2 - 0.5 * s.y1;
  const double p[4] = {-hx, hx, -hy, hy};
  const double q[4] = {s.x1 - x_lo, x_hi - s.x1, s.y1 - y_lo, y_hi - s.y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = 0.5 * q[i] / p[i];
    if (p[i] < 0.0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
  }
  if (t0 > t1) return false;
  s = {s.x1 + 2 * (t0 * hx), s.y1 + 2 * (t0 * hy), s.x1 + 2 * (t1 * hx), s.y1 + 2 * (t1 * hy)};
  skipped = t0;
  return true;
}

// Cuts a segment that reaches far off the surface down to the surface and a
// margin; `phase` is where the style's pattern then starts. False when the
// segment is not finite or misses the surface.
bool near_enough(Segment& s, int width, int height, std::int64_t& phase) {
  const double far = std::max({std::fabs(s.x1), std::fabs(s.y1), std::fabs(s.x2), std::fabs(s.y2)});
  if (far <= kCutLinesBeyond) return true;
  if (!std::isfinite(far)) return false;
  const double major = std::max(std::fabs(0.5 * s.x2 - 0.5 * s.x1), std::fabs(0.5 * s.y2 - 0.5 * s.y1));
  double skipped = 0.0;
  if (!cut_to_box(s, -kCutMargin, -kCutMargin, width + kCutMargin, height + kCutMargin, skipped))
    return false;
  const double along = std::fmod(std::floor(2 * (skipped * major) + 0.5), kPatternPeriod);
  phase = std::isfinite(along) ? static_cast<std::int64_t>(along) : 0;
  return true;
}

}  // namespace

Surface::Surface(int width, int height, Colour background) : background_(background) {
  resize(width, height);
}

Surface::Surface(const Surface& other)
    : draw_style(other.draw_style),
      fill_style(other.fill_style),
      fill_colour(other.fill_colour),
      width_(other.width_),
      height_(other.height_),
      stride_(other.stride_),
      background_(other.background_),
      palette_(other.palette_),
      shades_(blank_shades(other.count_)),
      count_(other.count_),
      last_shade_(other.last_shade_),
      blank_(other.blank_) {
  if (!blank_ && count_ > 0) std::memcpy(shades_.get(), other.shades_.get(), count_);
}

Surface& Surface::operator=(const Surface& other) {
  if (this != &other) {
    shades_.reset();  // the old pixels go before the copy is made
    *this = Surface(other);
  }
  return *this;
}

Surface::Surface(Surface&& other) noexcept
    : draw_style(other.draw_style),
      fill_style(other.fill_style),
      fill_colour(other.fill_colour),
      width_(other.width_),
      height_(other.height_),
      stride_(other.stride_),
      background_(other.background_),
      palette_(std::move(other.palette_)),
      shades_(std::move(other.shades_)),
      count_(std::exchange(other.count_, 0)),
      last_shade_(other.last_shade_),
      blank_(other.blank_) {}

Surface& Surface::operator=(Surface&& other) noexcept {
  draw_style = other.draw_style;
  fill_style = other.fill_style;
  fill_colour = other.fill_colour;
  width_ = other.width_;
  height_ = other.height_;
  stride_ = other.stride_;
  background_ = other.background_;
  palette_ = std::move(other.palette_);
  shades_ = std::move(other.shades_);
  count_ = std::exchange(other.count_, 0);
  last_shade_ = other.last_shade_;
  blank_ = other.blank_;
  return *this;
}

Surface::Shades Surface::blank_shades(std::size_t count) {
  if (count == 0) return nullptr;
  auto* p = static_cast<Shade*>(std::calloc(count, 1));
  if (p == nullptr) throw std::bad_alloc();
  return Shades(p);
}

void Surface::resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  palette_.assign(1, background_);
  last_shade_ = 0;
  // Release the old pixels first, so a resize never holds two surfaces.
  shades_.reset();
  count_ = 0;
  stride_ = (width_ + 1) / 2;
  const std::size_t rows = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_);
  if (rows > 0) {
    shades_ = blank_shades(rows + kReadPast);
    count_ = rows + kReadPast;
  }
  blank_ = true;
}

void Surface::erase() {
  palette_.assign(1, background_);
  last_shade_ = 0;
  if (!blank_ && count_ > 0) std::memset(shades_.get(), 0, count_);
  blank_ = true;
}

Surface::Shade Surface::shade_of(Colour colour) {
  blank_ = false;
  if (palette_[last_shade_] == colour) return last_shade_;
  const auto held = std::find(palette_.begin(), palette_.end(), colour);
  if (held != palette_.end()) {
    last_shade_ = static_cast<Shade>(held - palette_.begin());
    return last_shade_;
  }
  if (palette_.size() < kMaxColours) {
    palette_.push_back(colour);
    last_shade_ = static_cast<Shade>(palette_.size() - 1);
    return last_shade_;
  }
  // A full palette: the nearest colour it holds, the first of equals.
  std::size_t best = 0;
  std::int64_t best_distance = -1;
  for (std::size_t i = 0; i < palette_.size(); ++i) {
    std::int64_t d = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const std::int64_t a = (static_cast<std::uint32_t>(palette_[i]) >> shift) & 0xFF;
      const std::int64_t b = (static_cast<std::uint32_t>(colour) >> shift) & 0xFF;
      d += (a - b) * (a - b);
    }
    if (best_distance < 0 || d < best_distance) {
      best_distance = d;
      best = i;
    }
  }
  last_shade_ = static_cast<Shade>(best);
  return last_shade_;
}

void Surface::put_shades(std::int64_t y, std::int64_t lo, std::int64_t hi, Shade shade) {
  if (hi < lo) return;
  // A pixel alone at either end shares its byte with a pixel outside.
  if (lo % 2 == 1) put_shade(lo++, y, shade);
  if (hi % 2 == 0) put_shade(hi--, y, shade);
  if (hi < lo) return;
  std::memset(packed_row(static_cast<int>(y)) + lo / 2, shade * 0x11,
              static_cast<std::size_t>(hi - lo + 1) / 2);
}

const std::uint8_t* Surface::indexed_row(int y) const {
  unpacked_.resize(static_cast<std::size_t>(width_));
  for (int x = 0; x < width_; ++x) unpacked_[static_cast<std::size_t>(x)] = shade_at(x, y);
  return unpacked_.data();
}

std::vector<Colour> Surface::pixels() const {
  std::vector<Colour> all;
  if (count_ == 0) return all;
  all.reserve(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) all.push_back(at(x, y));
  return all;
}

Colour Surface::pixel(double x, double y) const {
  std::int64_t ix = 0;
  std::int64_t iy = 0;
  if (!whole_pixel(x, ix) || !whole_pixel(y, iy)) return -1;
  if (ix < 0 || iy < 0 || ix >= width_ || iy >= height_) return -1;
  return at(static_cast<int>(ix), static_cast<int>(iy));
}

void Surface::set_pixel(int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  put_shade(x, y, shade_of(colour));
}

void Surface::line(double x1, double y1, double x2, double y2, Colour colour) {
  Segment s{x1, y1, x2, y2};
  std::int64_t phase = 0;
  if (!near_enough(s, width_, height_, phase)) return;
  std::int64_t ax = 0, ay = 0, bx = 0, by = 0;
  if (!whole_pixel(s.x1, ax) || !whole_pixel(s.y1, ay) || !whole_pixel(s.x2, bx) || !whole_pixel(s.y2, by))
    return;
  const std::int64_t dx = bx - ax;
  const std::int64_t dy = by - ay;
  const std::int64_t n = std::max(std::llabs(dx), std::llabs(dy));
  if (n == 0) {
    if (style_inks(draw_style, phase)) set_pixel(static_cast<int>(ax), static_cast<int>(ay), colour);
    return;
  }
  // One pixel per step of the major axis at the rounded true position of the
  // minor axis: eight-connected, and the same pixels however the surface cuts.
  const bool x_major = std::llabs(dx) >= std::llabs(dy);
  const std::int64_t step = (x_major ? dx : dy) > 0 ? 1 : -1;
  const std::int64_t start = x_major ? ax : ay;
  const std::int64_t limit = x_major ? width_ - 1 : height_ - 1;
  const std::int64_t k0 = std::max<std::int64_t>(step > 0 ? -start : start - limit, 0);
  const std::int64_t k1 = std::min(step > 0 ? limit - start : start, n);
  const std::int64_t minor_delta = x_major ? dy : dx;
  const std::int64_t minor_start = x_major ? ay : ax;
  const std::int64_t minor_size = x_major ? height_ : width_;
  if (k0 > k1) return;
  Ink ink(*this, colour);
  if (minor_delta == 0 && draw_style == DrawStyle::Solid) {
    // Along a row or a column: every pixel from k0 to k1.
    if (minor_start < 0 || minor_start >= minor_size) return;
    const std::int64_t lo = std::min(start + step * k0, start + step * k1);
    const std::int64_t hi = std::max(start + step * k0, start + step * k1);
    if (x_major) {
      ink.put_run(minor_start, lo, hi);
    } else {
      for (std::int64_t y = lo; y <= hi; ++y) ink.put(minor_start, y);
    }
    return;
  }
  const std::int64_t two_n = 2 * n;
  if (draw_style != DrawStyle::Solid) {
    // Only the steps the style inks, each at its own minor position; a gap
    // is at most three steps long.
    for (std::int64_t k = k0;; ++k) {
      while (!style_inks(draw_style, phase + k)) ++k;
      if (k > k1) return;
      const std::int64_t minor = minor_start + floor_div(2 * k * minor_delta + n, two_n);
      if (minor < 0 || minor >= minor_size) continue;
      const std::int64_t major = start + step * k;
      if (x_major)
        ink.put(major, minor);
      else
        ink.put(minor, major);
    }
  }
  // The minor position is minor_start + floor((2 k minor_delta + n) / 2n),
  // kept as a quotient and a remainder in [0, 2n) that each step moves by
  // 2 minor_delta, at most 2n.
  std::int64_t minor = floor_div(2 * k0 * minor_delta + n, two_n);
  std::int64_t rest = 2 * k0 * minor_delta + n - minor * two_n;
  minor += minor_start;
  for (std::int64_t k = k0; k <= k1; ++k) {
    if (minor >= 0 && minor < minor_size) {
      const std::int64_t major = start + step * k;
      if (x_major)
        ink.put(major, minor);
      else
        ink.put(minor, major);
    }
    rest += 2 * minor_delta;
    if (rest >= two_n) {
      rest -= two_n;
      ++minor;
    } else if (rest < 0) {
      rest += two_n;
      --minor;
    }
  }
}

}  // namespace makenc
