#include "preview/material_map.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <optional>
#include <vector>

#include "core/constants.h"
#include "core/settings_check.h"
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

// Pixels of a surface at scale k: the drawing and the margin on every side.
double side(double k, double length) { return std::ceil(k * length) + 2.0 * kMapMargin + 1; }

double extent(const Cell& lo, const Cell& hi) {
  const double e = hi.number() - lo.number();
  return std::isfinite(e) && e > 0 ? e : 0;
}

// A position as the platform's single-precision coordinate.
double as_single(double v) {
  if (!(std::fabs(v) <= FLT_MAX)) return std::isnan(v) ? v : std::copysign(HUGE_VAL, v);
  return static_cast<float>(v);
}

// The most samples the search looks at: as many as a map of 64 million
// pixels holds at every third pixel of every fifth row. A drawing whose
// rows run along its lines for longer ends the search there, as if it had
// found nothing.
constexpr double kMostSamples = 64e6 / (kSearchStepX * kSearchStepY);

// The samples of one row of the search at the drawing's height y, left to
// right from x: the first that is off every line and enclosed by a contour,
// or nothing. Between two crossings of the row the region stays the same,
// so the samples outside every contour are passed over in one step.
std::optional<double> first_enclosed(const Regions& regions, const DrawnElements& drawn, const DecisionFit& f,
                                     double y, double x, double band, std::vector<RowCrossing>& crossing,
                                     std::vector<std::uint8_t>& odd, double& samples) {
  regions.row_crossings(y, crossing);
  if (crossing.empty()) return std::nullopt;
  std::sort(crossing.begin(), crossing.end(),
            [](const RowCrossing& a, const RowCrossing& b) { return a.x < b.x; });
  odd.assign(regions.contours().size(), 0);
  std::size_t inside = 0, next = 0;
  for (; x <= f.width && samples < kMostSamples; x += kSearchStepX) {
    samples += 1;
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
    if (inside > 0 && px >= 0 && px < f.width && !drawn.within(dx, y, band)) return x;
    if (next == crossing.size()) return std::nullopt;
    if (inside == 0) {
      // On to the last sample before the next crossing.
      const double to = f.Scr_x0 + crossing[next].x * f.Scr_k - 1 - x;
      if (to > kSearchStepX) x += std::floor(to / kSearchStepX) * kSearchStepX;
    }
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
    if (drawn.within(dx, dy, band)) return;
    material.add(outermost_body(regions, regions.region_of(dx, dy)));
  };
  if (std::fabs(f.Scr_x0) < kSaneFit && std::fabs(f.Scr_y0) < kSaneFit) {
    const auto top =
        static_cast<float>(as_single(f.Scr_y0 - f.Scr_k * (d.Y_max.number() - d.Y_min.number())));
    std::vector<RowCrossing> crossing;
    std::vector<std::uint8_t> odd;
    double samples = 0;
    while (static_cast<float>(y) >= top && samples < kMostSamples) {
      const double py = std::floor(as_single(y) + 0.5);
      if (py >= 0 && py < f.height) {
        const double dy = (f.Scr_y0 - py) / f.Scr_k;
        if (const auto found = first_enclosed(regions, drawn, f, dy, x, band, crossing, odd, samples)) {
          fill_at(*found, y);
          return;
        }
        // A row no contour crosses lies below, between or above them all:
        // the rows up to the next contour's lowest point are passed over,
        // never past the top of the drawing or of the surface.
        if (crossing.empty()) {
          const double next = f.Scr_y0 - regions.lowest_above(dy) * f.Scr_k;
          const double to = std::min({y - next - 1, y - static_cast<double>(top), y});
          if (to > kSearchStepY) y -= (std::floor(to / kSearchStepY) - 1) * kSearchStepY;
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

DecisionFit decision_fit(const Preview& preview, const Drawing& drawing, const Settings& settings) {
  DecisionFit d;
  d.Scr_x0 = preview.fit.Scr_x0;
  d.Scr_y0 = preview.fit.Scr_y0;
  d.Scr_k = preview.fit.Scr_k;
  d.width = preview.surface.width();
  d.height = preview.surface.height();
  const double approach = settings.approach();
  const double wanted = kMapPixelsPerApproach / approach;
  const bool drawn = preview.surface.width() > 1 && preview.surface.height() > 1 &&
                     std::isfinite(preview.fit.Scr_k) && preview.fit.Scr_k > 0;
  // An approach length NC generation refuses decides on the preview.
  const bool cuttable = check_approach_length(settings.ini_Apr, settings.ini_S_suu) && approach > 0 &&
                        std::isfinite(wanted) && drawing.has_bounding_box();
  if (cuttable && !(drawn && preview.fit.Scr_k >= wanted)) {
    const auto k = static_cast<float>(wanted);
    if (k > 0 && !(drawn && k <= preview.fit.Scr_k)) {
      const double w = side(k, extent(drawing.X_min, drawing.X_max));
      const double h = side(k, extent(drawing.Y_min, drawing.Y_max));
      d.Scr_k = k;
      d.Scr_x0 = kMapMargin;
      d.Scr_y0 = h - 1.0 - kMapMargin;
      d.width = static_cast<int>(std::min(w, 2e9));
      d.height = static_cast<int>(std::min(h, 2e9));
    }
  }
  if (!(d.Scr_k > 0) || !std::isfinite(d.Scr_k)) d.Scr_k = 1;
  return d;
}

void paint_material(Preview& preview, const Regions& regions, const MaterialRegions& material,
                    bool outside_blue) {
  Surface& s = preview.surface;
  const PreviewFit& f = preview.fit;
  if (!(f.Scr_k > 0 && std::isfinite(f.Scr_k) && std::isfinite(f.Scr_x0) && std::isfinite(f.Scr_y0))) return;
  std::vector<RowCrossing> crossing;
  RegionKey key;
  const auto colour_of = [&material, outside_blue](const RegionKey& k) -> Colour {
    if (material.is_material(k)) return kMaterialGrey;
    return k.empty() && outside_blue ? kOutsideBlue : -1;
  };
  for (int j = 0; j < s.height(); ++j) {
    regions.row_crossings((f.Scr_y0 - j) / f.Scr_k, crossing);
    std::sort(crossing.begin(), crossing.end(),
              [](const RowCrossing& a, const RowCrossing& b) { return a.x < b.x; });
    key.clear();
    // Left of every crossing lies the outside; each crossing passed adds or
    // takes away its contour, and a span between two keeps its colour.
    std::size_t next = 0;
    Colour colour = colour_of(key);
    for (int i = 0; i < s.width(); ++i) {
      const double x = (i - f.Scr_x0) / f.Scr_k;
      bool changed = false;
      for (; next < crossing.size() && crossing[next].x <= x; ++next) {
        const std::uint32_t c = crossing[next].contour;
        const auto at = std::lower_bound(key.begin(), key.end(), c);
        if (at != key.end() && *at == c) {
          key.erase(at);
        } else {
          key.insert(at, c);
        }
        changed = true;
      }
      if (changed) colour = colour_of(key);
      if (colour != -1) s.set_pixel(i, j, colour);
    }
  }
}

void show_material_map(Preview& preview, const MaterialMap& map, const Drawing& drawing,
                       const LayerTicks& ticked) {
  preview.surface.fill_style = FillStyle::Transparent;
  preview.surface.erase();
  if (map.ready && map.regions) paint_material(preview, *map.regions, map.material, map.outside_shown);
  clear_entity_cells(preview.cells);
  for (int k = 0; k < kLayerCount; ++k)
    if (drawing.has_layer(k) && ticked[static_cast<std::size_t>(k)]) painting(preview, drawing.layer(k));
}

void paint_region(MaterialMap& map, const Preview& preview, const Drawing& drawing, const LayerTicks& ticked,
                  const Settings& settings, double x, double y) {
  if (!map.ready || !map.regions) {
    map.material.clear();
    map.outside_shown = false;
    map.regions = std::make_shared<const Regions>(drawing, ticked, settings);
    map.ready = true;
  }
  const DecisionFit fit = decision_fit(preview, drawing, settings);
  const DrawnElements drawn(drawing, ticked);
  if (drawn.within(x, y, kLineBand / fit.Scr_k)) return;
  map.material.add(map.regions->region_of(x, y));
}

void clear_painting(Preview& preview, const Drawing& drawing, const LayerTicks& ticked) {
  preview.Mus_clic = 0;
  redraw_preview(preview, drawing, ticked, preview.surface.width(), preview.surface.height());
}

}  // namespace makenc
