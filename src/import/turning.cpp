#include "import/turning.h"

#include <cmath>

#include "core/constants.h"

namespace makenc {
namespace {

struct Arc {
  double cx = 0, cy = 0, r = 0;
  double sweep = 0;  // radians, counter-clockwise from the start angle to the end angle
  bool ccw = true;   // run from its start angle to its end angle
};

double normal_degrees(double a) { return std::fmod(std::fmod(a, 360.0) + 360.0, 360.0); }

// An arc row keeps its angles when chaining exchanges its ends: it runs
// counter-clockwise when its first end is the point at its start angle.
Arc arc_of(const Table& t, std::size_t row) {
  Arc a;
  a.cx = t.at(row, col::cx).number();
  a.cy = t.at(row, col::cy).number();
  a.r = std::fabs(t.at(row, col::radius).number());
  const double s = t.at(row, col::start_angle).number();
  const double e = t.at(row, col::end_angle).number();
  const double sweep = normal_degrees(e - s);
  a.sweep = (sweep == 0 ? 360.0 : sweep) * kPi / 180;
  const double sx = a.cx + a.r * std::cos(s * kPi / 180), sy = a.cy + a.r * std::sin(s * kPi / 180);
  const double d1 = std::hypot(t.at(row, col::x1).number() - sx, t.at(row, col::y1).number() - sy);
  const double d2 = std::hypot(t.at(row, col::x2).number() - sx, t.at(row, col::y2).number() - sy);
  a.ccw = d1 <= d2;
  return a;
}

Leaving unit(double dx, double dy, double bend) {
  const double l = std::hypot(dx, dy);
  if (!(l > 0)) return {0, 0, bend};
  return {dx / l, dy / l, bend};
}

}  // namespace

Leaving leaving(const Table& t, std::size_t row, bool at_start) {
  const double x1 = t.at(row, col::x1).number(), y1 = t.at(row, col::y1).number();
  const double x2 = t.at(row, col::x2).number(), y2 = t.at(row, col::y2).number();
  if (t.at(row, col::kind) != "cci") return at_start ? unit(x2 - x1, y2 - y1, 0) : unit(x1 - x2, y1 - y2, 0);
  const Arc a = arc_of(t, row);
  const double px = at_start ? x1 : x2, py = at_start ? y1 : y2;
  // Counter-clockwise about the centre, the tangent is the radius turned
  // a quarter to the left.
  const bool ccw = at_start == a.ccw;
  const double bend = a.r > 0 ? 1 / a.r : 0;
  if (ccw) return unit(-(py - a.cy), px - a.cx, bend);
  return unit(py - a.cy, -(px - a.cx), -bend);
}

double run_length(const Table& t, std::size_t row) {
  const Cell& measured = t.at(row, col::length);
  if (!measured.is_blank()) return measured.number();
  if (t.at(row, col::kind) == "cci") {
    const Arc a = arc_of(t, row);
    return a.r * a.sweep;
  }
  return std::hypot(t.at(row, col::x2).number() - t.at(row, col::x1).number(),
                    t.at(row, col::y2).number() - t.at(row, col::y1).number());
}

double turn_angle(const Leaving& in, const Leaving& out) {
  return std::atan2(in.dx * out.dy - in.dy * out.dx, in.dx * out.dx + in.dy * out.dy);
}

double enclosed_area(const Table& t, const std::deque<std::size_t>& rows) {
  if (rows.empty()) return 0;
  // About the first point, so that far-off drawings keep their digits.
  const double ox = t.at(rows.front(), col::x1).number(), oy = t.at(rows.front(), col::y1).number();
  double twice = 0;
  for (std::size_t row : rows) {
    const double x1 = t.at(row, col::x1).number() - ox, y1 = t.at(row, col::y1).number() - oy;
    const double x2 = t.at(row, col::x2).number() - ox, y2 = t.at(row, col::y2).number() - oy;
    twice += x1 * y2 - x2 * y1;
    if (t.at(row, col::kind) == "cci") {
      const Arc a = arc_of(t, row);
      const double segment = a.r * a.r * (a.sweep - std::sin(a.sweep));
      twice += a.ccw ? segment : -segment;
    }
  }
  return twice / 2;
}

}  // namespace makenc
