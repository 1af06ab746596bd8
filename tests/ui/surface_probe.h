// Questions the tests ask of a surface's pixels.
#pragma once

#include <cstdint>

#include "ui/surface.h"

namespace makenc::test {

inline int count_colour(const Surface& s, Colour c) {
  int n = 0;
  for (Colour p : s.pixels()) n += p == c ? 1 : 0;
  return n;
}

// Whether the pixels of colour c form one eight-connected set.
bool eight_connected(const Surface& s, Colour c);

}  // namespace makenc::test
