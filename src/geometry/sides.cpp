#include "geometry/sides.h"

#include <cmath>

namespace makenc {
namespace {

// Stretches shorter than this (drawing units) are where the segment meets a
// contour, at its end on the contour or where it passes a corner: the
// drawing's numbers carry four decimals, far coarser than this.
constexpr double kMeeting = 1e-7;

}  // namespace

bool Sides::material_between(double ax, double ay, double bx, double by) const {
  regions_.crossings(ax, ay, bx, by, cuts_);
  const double len = std::hypot(bx - ax, by - ay);
  // Between two crossings the segment stays in one region: its middle tells.
  double from = 0;
  cuts_.push_back(1);
  for (const double to : cuts_) {
    if ((to - from) * len > kMeeting) {
      const double t = (from + to) / 2;
      if (material(ax + (bx - ax) * t, ay + (by - ay) * t)) return true;
    }
    from = to;
  }
  return false;
}

}  // namespace makenc
