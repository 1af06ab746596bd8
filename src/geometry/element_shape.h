// The exact shape of one entity of a layer table, in drawing units: what a
// straight lead-in meets of it, and how far a point lies from it.
// The lead-ins are kept off every drawn line but the contour they enter, and
// a point within a line's width of one stands on it.
#pragma once

#include <cstddef>
#include <optional>

#include "core/table.h"

namespace makenc {

struct ElementShape {
  enum class Kind { line, circle, arc } kind = Kind::line;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;           // line
  double cx = 0, cy = 0, r = 0, from = 0, to = 0;  // circle and arc: degrees, counter-clockwise
  // The extent; for an arc, that of its whole circle.
  double left = 0, right = 0, low = 0, high = 0;
};

// The shape of a line ("li"), circle ("ci") or arc ("cci") row; nothing for
// any other row or a shape whose numbers are not finite.
std::optional<ElementShape> element_shape(const Table& t, std::size_t row);

// Where the segment from a to b first meets the element, as the fraction of
// the way from a (0 at a, 1 at b); nothing when it misses. Touching counts.
std::optional<double> segment_meets(const ElementShape& e, double ax, double ay, double bx, double by);

// The shortest distance from (px, py) to the element.
double distance_to(const ElementShape& e, double px, double py);

}  // namespace makenc
