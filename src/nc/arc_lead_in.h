// The arc lead-in: the torch pierces where the straight lead-in starts,
// switches compensation on with a straight move (a controller refuses to
// start G41 on an arc) and meets the contour at its contact point on an arc
// tangent to the contour in the direction of cutting, so that the part's
// edge shows no notch where the lead-in joins it.
#pragma once

#include <optional>

#include "geometry/drawn_elements.h"
#include "nc/joints.h"

namespace makenc {

// The arc from `start` to the contact point about `centre`. The kerf (G41)
// and the scrap lie left of the direction of cutting, so the arc turns
// left: counter-clockwise, G03.
struct ArcLeadIn {
  Point start, centre;
  double radius = 0;
};

// The arc for a lead-in from A to C on a contour leaving C in the unit
// direction `heading`: of the radius asked, at most half the distance from
// A to C; where that arc or the straight move to it meets a drawn element,
// half of it, then a quarter; nothing when none fits or the radius would
// fall below `least`.
std::optional<ArcLeadIn> fit_arc_lead_in(Point A, Point C, Point heading, double radius, double least,
                                         const DrawnElements* drawn);

// The points of the arc from its start to C, both included, `chords` + 1 of
// them, for testing it piece by piece as straight lines.
void arc_lead_in_points(const ArcLeadIn& arc, Point C, int chords, Point* out);

}  // namespace makenc
