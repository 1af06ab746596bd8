// Small pieces the surface's rasterisers share: the conversion of drawing
// positions to whole pixels and the on/off runs of the line styles.
#pragma once

#include <cmath>
#include <cstdint>

#include "raster/surface.h"

namespace makenc {

// Positions beyond this many pixels are no longer whole numbers a double can
// hold exactly enough; nothing the system draws comes near it.
inline constexpr double kFarPixel = 1099511627776.0;  // 2^40

// A position rounded to the nearest pixel (halves upward), or false when it
// is not a finite number within kFarPixel.
inline bool whole_pixel(double v, std::int64_t& out) {
  if (!std::isfinite(v) || std::fabs(v) > kFarPixel) return false;
  out = static_cast<std::int64_t>(std::floor(v + 0.5));
  return true;
}

// Floor division for a positive divisor.
inline std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

// Both patterns repeat after this many pixels.
inline constexpr double kPatternPeriod = 51;

// Whether the pixel `pos` steps along an outline is inked in the style. The
// gaps are three pixels long, so a four-connected fill passes them also where
// a circle's outline turns from one octant into the next; a dotted outline
// leaves two of every three pixels open.
inline bool style_inks(DrawStyle style, std::int64_t pos) {
  switch (style) {
    case DrawStyle::Solid: return true;
    case DrawStyle::Dotted: return pos % 3 == 0;
    case DrawStyle::DashDotDot: {
      // 6 on, 3 off, 1 on, 3 off, 1 on, 3 off.
      const std::int64_t p = pos % 17;
      return p < 6 || p == 9 || p == 13;
    }
  }
  return true;
}

}  // namespace makenc
