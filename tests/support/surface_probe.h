// Questions the tests ask of a surface's pixels.
#pragma once

#include <cstdint>

#include "raster/surface.h"

namespace makenc::test {

inline int count_colour(const Surface& s, Colour c) {
  int n = 0;
  for (Colour p : s.pixels()) n += p == c ? 1 : 0;
  return n;
}

// Whether a pixel of colour c lies within one pixel of (x, y).
inline bool colour_near(const Surface& s, double x, double y, Colour c) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (s.pixel(x + dx, y + dy) == c) return true;
  return false;
}

// Whether the pixels of colour c form one eight-connected set.
bool eight_connected(const Surface& s, Colour c);

}  // namespace makenc::test
