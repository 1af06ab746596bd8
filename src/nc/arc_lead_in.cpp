#include "nc/arc_lead_in.h"

#include <array>
#include <cmath>

#include "core/constants.h"

namespace makenc {

namespace {

// Four chords of a quarter turn stray from the arc by 2 % of its radius: a
// line that meets the arc crosses a chord too, but for one grazing it
// within that sliver.
constexpr int kChords = 4;

// The contour touches the arc's circle at the contact point from outside;
// a thousandth of the radius inside it is room for the rounding of that
// touch.
constexpr double kInsideShare = 1e-3;

bool meets_drawn(const ArcLeadIn& arc, Point A, Point C, const DrawnElements& drawn) {
  if (drawn.lead_in_meets(A.x, A.y, arc.start.x, arc.start.y)) return true;
  // The arc runs along its circle: what does not reach inside the circle
  // cannot meet it. Only where something does are the chords followed.
  if (!drawn.within(arc.centre.x, arc.centre.y, (1 - kInsideShare) * arc.radius)) return false;
  std::array<Point, kChords + 1> points{};
  arc_lead_in_points(arc, C, kChords, points.data());
  for (int k = 0; k < kChords; ++k) {
    const Point p = points[static_cast<std::size_t>(k)], q = points[static_cast<std::size_t>(k + 1)];
    if (drawn.lead_in_meets(p.x, p.y, q.x, q.y)) return true;
  }
  return false;
}

}  // namespace

void arc_lead_in_points(const ArcLeadIn& arc, Point C, int chords, Point* out) {
  const double a0 = std::atan2(arc.start.y - arc.centre.y, arc.start.x - arc.centre.x);
  double a1 = std::atan2(C.y - arc.centre.y, C.x - arc.centre.x);
  if (a1 <= a0) a1 += 2 * kPi;
  for (int k = 0; k <= chords; ++k) {
    const double a = a0 + (a1 - a0) * k / chords;
    out[k] = {arc.centre.x + arc.radius * std::cos(a), arc.centre.y + arc.radius * std::sin(a)};
  }
  out[chords] = C;
}

std::optional<ArcLeadIn> fit_arc_lead_in(Point A, Point C, Point heading, double radius, double least,
                                         const DrawnElements* drawn) {
  const double reach = std::hypot(A.x - C.x, A.y - C.y);
  // The scrap side: left of the direction of cutting.
  const Point left{-heading.y, heading.x};
  double r = std::min(radius, reach / 2);
  for (int tries = 0; tries < 3; ++tries, r /= 2) {
    if (!(r >= least) || !std::isfinite(r)) return std::nullopt;
    ArcLeadIn arc;
    arc.radius = r;
    arc.centre = {C.x + r * left.x, C.y + r * left.y};
    // A quarter turn back from C about the centre.
    arc.start = {arc.centre.x - r * heading.x, arc.centre.y - r * heading.y};
    if (drawn == nullptr || !meets_drawn(arc, A, C, *drawn)) return arc;
  }
  return std::nullopt;
}

}  // namespace makenc
