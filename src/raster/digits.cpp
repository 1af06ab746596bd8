#include "raster/digits.h"

#include <array>
#include <cstdint>

namespace makenc {
namespace {

// One row of five bits per line, the leftmost pixel in the highest bit.
using Glyph = std::array<std::uint8_t, kDigitHeight>;
constexpr std::array<Glyph, 10> kGlyphs{{
    {0b01110, 0b10001, 0b10011, 0b10101, 0b11001, 0b10001, 0b01110},  // 0
    {0b00100, 0b01100, 0b00100, 0b00100, 0b00100, 0b00100, 0b01110},  // 1
    {0b01110, 0b10001, 0b00001, 0b00010, 0b00100, 0b01000, 0b11111},  // 2
    {0b11111, 0b00010, 0b00100, 0b00010, 0b00001, 0b10001, 0b01110},  // 3
    {0b00010, 0b00110, 0b01010, 0b10010, 0b11111, 0b00010, 0b00010},  // 4
    {0b11111, 0b10000, 0b11110, 0b00001, 0b00001, 0b10001, 0b01110},  // 5
    {0b00110, 0b01000, 0b10000, 0b11110, 0b10001, 0b10001, 0b01110},  // 6
    {0b11111, 0b00001, 0b00010, 0b00100, 0b01000, 0b01000, 0b01000},  // 7
    {0b01110, 0b10001, 0b10001, 0b01110, 0b10001, 0b10001, 0b01110},  // 8
    {0b01110, 0b10001, 0b10001, 0b01111, 0b00001, 0b00010, 0b01100},  // 9
}};

}  // namespace

int digits_width(std::string_view digits, int size) {
  if (digits.empty()) return 0;
  const auto n = static_cast<int>(digits.size());
  return (n * kDigitWidth + (n - 1)) * size;
}

void draw_digits(Surface& surface, int x, int y, std::string_view digits, int size, Colour colour) {
  for (const char c : digits) {
    if (c >= '0' && c <= '9') {
      const Glyph& g = kGlyphs[static_cast<std::size_t>(c - '0')];
      for (int row = 0; row < kDigitHeight; ++row)
        for (int col = 0; col < kDigitWidth; ++col) {
          if (((g[static_cast<std::size_t>(row)] >> (kDigitWidth - 1 - col)) & 1) == 0) continue;
          for (int v = 0; v < size; ++v)
            for (int u = 0; u < size; ++u) surface.set_pixel(x + col * size + u, y + row * size + v, colour);
        }
    }
    x += (kDigitWidth + 1) * size;
  }
}

}  // namespace makenc
