// Circles and arcs on the surface.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "raster/circle_outline.h"
#include "raster/raster_steps.h"
#include "raster/surface.h"

namespace makenc {
namespace {

constexpr double kTurn = 2 * std::numbers::pi;

// Half the width of row v of a disc of radius r (|v| <= r).
std::int64_t disc_half_width(std::int64_t r, std::int64_t v) {
  const double h2 = static_cast<double>(r - v) * static_cast<double>(r + v);
  return static_cast<std::int64_t>(std::floor(std::sqrt(h2)));
}

// Rings up to this radius come from a table made once, in ring order, with
// the angle of each pixel: the marks at points and arc ends and the rounded
// corners of parts are such rings, drawn by the ten thousand.
constexpr std::int64_t kTabledRadius = 8;

struct TabledRing {
  std::vector<RingPixel> pixels;
  std::vector<double> angles;
  std::vector<std::int64_t> half_widths;  // of the disc's rows v = -r .. r
};

const TabledRing& tabled_ring(std::int64_t radius) {
  static const auto rings = [] {
    std::array<TabledRing, kTabledRadius + 1> all;
    for (std::int64_t r = 0; r <= kTabledRadius; ++r) {
      const CircleOutline ring(r);
      TabledRing& t = all[static_cast<std::size_t>(r)];
      for (std::int64_t j = 0; j < ring.size(); ++j) {
        t.pixels.push_back(ring.at(j));
        t.angles.push_back(ring.angle(j));
      }
      for (std::int64_t v = -r; v <= r; ++v) t.half_widths.push_back(disc_half_width(r, v));
    }
    return all;
  }();
  return rings[static_cast<std::size_t>(radius)];
}

struct WholeCircle {
  std::int64_t x = 0, y = 0, r = 0;
};

bool whole_circle(double cx, double cy, double r, WholeCircle& c) {
  return whole_pixel(cx, c.x) && whole_pixel(cy, c.y) && whole_pixel(r, c.r) && c.r >= 0;
}

// An angle brought into [0, 2π).
double turned(double a) {
  const double t = a - kTurn * std::floor(a / kTurn);
  return t >= kTurn || t < 0 ? 0.0 : t;
}

// The ring pixels of an arc: `count` pixels from index `first` on, wrapping.
struct ArcSpan {
  std::int64_t first = 0;
  std::int64_t count = 0;
};

// Equal start and end angles give the whole circle, as the platform's arc
// does. The ends reach half a pixel further, so that the arc meets the line
// or arc that continues its contour. angle(j) is the angle of ring pixel j,
// which never decreases along the ring of n pixels.
template <typename Angle>
ArcSpan arc_span(std::int64_t n, Angle&& angle, std::int64_t r, double start, double end) {
  const double s = turned(start);
  const double sweep = turned(turned(end) - s);
  const double slack = 0.5 / static_cast<double>(r > 1 ? r : 1);
  if (sweep == 0.0 || sweep + 2 * slack >= kTurn) return {0, n};
  const double from = turned(s - slack);
  // The first pixel at or past `from`.
  std::int64_t first = 0;
  for (std::int64_t hi = n; first < hi;) {
    const std::int64_t mid = first + (hi - first) / 2;
    if (angle(mid) >= from)
      hi = mid;
    else
      first = mid + 1;
  }
  if (first == n) first = 0;
  // Along the ring from `first` the angle past `from` only grows.
  std::int64_t lo = 0;
  std::int64_t hi = n;
  while (lo < hi) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    if (turned(angle((first + mid) % n) - from) > sweep + 2 * slack)
      hi = mid;
    else
      lo = mid + 1;
  }
  return {first, lo};
}

// Whether the ring of radius r around c lies wholly on the surface and
// comes from the table.
bool tabled_and_inside(const Surface& s, const WholeCircle& c) {
  return c.r <= kTabledRadius && c.x - c.r >= 0 && c.y - c.r >= 0 && c.x + c.r < s.width() &&
         c.y + c.r < s.height();
}

// Every pixel within the radius, row by row; the outline drawn afterwards
// closes on it without a gap.
void fill_disc(Surface& s, const WholeCircle& c, Colour colour) {
  Ink ink(s, colour);
  if (tabled_and_inside(s, c)) {
    const std::vector<std::int64_t>& half = tabled_ring(c.r).half_widths;
    for (std::int64_t v = -c.r; v <= c.r; ++v) {
      const std::int64_t h = half[static_cast<std::size_t>(v + c.r)];
      ink.put_run(c.y - v, c.x - h, c.x + h);
    }
    return;
  }
  const std::int64_t v_lo = std::max(-c.r, c.y - (s.height() - 1));
  const std::int64_t v_hi = std::min(c.r, c.y);
  for (std::int64_t v = v_lo; v <= v_hi; ++v) {
    const std::int64_t half = disc_half_width(c.r, v);
    const std::int64_t x_lo = std::max<std::int64_t>(c.x - half, 0);
    const std::int64_t x_hi = std::min<std::int64_t>(c.x + half, s.width() - 1);
    ink.put_run(c.y - v, x_lo, x_hi);
  }
}

}  // namespace

void Surface::circle(double cx, double cy, double r, Colour colour) {
  WholeCircle c;
  if (!whole_circle(cx, cy, r, c)) return;
  if (fill_style == FillStyle::Solid) fill_disc(*this, c, fill_colour);
  Ink ink(*this, colour);
  if (tabled_and_inside(*this, c)) {
    // Ring pixel j lies at (x + u, y - v).
    const std::vector<RingPixel>& ring = tabled_ring(c.r).pixels;
    for (std::size_t j = 0; j < ring.size(); ++j)
      if (style_inks(draw_style, static_cast<std::int64_t>(j))) ink.put(c.x + ring[j].u, c.y - ring[j].v);
    return;
  }
  const CircleOutline ring(c.r);
  ring.visit(c.x, c.y, width(), height(), [&](std::int64_t j, std::int64_t x, std::int64_t y) {
    if (style_inks(draw_style, j)) ink.put_inside(x, y);
  });
}

void Surface::arc(double cx, double cy, double r, double start, double end, Colour colour) {
  WholeCircle c;
  if (!whole_circle(cx, cy, r, c) || !std::isfinite(start) || !std::isfinite(end)) return;
  Ink ink(*this, colour);
  if (tabled_and_inside(*this, c)) {
    const TabledRing& ring = tabled_ring(c.r);
    const auto n = static_cast<std::int64_t>(ring.pixels.size());
    const ArcSpan span = arc_span(
        n, [&ring](std::int64_t j) { return ring.angles[static_cast<std::size_t>(j)]; }, c.r, start, end);
    for (std::int64_t pos = 0; pos < span.count; ++pos) {
      if (!style_inks(draw_style, pos)) continue;
      const RingPixel& p = ring.pixels[static_cast<std::size_t>((span.first + pos) % n)];
      ink.put(c.x + p.u, c.y - p.v);
    }
    return;
  }
  const CircleOutline ring(c.r);
  const std::int64_t n = ring.size();
  const ArcSpan span = arc_span(
      n, [&ring](std::int64_t j) { return ring.angle(j); }, c.r, start, end);
  ring.visit(c.x, c.y, width(), height(), [&](std::int64_t j, std::int64_t x, std::int64_t y) {
    const std::int64_t pos = (j - span.first + n) % n;
    if (pos < span.count && style_inks(draw_style, pos)) ink.put_inside(x, y);
  });
}

}  // namespace makenc
