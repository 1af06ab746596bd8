// The bitmap digits of order numbers: widths as laid out, every digit a
// different picture, and size 2 the same picture in 2 x 2 blocks.
#include "raster/digits.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace makenc {
namespace {

constexpr Colour kInk = 0x000000;
constexpr Colour kPaper = 0xFFFFFF;

std::vector<Colour> rendered(const std::string& text, int size) {
  Surface s(digits_width(text, size) + 4, digits_height(size) + 4, kPaper);
  draw_digits(s, 2, 2, text, size, kInk);
  return s.pixels();
}

TEST(Digits, WidthsAndGlyphs) {
  EXPECT_EQ(digits_width("", 1), 0);
  EXPECT_EQ(digits_width("7", 1), 5);
  EXPECT_EQ(digits_width("123", 1), 17);
  EXPECT_EQ(digits_width("123", 2), 34);
  EXPECT_EQ(digits_height(2), 14);
  std::set<std::vector<Colour>> seen;
  for (char c = '0'; c <= '9'; ++c) {
    const std::string d(1, c);
    SCOPED_TRACE(d);
    const std::vector<Colour> small = rendered(d, 1);
    const std::vector<Colour> large = rendered(d, 2);
    EXPECT_TRUE(seen.insert(small).second) << "two digits look alike";
    // Ink only inside the glyph's box, in every row of it and at least three
    // columns wide, so no digit is clipped, shifted or a mere stroke.
    const int w = 9, h = 11;
    std::set<int> rows, cols;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const Colour ink = small[static_cast<std::size_t>(y * w + x)];
        if (ink != kInk) continue;
        EXPECT_TRUE(x >= 2 && x < 7 && y >= 2 && y < 9) << x << "," << y;
        rows.insert(y);
        cols.insert(x);
      }
    EXPECT_EQ(rows.size(), 7U);
    EXPECT_GE(cols.size(), 3U);
    // Size 2: pixel (x, y) of the glyph is the 2 x 2 block at 2x, 2y.
    const int lw = 14;
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 5; ++x)
        for (int v = 0; v < 2; ++v)
          for (int u = 0; u < 2; ++u)
            EXPECT_EQ(large[static_cast<std::size_t>((2 + 2 * y + v) * lw + 2 + 2 * x + u)],
                      small[static_cast<std::size_t>((2 + y) * w + 2 + x)]);
  }
  // A text is its digits side by side with one empty column between.
  const std::vector<Colour> pair = rendered("40", 1);
  const std::vector<Colour> four = rendered("4", 1), zero = rendered("0", 1);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(pair[static_cast<std::size_t>(y * 15 + 2 + x)],
                four[static_cast<std::size_t>(y * 9 + 2 + x)]);
      EXPECT_EQ(pair[static_cast<std::size_t>(y * 15 + 8 + x)],
                zero[static_cast<std::size_t>(y * 9 + 2 + x)]);
      EXPECT_EQ(pair[static_cast<std::size_t>(y * 15 + 7)], kPaper);
    }
}

}  // namespace
}  // namespace makenc
