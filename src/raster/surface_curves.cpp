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

// Rings up to this radius come from a table made once, in ring order: the
// marks at points and arc ends are such rings, drawn by the ten thousand.
constexpr std::int64_t kTabledRadius = 8;

const std::vector<RingPixel>& tabled_ring(std::int64_t radius) {
  static const auto rings = [] {
    std::array<std::vector<RingPixel>, kTabledRadius + 1> all;
    for (std::int64_t r = 0; r <= kTabledRadius; ++r) {
      const CircleOutline ring(r);
      for (std::int64_t j = 0; j < ring.size(); ++j) all[static_cast<std::size_t>(r)].push_back(ring.at(j));
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

// Every pixel within the radius, row by row; the outline drawn afterwards
// closes on it without a gap.
void fill_disc(Surface& s, const WholeCircle& c, Colour colour) {
  Ink ink(s, colour);
  const std::int64_t v_lo = std::max(-c.r, c.y - (s.height() - 1));
  const std::int64_t v_hi = std::min(c.r, c.y);
  for (std::int64_t v = v_lo; v <= v_hi; ++v) {
    const double h2 = static_cast<double>(c.r - v) * static_cast<double>(c.r + v);
    const auto half = static_cast<std::int64_t>(std::floor(std::sqrt(h2)));
    const std::int64_t x_lo = std::max<std::int64_t>(c.x - half, 0);
    const std::int64_t x_hi = std::min<std::int64_t>(c.x + half, s.width() - 1);
    ink.put_run(c.y - v, x_lo, x_hi);
  }
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
// or arc that continues its contour.
ArcSpan arc_span(const CircleOutline& ring, std::int64_t r, double start, double end) {
  const std::int64_t n = ring.size();
  const double s = turned(start);
  const double sweep = turned(turned(end) - s);
  const double slack = 0.5 / static_cast<double>(r > 1 ? r : 1);
  if (sweep == 0.0 || sweep + 2 * slack >= kTurn) return {0, n};
  const double from = turned(s - slack);
  std::int64_t first = ring.first_at_or_after(from);
  if (first == n) first = 0;
  // Along the ring from `first` the angle past `from` only grows.
  std::int64_t lo = 0;
  std::int64_t hi = n;
  while (lo < hi) {
    const std::int64_t mid = lo + (hi - lo) / 2;
    if (turned(ring.angle((first + mid) % n) - from) > sweep + 2 * slack)
      hi = mid;
    else
      lo = mid + 1;
  }
  return {first, lo};
}

}  // namespace

void Surface::circle(double cx, double cy, double r, Colour colour) {
  WholeCircle c;
  if (!whole_circle(cx, cy, r, c)) return;
  if (fill_style == FillStyle::Solid) fill_disc(*this, c, fill_colour);
  Ink ink(*this, colour);
  if (c.r <= kTabledRadius && c.x - c.r >= 0 && c.y - c.r >= 0 && c.x + c.r < width() &&
      c.y + c.r < height()) {
    // Wholly on the surface: ring pixel j lies at (x + u, y - v).
    const std::vector<RingPixel>& ring = tabled_ring(c.r);
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
  const CircleOutline ring(c.r);
  const ArcSpan span = arc_span(ring, c.r, start, end);
  const std::int64_t n = ring.size();
  Ink ink(*this, colour);
  ring.visit(c.x, c.y, width(), height(), [&](std::int64_t j, std::int64_t x, std::int64_t y) {
    const std::int64_t pos = (j - span.first + n) % n;
    if (pos < span.count && style_inks(draw_style, pos)) ink.put_inside(x, y);
  });
}

}  // namespace makenc
