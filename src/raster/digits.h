// A small bitmap font of the ten digits, for numbers written into a
// picture (the place of each contour in the cutting order). Each digit is
// 5 x 7 pixels with one pixel between digits, drawn at a whole size: at
// size 2 every font pixel is a 2 x 2 block.
#pragma once

#include <string_view>

#include "raster/surface.h"

namespace makenc {

inline constexpr int kDigitWidth = 5;
inline constexpr int kDigitHeight = 7;

// The pixels a text of digits takes at `size` (1 or more).
int digits_width(std::string_view digits, int size);
inline int digits_height(int size) { return kDigitHeight * size; }

// Writes the digits with the top-left corner of the first at (x, y); a
// character that is not a digit leaves its place empty.
void draw_digits(Surface& surface, int x, int y, std::string_view digits, int size, Colour colour);

}  // namespace makenc
