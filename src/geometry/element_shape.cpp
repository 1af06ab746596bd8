#include "geometry/element_shape.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "core/constants.h"

namespace makenc {
namespace {

bool finite(std::initializer_list<double> values) {
  return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

double normal_degrees(double a) { return std::fmod(std::fmod(a, 360.0) + 360.0, 360.0); }

// An arc of sweep 0 (its angles equal, or a whole turn apart) is whole.
bool within_sweep(double angle, double from, double to) {
  const double sweep = normal_degrees(to - from);
  return normal_degrees(angle - from) <= (sweep == 0 ? 360.0 : sweep);
}

double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// Below this fraction of the segment, or of the lengths involved, two
// computed points are the same: the drawing's numbers carry four decimals,
// far coarser than this.
constexpr double kSlack = 1e-9;

std::optional<double> segment_meets_line(const ElementShape::Line& e, double ax, double ay, double dx,
                                         double dy) {
  const double ex = e.x2 - e.x1, ey = e.y2 - e.y1;
  const double qx = e.x1 - ax, qy = e.y1 - ay;
  const double d_len = std::hypot(dx, dy), e_len = std::hypot(ex, ey);
  const double denom = cross(dx, dy, ex, ey);
  if (std::fabs(denom) <= kSlack * d_len * e_len) {
    // Parallel: they meet only when they lie on one line and overlap.
    if (std::fabs(cross(qx, qy, dx, dy)) > kSlack * d_len * (d_len + std::hypot(qx, qy))) return std::nullopt;
    const double dd = dx * dx + dy * dy;
    if (!(dd > 0)) return std::nullopt;
    const double t1 = (qx * dx + qy * dy) / dd;
    const double t2 = ((e.x2 - ax) * dx + (e.y2 - ay) * dy) / dd;
    const double lo = std::max(0.0, std::min(t1, t2)), hi = std::min(1.0, std::max(t1, t2));
    if (lo > hi + kSlack) return std::nullopt;
    return lo;
  }
  const double t = cross(qx, qy, ex, ey) / denom;
  const double u = cross(qx, qy, dx, dy) / denom;
  if (t < -kSlack || t > 1 + kSlack || u < -kSlack || u > 1 + kSlack) return std::nullopt;
  return std::clamp(t, 0.0, 1.0);
}

std::optional<double> segment_meets_round(const ElementShape::Round& e, bool arc, double ax, double ay,
                                          double dx, double dy) {
  const double fx = ax - e.cx, fy = ay - e.cy;
  const double A = dx * dx + dy * dy;
  if (!(A > 0)) return std::nullopt;
  const double B = 2 * (fx * dx + fy * dy);
  const double C = fx * fx + fy * fy - e.r * e.r;
  double disc = B * B - 4 * A * C;
  // A segment that grazes the circle within rounding touches it.
  if (disc < 0 && disc > -kSlack * B * B) disc = 0;
  if (disc < 0) return std::nullopt;
  const double root = std::sqrt(disc);
  std::optional<double> first;
  for (const double t : {(-B - root) / (2 * A), (-B + root) / (2 * A)}) {
    if (t < -kSlack || t > 1 + kSlack) continue;
    if (arc) {
      const double angle = std::atan2(ay + t * dy - e.cy, ax + t * dx - e.cx) * 180 / kPi;
      if (!within_sweep(angle, e.from, e.to)) continue;
    }
    const double at = std::clamp(t, 0.0, 1.0);
    if (!first || at < *first) first = at;
  }
  return first;
}

}  // namespace

std::optional<ElementShape> element_shape(const Table& t, std::size_t row) {
  const Cell& kind = t.at(row, col::kind);
  auto num = [&](int c) { return t.at(row, c).number(); };
  ElementShape e;
  if (kind == "li") {
    ElementShape::Line& l = e.line;
    l.x1 = num(col::x1), l.y1 = num(col::y1), l.x2 = num(col::x2), l.y2 = num(col::y2);
    if (!finite({l.x1, l.y1, l.x2, l.y2})) return std::nullopt;
    return e;
  }
  if (!(kind == "ci") && !(kind == "cci")) return std::nullopt;
  e.kind = kind == "ci" ? ElementShape::Kind::circle : ElementShape::Kind::arc;
  e.round = ElementShape::Round{};
  ElementShape::Round& o = e.round;
  o.cx = num(col::cx), o.cy = num(col::cy), o.r = num(col::radius);
  o.from = num(col::start_angle), o.to = num(col::end_angle);
  if (!finite({o.cx, o.cy, o.r}) || (e.kind == ElementShape::Kind::arc && !finite({o.from, o.to})))
    return std::nullopt;
  return e;
}

std::optional<double> segment_meets(const ElementShape& e, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  if (e.kind == ElementShape::Kind::line) return segment_meets_line(e.line, ax, ay, dx, dy);
  return segment_meets_round(e.round, e.kind == ElementShape::Kind::arc, ax, ay, dx, dy);
}

double distance_to(const ElementShape& shape, double px, double py) {
  if (shape.kind == ElementShape::Kind::line) {
    const ElementShape::Line& e = shape.line;
    const double dx = e.x2 - e.x1, dy = e.y2 - e.y1;
    const double dd = dx * dx + dy * dy;
    double t = dd > 0 ? ((px - e.x1) * dx + (py - e.y1) * dy) / dd : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (e.x1 + t * dx), py - (e.y1 + t * dy));
  }
  const ElementShape::Round& e = shape.round;
  const double to_centre = std::hypot(px - e.cx, py - e.cy);
  if (shape.kind == ElementShape::Kind::circle ||
      within_sweep(std::atan2(py - e.cy, px - e.cx) * 180 / kPi, e.from, e.to))
    return std::fabs(to_centre - e.r);
  double nearest = HUGE_VAL;
  for (const double a : {e.from, e.to}) {
    const double r = a * kPi / 180;
    nearest = std::min(nearest, std::hypot(px - (e.cx + e.r * std::cos(r)), py - (e.cy + e.r * std::sin(r))));
  }
  return nearest;
}

}  // namespace makenc
