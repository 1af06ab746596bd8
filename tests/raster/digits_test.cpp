// The bitmap digits of order numbers: laid out as wide as said, every digit
// a different picture, and size 2 the same picture in 2 x 2 blocks.
#include "raster/digits.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace makenc {
namespace {

std::vector<Colour> rendered(const std::string& text, int size) {
  Surface s(digits_width(text, size), digits_height(size), 0xFFFFFF);
  draw_digits(s, 0, 0, text, size, 0);
  return s.pixels();
}

TEST(Digits, WidthsAndGlyphs) {
  EXPECT_EQ(digits_width("", 1), 0);
  EXPECT_EQ(digits_width("123", 1), 17);
  EXPECT_EQ(digits_width("123", 2), 34);
  std::set<std::vector<Colour>> seen;
  for (char c = '0'; c <= '9'; ++c) {
    const std::vector<Colour> small = rendered(std::string(1, c), 1);
    const std::vector<Colour> large = rendered(std::string(1, c), 2);
    EXPECT_TRUE(seen.insert(small).second) << c << " looks like another digit";
    for (std::size_t i = 0; i < large.size(); ++i)
      EXPECT_EQ(large[i], small[(i / 10 / 2) * 5 + (i % 10) / 2]) << c << " at size 2, pixel " << i;
  }
  // A text is its digits side by side with one empty column between.
  const std::vector<Colour> pair = rendered("40", 1), four = rendered("4", 1), zero = rendered("0", 1);
  for (std::size_t y = 0; y < 7; ++y)
    for (std::size_t x = 0; x < 5; ++x) {
      EXPECT_EQ(pair[y * 11 + x], four[y * 5 + x]);
      EXPECT_EQ(pair[y * 11 + 6 + x], zero[y * 5 + x]);
      EXPECT_EQ(pair[y * 11 + 5], 0xFFFFFF);
    }
}

}  // namespace
}  // namespace makenc
