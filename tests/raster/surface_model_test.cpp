// The surface against plain models of what it does: pixels kept one by one,
// lines stepped pixel by pixel, a fill that visits pixel by pixel, and row
// scans that test every pixel. Inputs are generated from fixed seeds.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <queue>
#include <random>
#include <vector>

#include "core/constants.h"
#include "raster/raster_steps.h"
#include "raster/shade_scan.h"
#include "raster/surface.h"

namespace makenc {
namespace {

constexpr std::array<Colour, 6> kInks = {kBlack,       kPointRed,     kMaterialGrey,
                                         kOutsideBlue, kTraverseBlue, kOrderLabel};

int uniform(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

// A drawing of random lines and circles in random styles and colours, on a
// surface of odd or even width.
Surface random_drawing(std::mt19937& rng) {
  Surface s(uniform(rng, 1, 70), uniform(rng, 1, 40), kBackground);
  const int shapes = uniform(rng, 0, 12);
  for (int k = 0; k < shapes; ++k) {
    s.draw_style = std::array{DrawStyle::Solid, DrawStyle::Dotted, DrawStyle::DashDotDot}[uniform(rng, 0, 2)];
    s.fill_style = uniform(rng, 0, 3) == 0 ? FillStyle::Solid : FillStyle::Transparent;
    s.fill_colour = kInks[static_cast<std::size_t>(uniform(rng, 0, 5))];
    const Colour ink = uniform(rng, 0, 2) == 0 ? kInks[static_cast<std::size_t>(uniform(rng, 0, 5))] : kBlack;
    if (uniform(rng, 0, 2) == 0)
      s.circle(uniform(rng, -5, 75), uniform(rng, -5, 45), uniform(rng, 0, 20), ink);
    else
      s.line(uniform(rng, -20, 90), uniform(rng, -20, 60), uniform(rng, -20, 90), uniform(rng, -20, 60), ink);
  }
  return s;
}

TEST(SurfaceModel, PixelsKeepWhatWasSetAtEveryColumnAndSurviveCopyAndMove) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    const int w = uniform(rng, 1, 33), h = uniform(rng, 1, 9);
    Surface s(w, h, kBackground);
    std::vector<Colour> model(static_cast<std::size_t>(w * h), kBackground);
    for (int k = uniform(rng, 0, 60); k > 0; --k) {
      const int x = uniform(rng, -2, w + 1), y = uniform(rng, -2, h + 1);
      const Colour c = kInks[static_cast<std::size_t>(uniform(rng, 0, 5))];
      s.set_pixel(x, y, c);
      if (x >= 0 && y >= 0 && x < w && y < h) model[static_cast<std::size_t>(y * w + x)] = c;
    }
    ASSERT_EQ(s.pixels(), model) << w << " x " << h;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        ASSERT_EQ(s.colours()[s.shade_at(x, y)], model[static_cast<std::size_t>(y * w + x)]);
        ASSERT_EQ(s.indexed_row(y)[x], s.shade_at(x, y));
      }
    Surface copy = s;
    EXPECT_EQ(copy.pixels(), model);
    Surface moved = std::move(copy);
    EXPECT_EQ(moved.pixels(), model);
    EXPECT_TRUE(
        copy.pixels().empty());  // NOLINT(bugprone-use-after-move): a surface moved from holds no pixels
    moved.erase();
    EXPECT_EQ(moved.pixels(), std::vector<Colour>(model.size(), kBackground));
    EXPECT_EQ(moved.colours().size(), 1U);
  }
}

// Whether the line from (x1, y1) to (x2, y2), in whole pixels, inks (x, y):
// one pixel per step of the major axis at the rounded true position.
std::vector<Colour> model_line(int w, int h, int x1, int y1, int x2, int y2, DrawStyle style) {
  std::vector<Colour> px(static_cast<std::size_t>(w * h), kBackground);
  const std::int64_t dx = x2 - x1, dy = y2 - y1;
  const std::int64_t n = std::max(std::llabs(dx), std::llabs(dy));
  for (std::int64_t k = 0; k <= n; ++k) {
    if (!style_inks(style, k)) continue;
    std::int64_t x = x1, y = y1;
    if (n > 0) {
      const bool x_major = std::llabs(dx) >= std::llabs(dy);
      const std::int64_t major = (x_major ? x1 : y1) + ((x_major ? dx : dy) > 0 ? k : -k);
      const std::int64_t minor = (x_major ? y1 : x1) + floor_div(2 * k * (x_major ? dy : dx) + n, 2 * n);
      x = x_major ? major : minor;
      y = x_major ? minor : major;
    }
    if (x >= 0 && y >= 0 && x < w && y < h) px[static_cast<std::size_t>(y * w + x)] = kBlack;
  }
  return px;
}

TEST(SurfaceModel, LinesInkThePixelsOfTheirSteps) {
  std::mt19937 rng(11);
  for (int round = 0; round < 2000; ++round) {
    const int w = uniform(rng, 1, 40), h = uniform(rng, 1, 30);
    const int x1 = uniform(rng, -30, 70), y1 = uniform(rng, -30, 60);
    // Rows and columns are drawn as often as slanted lines.
    const int kind = uniform(rng, 0, 2);
    const int x2 = kind == 1 ? x1 : uniform(rng, -30, 70);
    const int y2 = kind == 2 ? y1 : uniform(rng, -30, 60);
    const DrawStyle style =
        std::array{DrawStyle::Solid, DrawStyle::Dotted, DrawStyle::DashDotDot}[uniform(rng, 0, 2)];
    Surface s(w, h, kBackground);
    s.draw_style = style;
    s.line(x1, y1, x2, y2, kBlack);
    ASSERT_EQ(s.pixels(), model_line(w, h, x1, y1, x2, y2, style))
        << x1 << "," << y1 << " to " << x2 << "," << y2 << " on " << w << " x " << h;
  }
}

// The four-connected region of pixels that are not the border colour,
// visited pixel by pixel.
std::vector<Colour> model_fill(const Surface& s, int x, int y, Colour border, Colour fill) {
  std::vector<Colour> px = s.pixels();
  const int w = s.width(), h = s.height();
  const auto at = [&](int u, int v) -> Colour& { return px[static_cast<std::size_t>(v * w + u)]; };
  if (x < 0 || y < 0 || x >= w || y >= h || at(x, y) == border) return px;
  std::vector<bool> seen(px.size(), false);
  std::queue<std::array<int, 2>> todo;
  todo.push({x, y});
  seen[static_cast<std::size_t>(y * w + x)] = true;
  while (!todo.empty()) {
    const auto [u, v] = todo.front();
    todo.pop();
    at(u, v) = fill;
    for (const auto& [du, dv] : {std::array{1, 0}, std::array{-1, 0}, std::array{0, 1}, std::array{0, -1}}) {
      const int nu = u + du, nv = v + dv;
      if (nu < 0 || nv < 0 || nu >= w || nv >= h) continue;
      const auto i = static_cast<std::size_t>(nv * w + nu);
      if (seen[i] || px[i] == border) continue;
      seen[i] = true;
      todo.push({nu, nv});
    }
  }
  return px;
}

TEST(SurfaceModel, FillTakesTheFourConnectedRegionOfEveryDrawing) {
  std::mt19937 rng(5);
  for (int round = 0; round < 1500; ++round) {
    Surface s = random_drawing(rng);
    // The fill colour is at times on the surface already, and the border
    // colour at times not at all.
    const Colour fill = std::array{kMaterialGrey, kOutsideBlue}[uniform(rng, 0, 1)];
    const Colour border = uniform(rng, 0, 5) == 0 ? kPointRed : kBlack;
    const int x = uniform(rng, -1, s.width()), y = uniform(rng, -1, s.height());
    const std::vector<Colour> want = model_fill(s, x, y, border, fill);
    s.fill_colour = fill;
    s.flood_fill(x, y, border);
    ASSERT_EQ(s.pixels(), want) << "round " << round;
  }
}

// Where the next pixel of the shades lies, pixel by pixel.
int model_next(const std::vector<std::uint8_t>& row, const std::array<std::uint8_t, 2>& shades, bool held,
               int from, int to) {
  for (int x = from; x < to; ++x) {
    const bool h =
        row[static_cast<std::size_t>(x)] == shades[0] || row[static_cast<std::size_t>(x)] == shades[1];
    if (h == held) return x;
  }
  return to;
}

TEST(SurfaceModel, RowScansFindWhatAPixelByPixelSearchFinds) {
  std::mt19937 rng(3);
  for (int round = 0; round < 3000; ++round) {
    const int w = uniform(rng, 1, 80);
    // Few shades, in runs, so that words of one shade and words of mixed
    // shades both come up.
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w));
    for (int x = 0; x < w;) {
      const auto shade =
          static_cast<std::uint8_t>(uniform(rng, 0, 3) == 0 ? uniform(rng, 0, 15) : uniform(rng, 0, 2));
      for (int run = uniform(rng, 1, 20); run > 0 && x < w; --run)
        pixels[static_cast<std::size_t>(x++)] = shade;
    }
    std::vector<std::uint8_t> packed(static_cast<std::size_t>((w + 1) / 2) + Surface::kReadPast, 0xFF);
    for (int x = 0; x < w; ++x) {
      std::uint8_t& b = packed[static_cast<std::size_t>(x / 2)];
      b = x % 2 == 0 ? static_cast<std::uint8_t>((b & 0xF0) | pixels[static_cast<std::size_t>(x)])
                     : static_cast<std::uint8_t>((b & 0x0F) | (pixels[static_cast<std::size_t>(x)] << 4));
    }
    const std::array<std::uint8_t, 2> shades{static_cast<std::uint8_t>(uniform(rng, 0, 2)),
                                             static_cast<std::uint8_t>(uniform(rng, 0, 15))};
    const ShadeScan<2> scan(shades);
    const int from = uniform(rng, 0, w), to = uniform(rng, from, w);
    ASSERT_EQ(scan.next<true>(packed.data(), from, to), model_next(pixels, shades, true, from, to));
    ASSERT_EQ(scan.next<false>(packed.data(), from, to), model_next(pixels, shades, false, from, to));
    const int at = uniform(rng, -1, w - 1);
    int want = at;
    while (want >= 0 && model_next(pixels, shades, true, want, want + 1) != want) --want;
    ASSERT_EQ(scan.last_held(packed.data(), at), want) << "from " << at << " in " << w;
  }
}

}  // namespace
}  // namespace makenc
