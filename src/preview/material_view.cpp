// The material map seen at the scale and offset of a zoomed view.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "core/constants.h"
#include "preview/material_map.h"

namespace makenc {
namespace {

bool is_region(Colour c) { return c == kBackground || c == kMaterialGrey || c == kOutsideBlue; }

// The map pixel under each view pixel along one axis, with where in that
// pixel the view pixel's centre falls (-0.5 .. 0.5), kept on the map.
struct MapPlace {
  int pixel = 0;
  double offset = 0;
};

MapPlace place(double at, int size) {
  if (!std::isfinite(at)) return {0, 0};
  const double whole = std::floor(at + 0.5);
  const double kept = std::clamp(whole, 0.0, size - 1.0);
  return {static_cast<int>(kept), std::clamp(at - kept, -0.5, 0.5)};
}

// The region colour nearest to a point that falls on a line of the map:
// the pixels around it, nearest first, out to two pixels; the background
// when there is none.
std::uint8_t nearest_region(const Surface& map, const std::vector<bool>& region, MapPlace col, MapPlace row) {
  struct Near {
    int du, dv;
    double d2;
  };
  std::array<Near, 24> around{};
  std::size_t n = 0;
  for (int dv = -2; dv <= 2; ++dv)
    for (int du = -2; du <= 2; ++du) {
      if (du == 0 && dv == 0) continue;
      const double eu = du - col.offset, ev = dv - row.offset;
      around[n++] = {du, dv, eu * eu + ev * ev};
    }
  std::sort(around.begin(), around.end(), [](const Near& a, const Near& b) { return a.d2 < b.d2; });
  for (const Near& a : around) {
    const int u = col.pixel + a.du, v = row.pixel + a.dv;
    if (u < 0 || v < 0 || u >= map.width() || v >= map.height()) continue;
    const std::uint8_t shade = map.shade_at(u, v);
    if (region[shade]) return shade;
  }
  return 0;  // the background
}

}  // namespace

void sample_material_map(const Preview& map, Preview& view) {
  const Surface& from = map.surface;
  Surface& to = view.surface;
  const PreviewFit& m = map.fit;
  const PreviewFit& v = view.fit;
  if (from.width() == 0 || from.height() == 0 || !(m.Scr_k > 0) || !(v.Scr_k > 0)) return;
  // View pixel i shows the drawing point (i - v.x0) / v.k, which lies on the
  // map at m.x0 + m.k * x; screen y grows downward on both.
  const double ratio = static_cast<double>(m.Scr_k) / v.Scr_k;
  std::vector<MapPlace> columns(static_cast<std::size_t>(to.width()));
  for (int i = 0; i < to.width(); ++i)
    columns[static_cast<std::size_t>(i)] = place(m.Scr_x0 + (i - v.Scr_x0) * ratio, from.width());
  const std::vector<Colour>& colours = from.colours();
  std::vector<bool> region(Surface::kMaxColours, false);
  for (std::size_t c = 0; c < colours.size(); ++c) region[c] = is_region(colours[c]);
  for (int j = 0; j < to.height(); ++j) {
    const MapPlace row = place(m.Scr_y0 - (v.Scr_y0 - j) * ratio, from.height());
    for (int i = 0; i < to.width(); ++i) {
      const MapPlace col = columns[static_cast<std::size_t>(i)];
      std::uint8_t shade = from.shade_at(col.pixel, row.pixel);
      if (!region[shade]) shade = nearest_region(from, region, col, row);
      // The view starts as the background: only the other regions are set.
      if (colours[shade] != to.background()) to.set_pixel(i, j, colours[shade]);
    }
  }
}

}  // namespace makenc
