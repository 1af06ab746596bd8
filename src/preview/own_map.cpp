// The material map on a surface of its own, when the preview is too coarse
// to tell the two sides of a contour apart at the approach length.
#include <algorithm>
#include <array>
#include <cmath>

#include "core/constants.h"
#include "core/settings_check.h"
#include "preview/material_map.h"
#include "raster/shade_scan.h"

namespace makenc {
namespace {

struct Extent {
  double dx = 0, dy = 0;
};

Extent drawing_extent(const Drawing& d) {
  Extent e{d.X_max.number() - d.X_min.number(), d.Y_max.number() - d.Y_min.number()};
  if (!(std::isfinite(e.dx) && e.dx > 0)) e.dx = 0;
  if (!(std::isfinite(e.dy) && e.dy > 0)) e.dy = 0;
  return e;
}

// Pixels of a map at scale k: the drawing and the margin on every side.
double side(double k, double length) { return std::ceil(k * length) + 2.0 * kMapMargin + 1; }
double map_pixels(float k, const Extent& e) { return side(k, e.dx) * side(k, e.dy); }

// The finest scale at or below `wanted` whose map stays within the cap.
float capped_scale(double wanted, const Extent& e, double cap) {
  auto k = static_cast<float>(wanted);
  for (int i = 0; i < 200 && map_pixels(k, e) > cap; ++i) {
    const double shrink = std::sqrt(cap / map_pixels(k, e));
    k = static_cast<float>(k * std::min(shrink, 0.999));
  }
  return map_pixels(k, e) > cap ? 0.0F : k;
}

bool preview_is_drawn(const Preview& p) {
  return p.surface.width() > 1 && p.surface.height() > 1 && std::isfinite(p.fit.Scr_k) && p.fit.Scr_k > 0;
}

// Lines win over regions when the preview samples the map: rapid moves,
// then entities and lead-ins, then points.
int line_rank(Colour c) {
  if (c == kTraverseBlue) return 3;
  if (c == kBlack) return 2;
  if (c == kPointRed) return 1;
  return 0;
}

// The map's pixels [first, last] that a preview pixel covers along one axis,
// at least one, kept on the map.
struct Span {
  int first = 0, last = 0;
};

Span covered(double from, double to, int size) {
  auto clamp = [size](double v) { return static_cast<int>(std::clamp(v, 0.0, size - 1.0)); };
  const double a = std::ceil(from - 0.5);
  const double b = std::ceil(to - 0.5) - 1;
  if (!(std::isfinite(a) && std::isfinite(b))) return {0, 0};
  if (b < a) {
    const int mid = clamp(std::floor((from + to) / 2 + 0.5));
    return {mid, mid};
  }
  return {clamp(a), clamp(b)};
}

}  // namespace

void prepare_material_map(MaterialMap& map, const Preview& preview, const Drawing& drawing,
                          const LayerTicks& ticked, const Settings& settings) {
  map.ready = true;
  map.material.clear();
  map.uses_own = false;
  map.plain = false;
  map.check_below = 0;
  const double approach = settings.approach();
  const double wanted = kMapPixelsPerApproach / approach;
  if (!check_approach_length(settings.ini_Apr, settings.ini_S_suu) ||
      !(approach > 0 && std::isfinite(wanted)) || !drawing.has_bounding_box())
    return;
  const bool drawn = preview_is_drawn(preview);
  if (drawn && preview.fit.Scr_k >= wanted) return;
  const Extent e = drawing_extent(drawing);
  const float k = capped_scale(wanted, e, map.pixel_cap);
  if (!(k > 0) || (drawn && k <= preview.fit.Scr_k)) {
    if (drawn) map.check_below = kResolvedHolePixels / preview.fit.Scr_k;
    return;
  }
  if (k < static_cast<float>(wanted)) map.check_below = kResolvedHolePixels / k;
  map.uses_own = true;
  Preview& own = map.own;
  const auto w = static_cast<int>(side(k, e.dx));
  const auto h = static_cast<int>(side(k, e.dy));
  if (own.surface.width() != w || own.surface.height() != h || own.surface.background() != kBackground) {
    own.surface = Surface();  // the old map goes before the new one is made
    own.surface = Surface(w, h, kBackground);
  }
  PreviewFit& f = own.fit;
  f.Pic_w = static_cast<float>(w);
  f.Pic_h = static_cast<float>(h);
  f.Fit_kx = f.Fit_ky = k;
  f.Scr_k = k;
  f.Scr_x0 = kMapMargin;
  f.Scr_y0 = h - 1.0 - kMapMargin;
  repaint_at_fit(own, drawing, ticked);
  map.plain = true;
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
  const bool drawn = preview_is_drawn(preview);
  const bool cuttable = check_approach_length(settings.ini_Apr, settings.ini_S_suu) && approach > 0 &&
                        std::isfinite(wanted) && drawing.has_bounding_box();
  if (cuttable && !(drawn && preview.fit.Scr_k >= wanted)) {
    const auto k = static_cast<float>(wanted);
    if (k > 0 && !(drawn && k <= preview.fit.Scr_k)) {
      const Extent e = drawing_extent(drawing);
      const double w = side(k, e.dx), h = side(k, e.dy);
      d.Scr_k = k;
      d.Scr_x0 = kMapMargin;
      d.Scr_y0 = h - 1.0 - kMapMargin;
      d.width = w < 2e9 ? static_cast<int>(w) : 2000000000;
      d.height = h < 2e9 ? static_cast<int>(h) : 2000000000;
    }
  }
  if (!(d.Scr_k > 0) || !std::isfinite(d.Scr_k)) d.Scr_k = 1;
  return d;
}

Preview& decision_surface(MaterialMap& map, Preview& preview) { return map.uses_own ? map.own : preview; }

void build_decision_map(MaterialMap& map, Preview& preview, const Drawing& drawing,
                        const LayerTicks& ticked) {
  if (!map.uses_own) {
    build_material_map(preview, drawing, ticked);
    return;
  }
  if (!map.plain) repaint_at_fit(map.own, drawing, ticked);
  map.plain = false;
  fill_material_map(map.own, drawing);
}

void show_material_map(const MaterialMap& map, Preview& preview) {
  if (!map.uses_own) return;
  const Surface& from = map.own.surface;
  Surface& to = preview.surface;
  const PreviewFit& f = map.own.fit;
  const PreviewFit& p = preview.fit;
  if (from.width() == 0 || from.height() == 0 || !(p.Scr_k > 0)) return;
  // Preview pixel i covers the drawing from (i - 0.5 - x0) / k to
  // (i + 0.5 - x0) / k; on the map that is f.x0 + f.k * x.
  const double ratio = static_cast<double>(f.Scr_k) / p.Scr_k;
  const auto width = static_cast<std::size_t>(to.width());
  std::vector<Span> columns(width);
  for (std::size_t i = 0; i < width; ++i) {
    const double x = f.Scr_x0 + (static_cast<double>(i) - 0.5 - p.Scr_x0) * ratio;
    columns[i] = covered(x, x + ratio, from.width());
  }
  // The shade of each line colour the map holds: every colour it holds has
  // one shade. Ranks 1 to 3 (point, entity, rapid move).
  constexpr int kRanks = 4;
  const std::vector<Colour>& colours = from.colours();
  std::array<int, kRanks> shade_of_rank{-1, -1, -1, -1};
  for (std::size_t c = 0; c < colours.size(); ++c) {
    const int rank = line_rank(colours[c]);
    if (rank > 0) shade_of_rank[static_cast<std::size_t>(rank)] = static_cast<int>(c);
  }
  // For the map rows one preview row covers: the pixels of each line colour
  // in any of those rows, sixteen pixels a word as the map packs them (a
  // pixel's high bit set where some row holds that colour in its column).
  const auto words = static_cast<std::size_t>((from.width() + 15) / 16);
  std::array<std::vector<std::uint64_t>, kRanks> lines;
  for (std::vector<std::uint64_t>& l : lines) l.resize(words);
  // Whether any pixel of columns [first, last] is set in the line's words.
  const auto any_in = [](const std::vector<std::uint64_t>& line, int first, int last) {
    for (int w = first / 16; w <= last / 16; ++w) {
      std::uint64_t bits = line[static_cast<std::size_t>(w)];
      if (w == first / 16) bits &= ~std::uint64_t{0} << (4 * (first % 16));
      if (w == last / 16 && last % 16 < 15) bits &= ~(~std::uint64_t{0} << (4 * (last % 16 + 1)));
      if (bits != 0) return true;
    }
    return false;
  };
  for (int j = 0; j < to.height(); ++j) {
    // Screen y grows downward on both.
    const double y = f.Scr_y0 - (p.Scr_y0 - (j - 0.5)) * ratio;
    const Span rows = covered(y, y + ratio, from.height());
    for (int rank = 1; rank < kRanks; ++rank) {
      const int shade = shade_of_rank[static_cast<std::size_t>(rank)];
      if (shade < 0) continue;
      std::vector<std::uint64_t>& line = lines[static_cast<std::size_t>(rank)];
      std::fill(line.begin(), line.end(), 0);
      const std::uint64_t pattern = shade_pattern(static_cast<std::uint8_t>(shade));
      for (int v = rows.first; v <= rows.last; ++v) {
        const std::uint8_t* packed = from.packed_row(v);
        for (std::size_t w = 0; w < words; ++w) {
          const std::uint64_t word = packed_word(packed + 8 * w);
          if (any_pixel_equal(word, pattern)) line[w] |= pixels_equal(word, pattern);
        }
      }
    }
    const int middle = (rows.first + rows.last) / 2;
    for (std::size_t i = 0; i < width; ++i) {
      const Span& cols = columns[i];
      // The highest line rank among the pixels covered, else the colour at
      // the centre.
      int shade = from.shade_at((cols.first + cols.last) / 2, middle);
      for (int rank = kRanks - 1; rank > 0; --rank) {
        const int line_shade = shade_of_rank[static_cast<std::size_t>(rank)];
        if (line_shade >= 0 && any_in(lines[static_cast<std::size_t>(rank)], cols.first, cols.last)) {
          shade = line_shade;
          break;
        }
      }
      to.set_pixel(static_cast<int>(i), j, colours[static_cast<std::size_t>(shade)]);
    }
  }
}

}  // namespace makenc
