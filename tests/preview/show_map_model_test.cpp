// A map of its own shown in the preview, against a model that reads every
// map pixel a preview pixel covers one by one. Maps, scales and offsets are
// generated from a fixed seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "core/constants.h"
#include "preview/material_map.h"

namespace makenc {
namespace {

int uniform(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

// The map's pixels [first, last] a preview pixel covers along one axis.
std::array<int, 2> model_covered(double from, double to, int size) {
  auto clamp = [size](double v) { return static_cast<int>(std::clamp(v, 0.0, size - 1.0)); };
  const double a = std::ceil(from - 0.5);
  const double b = std::ceil(to - 0.5) - 1;
  if (b < a) {
    const int mid = clamp(std::floor((from + to) / 2 + 0.5));
    return {mid, mid};
  }
  return {clamp(a), clamp(b)};
}

int model_rank(Colour c) {
  if (c == kTraverseBlue) return 3;
  if (c == kBlack) return 2;
  if (c == kPointRed) return 1;
  return 0;
}

// Each preview pixel: the colour of the highest-ranked line among the map
// pixels it covers, else the map's colour at its centre.
std::vector<Colour> model_show(const Preview& map, const Preview& preview) {
  const Surface& from = map.surface;
  const PreviewFit& f = map.fit;
  const PreviewFit& p = preview.fit;
  const double ratio = static_cast<double>(f.Scr_k) / p.Scr_k;
  std::vector<Colour> out;
  for (int j = 0; j < preview.surface.height(); ++j) {
    const double y = f.Scr_y0 - (p.Scr_y0 - (j - 0.5)) * ratio;
    const auto rows = model_covered(y, y + ratio, from.height());
    for (int i = 0; i < preview.surface.width(); ++i) {
      const double x = f.Scr_x0 + (i - 0.5 - p.Scr_x0) * ratio;
      const auto cols = model_covered(x, x + ratio, from.width());
      Colour best = from.at((cols[0] + cols[1]) / 2, (rows[0] + rows[1]) / 2);
      for (int v = rows[0]; v <= rows[1]; ++v)
        for (int u = cols[0]; u <= cols[1]; ++u)
          if (model_rank(from.at(u, v)) > model_rank(best)) best = from.at(u, v);
      out.push_back(best);
    }
  }
  return out;
}

TEST(ShowMaterialMap, EveryPreviewPixelTakesTheHighestLineItCoversElseItsCentre) {
  std::mt19937 rng(17);
  constexpr std::array<Colour, 6> kMapColours = {kBackground, kOutsideBlue, kMaterialGrey,
                                                 kBlack,      kPointRed,    kTraverseBlue};
  for (int round = 0; round < 300; ++round) {
    MaterialMap map;
    map.uses_own = true;
    Surface& m = map.own.surface;
    m = Surface(uniform(rng, 1, 90), uniform(rng, 1, 60), kBackground);
    // Regions in runs, narrow or many words wide, with lines sparse or
    // dense, some colours missing, and rows of line colour longer than a
    // word, whose words repeat as a region's do.
    const int line_odds = uniform(rng, 2, 40);
    const int colours = uniform(rng, 3, 6);
    const int region_width = uniform(rng, 3, 50);
    for (int y = 0; y < m.height(); ++y)
      for (int x = 0; x < m.width(); ++x) {
        const bool line = uniform(rng, 0, line_odds) == 0;
        const int c =
            line ? uniform(rng, 3, colours - 1 < 3 ? 3 : colours - 1) : (x / region_width + y / 5) % 3;
        m.set_pixel(x, y, kMapColours[static_cast<std::size_t>(c)]);
      }
    for (int k = uniform(rng, 0, 3); k > 0; --k) {
      const int y = uniform(rng, 0, m.height() - 1), x0 = uniform(rng, 0, m.width() - 1);
      const Colour c = kMapColours[static_cast<std::size_t>(uniform(rng, 3, 5))];
      for (int x = x0; x < std::min(m.width(), x0 + uniform(rng, 16, 64)); ++x) m.set_pixel(x, y, c);
    }
    map.own.fit.Scr_k = static_cast<float>(uniform(rng, 20, 200) / 10.0);
    map.own.fit.Scr_x0 = uniform(rng, -10, 20);
    map.own.fit.Scr_y0 = m.height() - 1.0 - uniform(rng, -10, 20);
    Preview preview;
    preview.surface = Surface(uniform(rng, 1, 40), uniform(rng, 1, 30), kBackground);
    preview.fit.Scr_k = map.own.fit.Scr_k / static_cast<float>(uniform(rng, 10, 80) / 10.0);
    preview.fit.Scr_x0 = uniform(rng, -5, 10) + 0.25 * uniform(rng, 0, 3);
    preview.fit.Scr_y0 = preview.surface.height() - uniform(rng, -5, 10) + 0.25 * uniform(rng, 0, 3);
    const std::vector<Colour> want = model_show(map.own, preview);
    show_material_map(map, preview);
    ASSERT_EQ(preview.surface.pixels(), want) << "round " << round;
  }
}

}  // namespace
}  // namespace makenc
