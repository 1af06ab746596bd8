#include "import/overlaps.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <tuple>
#include <vector>

#include "core/constants.h"

namespace makenc {
namespace {

// Directions within this many radians share a bucket (and its neighbours
// are looked at too): lines on one line drawn from typed coordinates differ
// by far less.
constexpr double kAngleStep = 1e-6;

struct Stretch {
  std::size_t row = 0;
  double ax = 0, ay = 0, bx = 0, by = 0;              // a line
  double cx = 0, cy = 0, r = 0, from = 0, sweep = 0;  // an arc, radians counter-clockwise
};

using Key = std::tuple<std::int64_t, std::int64_t, std::int64_t>;

double distance_to_line(double px, double py, const Stretch& s) {
  const double dx = s.bx - s.ax, dy = s.by - s.ay;
  const double len = std::hypot(dx, dy);
  return len > 0 ? std::fabs((px - s.ax) * dy - (py - s.ay) * dx) / len : std::hypot(px - s.ax, py - s.ay);
}

// Lines on one line whose stretches share more than the tolerance, and
// that are not the same stretch.
bool lines_overlap(const Stretch& a, const Stretch& b, double tol) {
  if (distance_to_line(b.ax, b.ay, a) > tol || distance_to_line(b.bx, b.by, a) > tol) return false;
  const double dx = a.bx - a.ax, dy = a.by - a.ay;
  const double len = std::hypot(dx, dy);
  if (!(len > 0)) return false;
  const auto along = [&](double x, double y) { return ((x - a.ax) * dx + (y - a.ay) * dy) / len; };
  const double b0 = along(b.ax, b.ay), b1 = along(b.bx, b.by);
  const double lo = std::max(0.0, std::min(b0, b1)), hi = std::min(len, std::max(b0, b1));
  const bool same = std::fabs(std::min(b0, b1)) <= tol && std::fabs(std::max(b0, b1) - len) <= tol;
  return hi - lo > tol && !same;
}

// Where the sweep of b starts within a's, or a's within b's.
bool arcs_overlap(const Stretch& a, const Stretch& b, double tol) {
  if (std::hypot(a.cx - b.cx, a.cy - b.cy) > tol || std::fabs(a.r - b.r) > tol || !(a.r > 0)) return false;
  const double slack = tol / a.r;
  const auto offset = [](double angle, double from) {
    const double turn = 2 * kPi;
    return std::fmod(std::fmod(angle - from, turn) + turn, turn);
  };
  const bool same = std::fabs(a.sweep - b.sweep) <= slack &&
                    std::min(offset(b.from, a.from), 2 * kPi - offset(b.from, a.from)) <= slack;
  if (same) return false;
  const double b_in_a = offset(b.from, a.from), a_in_b = offset(a.from, b.from);
  return (b_in_a < a.sweep - slack) || (a_in_b < b.sweep - slack);
}

}  // namespace

std::size_t count_partial_overlaps(const Table& t, double tolerance) {
  const double tol = std::max(tolerance, 1e-9);
  std::map<Key, std::vector<Stretch>> lines, arcs;
  for (std::size_t r = 0; r < t.last_row(); ++r) {
    if (t.at(r, col::contour).is_blank()) continue;
    const Cell& kind = t.at(r, col::kind);
    Stretch s;
    s.row = r;
    if (kind == "li") {
      s.ax = t.at(r, col::x1).number(), s.ay = t.at(r, col::y1).number();
      s.bx = t.at(r, col::x2).number(), s.by = t.at(r, col::y2).number();
      double angle = std::atan2(s.by - s.ay, s.bx - s.ax);
      if (angle < 0) angle += kPi;
      if (angle >= kPi) angle -= kPi;
      const double offset = -std::sin(angle) * s.ax + std::cos(angle) * s.ay;
      if (!std::isfinite(angle) || !std::isfinite(offset) || std::fabs(offset / tol) > 1e15) continue;
      lines[{std::llround(angle / kAngleStep), std::llround(offset / tol), 0}].push_back(s);
    } else if (kind == "cci") {
      s.cx = t.at(r, col::cx).number(), s.cy = t.at(r, col::cy).number(), s.r = t.at(r, col::radius).number();
      const double from = t.at(r, col::start_angle).number(), to = t.at(r, col::end_angle).number();
      s.from = from * kPi / 180;
      s.sweep = std::fmod(std::fmod(to - from, 360.0) + 360.0, 360.0) * kPi / 180;
      if (!std::isfinite(s.cx + s.cy + s.r + s.from + s.sweep) || std::fabs(s.cx / tol) > 1e15 ||
          std::fabs(s.cy / tol) > 1e15 || std::fabs(s.r / tol) > 1e15)
        continue;
      arcs[{std::llround(s.cx / tol), std::llround(s.cy / tol), std::llround(s.r / tol)}].push_back(s);
    }
  }
  std::vector<char> overlapping(t.rows(), 0);
  const auto compare_near = [&](const std::map<Key, std::vector<Stretch>>& buckets, auto&& overlap) {
    for (const auto& [key, here] : buckets)
      for (std::int64_t d0 = -1; d0 <= 1; ++d0)
        for (std::int64_t d1 = -1; d1 <= 1; ++d1)
          for (std::int64_t d2 = -1; d2 <= 1; ++d2) {
            const auto there =
                buckets.find({std::get<0>(key) + d0, std::get<1>(key) + d1, std::get<2>(key) + d2});
            if (there == buckets.end()) continue;
            for (const Stretch& a : here)
              for (const Stretch& b : there->second)
                if (a.row < b.row && overlap(a, b, tol)) overlapping[a.row] = overlapping[b.row] = 1;
          }
  };
  compare_near(lines, lines_overlap);
  compare_near(arcs, arcs_overlap);
  return static_cast<std::size_t>(std::count(overlapping.begin(), overlapping.end(), 1));
}

}  // namespace makenc
