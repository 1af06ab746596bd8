// How the lines and arcs of a chained contour run at their ends: the
// direction in which an element leaves a point where several ends meet, so
// that chaining can take the one that keeps to the boundary of one region,
// and the area a closed chain encloses, whose sign tells which side of it
// that region lies on.
#pragma once

#include <cstddef>
#include <deque>

#include "core/table.h"

namespace makenc {

// The way an element leaves one of its ends: a unit direction and its bend,
// 1/r for an arc that turns to the left of that direction, -1/r for one
// that turns to the right, 0 for a line.
struct Leaving {
  double dx = 0, dy = 0, bend = 0;
};

// How row `row` of a layer table ("li" or "cci", end points in columns
// 1..4 in the order it is run) leaves its start (at_start) or, run
// backwards, its finish.
Leaving leaving(const Table& t, std::size_t row, bool at_start);

// The length of row `row` ("li" or "cci"): as measured in its column, or
// from its ends, centre and angles where it is not measured yet.
double run_length(const Table& t, std::size_t row);

// The turn from arriving along `in` (pointing into the point) to leaving
// along `out`, in radians, positive to the left, in (-pi, pi].
double turn_angle(const Leaving& in, const Leaving& out);

// The area the rows enclose when run in order, positive when
// they run counter-clockwise; arcs count with the segment between chord
// and arc.
double enclosed_area(const Table& t, const std::deque<std::size_t>& rows);

}  // namespace makenc
