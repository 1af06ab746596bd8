#include "preview/material_map.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <optional>
#include <vector>

#include "core/constants.h"
#include "geometry/sides.h"

namespace makenc {
namespace {

// The sampled and the filled points lie this many pixels left of and below
// the drawing's lower-left corner, in the margin the fit always leaves.
constexpr double kMargin = 10;
// The search for the first enclosed region looks at every third pixel of
// every fifth row: pixel reads are what it costs.
constexpr double kSearchStepX = 3;
constexpr double kSearchStepY = 5;
// Beyond this the fit is not one the preview makes; the search is skipped
// rather than run without end.
constexpr double kSaneFit = 1e7;
// A probe walk with steps shorter than this many pixels would read millions
// of pixels before it got off a line; it stops on the line instead.
constexpr double kShortestWalkStep = 1e-3;

// A position as the platform's single-precision coordinate.
double as_single(double v) {
  if (!(std::fabs(v) <= FLT_MAX)) return std::isnan(v) ? v : std::copysign(HUGE_VAL, v);
  return static_cast<float>(v);
}

// A position as the whole pixel a fill starts from; off the surface when it
// is not a number a pixel can have.
int whole(double v) {
  if (!(std::fabs(v) < 1e9)) return -1;
  return static_cast<int>(std::floor(v + 0.5));
}

void fill_from(Surface& s, double x, double y, Colour colour) {
  s.fill_colour = colour;
  s.fill_style = FillStyle::Solid;
  s.flood_fill(whole(x), whole(y), kBlack);
}

// The outside sample point, brought onto the surface when a small picture
// leaves less than the margin: read off the surface it would be -1, and the
// map would then be searched for pixels off the surface.
void outside_point(const Surface& s, const PreviewFit& f, double& x, double& y) {
  x = f.Scr_x0 - kMargin;
  y = f.Scr_y0 + kMargin;
  if (s.pixel(x, y) != -1) return;
  x = std::fmin(std::fmax(x, 0.0), s.width() - 1.0);
  y = std::fmin(std::fmax(y, 0.0), s.height() - 1.0);
}

// Row by row from just below the drawing upward, the first pixel that still
// has the background colour lies in an enclosed region. Leaves (x, y) where
// the search ended, found or not.
void search_first_region(const Preview& p, const Drawing& d, Colour bg, double& x, double& y) {
  const PreviewFit& f = p.fit;
  x = f.Scr_x0 - kMargin;
  y = f.Scr_y0 + 1;
  if (!(std::fabs(f.Scr_x0) < kSaneFit && std::fabs(f.Scr_y0) < kSaneFit)) return;
  const auto top = static_cast<float>(as_single(f.Scr_y0 - f.Scr_k * (d.Y_max.number() - d.Y_min.number())));
  ProbeWalk no_walk;
  while (static_cast<float>(y) >= top) {
    const bool found = probe_material(p, Probe::one_pixel, x, y, bg, no_walk);
    if (x > p.surface.width()) {
      y -= kSearchStepY;
      x = f.Scr_x0 - kMargin;
      if (y < 0) return;
    }
    if (found) return;
    x += kSearchStepX;
  }
}

// How many steps a walk may take before it gives up on leaving the black:
// none when a step is too short to get anywhere. A step shorter than a pixel
// still carries the probe over a line in a few steps (on a large plate the
// approach length is often less than a pixel of the preview); a straight
// walk of that many steps has crossed the whole surface, so the count only
// guards against positions that stop changing.
double walk_budget(const Surface& s, const PreviewFit& f, const ProbeWalk& w) {
  const double step = std::hypot(to_screen_len(f, w.Apr_dx), to_screen_len(f, w.Apr_dy));
  if (!(std::isfinite(step) && step >= kShortestWalkStep)) return 0;
  return (s.width() + s.height() + 2.0) / step + 2;
}

// The samples of one row of the search at the drawing's height y, left to
// right from x: the first that is off every line and enclosed by a contour,
// or nothing. Between two crossings of the row the region stays the same.
std::optional<double> first_enclosed(const Regions& regions, const DrawnElements& drawn, const DecisionFit& f,
                                     double y, double x, double band, std::vector<RowCrossing>& crossing,
                                     std::vector<std::uint8_t>& odd) {
  regions.row_crossings(y, crossing);
  if (crossing.empty()) return std::nullopt;
  std::sort(crossing.begin(), crossing.end(),
            [](const RowCrossing& a, const RowCrossing& b) { return a.x < b.x; });
  odd.assign(regions.contours().size(), 0);
  std::size_t inside = 0, next = 0;
  for (; x <= f.width; x += kSearchStepX) {
    const auto px = static_cast<double>(std::floor(as_single(x) + 0.5));
    const double dx = (px - f.Scr_x0) / f.Scr_k;
    // A contour encloses the sample when it crosses the row an odd number
    // of times to its right; a closed contour crosses it an even number of
    // times in all.
    for (; next < crossing.size() && crossing[next].x <= dx; ++next) {
      std::uint8_t& o = odd[crossing[next].contour];
      o ^= 1;
      inside = o ? inside + 1 : inside - 1;
    }
    if (inside > 0 && px >= 0 && px < f.width && !drawn.near(dx, y, band)) return x;
    if (next == crossing.size()) return std::nullopt;
  }
  return std::nullopt;
}

// The region just inside the outermost of the contours around a point: a
// plate's body, when the search first meets a hole hugging the plate's
// lower-left corner.
RegionKey outermost_body(const Regions& regions, const RegionKey& key) {
  if (key.size() < 2) return key;
  const auto area = [&regions](std::uint32_t c) {
    const Regions::Contour& k = regions.contours()[c];
    return (k.right - k.left) * (k.high - k.low);
  };
  std::uint32_t outer = key.front();
  for (const std::uint32_t c : key)
    if (area(c) > area(outer)) outer = c;
  return {outer};
}

}  // namespace

void find_first_material(MaterialRegions& material, const Regions& regions, const DrawnElements& drawn,
                         const DecisionFit& f, const Drawing& d) {
  const double band = kLineBand / f.Scr_k;
  const double left = f.Scr_x0 - kMargin;
  double x = left;
  double y = f.Scr_y0 + 1;
  const auto drawing_point = [&f](double sx, double sy) {
    const double px = std::floor(as_single(sx) + 0.5), py = std::floor(as_single(sy) + 0.5);
    return std::array<double, 2>{(px - f.Scr_x0) / f.Scr_k, (f.Scr_y0 - py) / f.Scr_k};
  };
  // The region at the pixel where the search ended takes the grey, unless
  // the pixel is off the surface or on a line.
  const auto fill_at = [&](double sx, double sy) {
    const double px = std::floor(as_single(sx) + 0.5), py = std::floor(as_single(sy) + 0.5);
    if (!(px >= 0 && py >= 0 && px < f.width && py < f.height)) return;
    const auto [dx, dy] = drawing_point(sx, sy);
    if (drawn.near(dx, dy, band)) return;
    material.add(outermost_body(regions, regions.region_of(dx, dy)));
  };
  if (std::fabs(f.Scr_x0) < kSaneFit && std::fabs(f.Scr_y0) < kSaneFit) {
    const auto top =
        static_cast<float>(as_single(f.Scr_y0 - f.Scr_k * (d.Y_max.number() - d.Y_min.number())));
    std::vector<RowCrossing> crossing;
    std::vector<std::uint8_t> odd;
    while (static_cast<float>(y) >= top) {
      const double py = std::floor(as_single(y) + 0.5);
      if (py >= 0 && py < f.height) {
        const double dy = (f.Scr_y0 - py) / f.Scr_k;
        if (const auto found = first_enclosed(regions, drawn, f, dy, x, band, crossing, odd)) {
          fill_at(*found, y);
          return;
        }
      }
      // Nothing in the row: past the surface's right edge the search goes a
      // row higher, from three pixels right of where it began.
      y -= kSearchStepY;
      x = left;
      if (y < 0) break;
      x += kSearchStepX;
    }
  }
  fill_at(x, y);
}

void build_material_map(Preview& preview, const Drawing& drawing, const LayerTicks& ticked) {
  Surface& s = preview.surface;
  redraw_preview(preview, drawing, ticked, s.width(), s.height());
  fill_material_map(preview, drawing);
}

void fill_material_map(Preview& preview, const Drawing& drawing) {
  Surface& s = preview.surface;
  double ox = 0;
  double oy = 0;
  outside_point(s, preview.fit, ox, oy);
  const Colour bg = s.pixel(ox, oy);
  fill_from(s, ox, oy, kOutsideBlue);
  s.fill_style = FillStyle::Transparent;
  double x = 0;
  double y = 0;
  search_first_region(preview, drawing, bg, x, y);
  fill_from(s, x, y, kMaterialGrey);
}

bool probe_material(const Preview& preview, Probe probe, double& x, double& y, Colour colour,
                    ProbeWalk& walk) {
  const PreviewFit& f = preview.fit;
  const double budget = probe == Probe::one_pixel ? 0 : walk_budget(preview.surface, f, walk);
  for (double steps = 0;; ++steps) {
    const Colour p = preview.surface.pixel(as_single(x), as_single(y));
    // Off the surface the probe reads -1, which is no colour of the map.
    if (p == -1) return false;
    if (p == colour) return true;
    if (probe == Probe::one_pixel || p != kBlack) return false;
    // Standing on a drawn line: step over it by approach lengths.
    if (steps >= budget) return false;
    walk.Li_x1 += walk.Apr_dx;
    walk.Li_y1 += walk.Apr_dy;
    x = f.Scr_x0 + to_screen_len(f, walk.Li_x1);
    y = f.Scr_y0 - to_screen_len(f, walk.Li_y1);
  }
}

void paint_material(Preview& preview, double x, double y) {
  preview.Mus_clic = 1;
  fill_from(preview.surface, x, y, kMaterialGrey);
}

void clear_painting(Preview& preview, const Drawing& drawing, const LayerTicks& ticked) {
  preview.Mus_clic = 0;
  redraw_preview(preview, drawing, ticked, preview.surface.width(), preview.surface.height());
}

}  // namespace makenc
