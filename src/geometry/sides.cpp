#include "geometry/sides.h"

#include <cmath>

namespace makenc {
bool Sides::material_between(double ax, double ay, double bx, double by) const {
  regions_.crossings(ax, ay, bx, by, cuts_);
  const double len = std::hypot(bx - ax, by - ay);
  if (!(len > band_)) return false;
  // The start stands on the contour the segment leaves: within a line's
  // width of it the segment is on that line (the contour's ends, met within
  // the matching tolerance, may stray from it by that much). Between two
  // crossings the segment stays in one region: its middle tells.
  double from = band_ / len;
  cuts_.push_back(1);
  for (const double to : cuts_) {
    if (to <= from) continue;
    const double t = (from + to) / 2;
    if (material(ax + (bx - ax) * t, ay + (by - ay) * t)) return true;
    from = to;
  }
  return false;
}

}  // namespace makenc
