// The exact shape of one entity of a layer table, in drawing units: what a
// straight lead-in meets of it, and how far a point lies from it.
// The lead-ins are kept off every drawn line but the contour they enter, and
// a point within a line's width of one stands on it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/table.h"

namespace makenc {

struct Extent {
  double left = 0, right = 0, low = 0, high = 0;
};

// A sheet holds a hundred thousand of these: a line and a round share
// their numbers' place.
struct ElementShape {
  struct Line {
    double x1, y1, x2, y2;
  };
  struct Round {
    double cx, cy, r, from, to;  // degrees, counter-clockwise
  };
  enum class Kind : std::uint8_t { line, circle, arc } kind = Kind::line;
  union {
    Line line{};
    Round round;
  };

  // The extent; for an arc, that of its whole circle.
  Extent extent() const {
    if (kind == Kind::line)
      return {std::min(line.x1, line.x2), std::max(line.x1, line.x2), std::min(line.y1, line.y2),
              std::max(line.y1, line.y2)};
    return {round.cx - round.r, round.cx + round.r, round.cy - round.r, round.cy + round.r};
  }
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
