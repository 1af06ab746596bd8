#include "import/coincide.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/constants.h"

namespace makenc {
namespace {

bool holds(const EndBand& b, double x, double y) {
  return b.x_lo <= x && x <= b.x_hi && b.y_lo <= y && y <= b.y_hi;
}

struct Meeting {
  double tolerance;
  std::int16_t S;
  // Two points meet when the band around either holds the other.
  bool operator()(double px, double py, double qx, double qy) const {
    return ends_meet(px, py, qx, qy, tolerance, S) || ends_meet(qx, qy, px, py, tolerance, S);
  }
};

double num(const Table& t, std::size_t row, int c) { return t.at(row, c).number(); }

bool same_ends(const Table& t, std::size_t a, std::size_t b, const Meeting& meet) {
  auto end_meets = [&](int ca, int cb) {
    return meet(num(t, a, ca), num(t, a, ca + 1), num(t, b, cb), num(t, b, cb + 1));
  };
  return (end_meets(col::x1, col::x1) && end_meets(col::x2, col::x2)) ||
         (end_meets(col::x1, col::x2) && end_meets(col::x2, col::x1));
}

bool same_round(const Table& t, std::size_t a, std::size_t b, const Meeting& meet) {
  return meet(num(t, a, col::cx), num(t, a, col::cy), num(t, b, col::cx), num(t, b, col::cy)) &&
         meet(num(t, a, col::radius), 0, num(t, b, col::radius), 0);
}

// The middle of an arc row as measured: counter-clockwise from its start
// angle to its end angle.
void arc_middle(const Table& t, std::size_t row, double& x, double& y) {
  const double s = num(t, row, col::start_angle), e = num(t, row, col::end_angle);
  double sweep = std::fmod(std::fmod(e - s, 360.0) + 360.0, 360.0);
  if (sweep == 0) sweep = 360;
  const double m = (s + sweep / 2) * kPi / 180;
  const double r = std::fabs(num(t, row, col::radius));
  x = num(t, row, col::cx) + r * std::cos(m);
  y = num(t, row, col::cy) + r * std::sin(m);
}

// Two arcs between the same ends on one circle are either the same arc or
// the two halves of the circle they split, whose middles lie a diameter
// apart.
bool same_arc(const Table& t, std::size_t a, std::size_t b, const Meeting& meet) {
  if (!same_ends(t, a, b, meet) || !same_round(t, a, b, meet)) return false;
  double xa = 0, ya = 0, xb = 0, yb = 0;
  arc_middle(t, a, xa, ya);
  arc_middle(t, b, xb, yb);
  return std::hypot(xa - xb, ya - yb) <= std::fabs(num(t, a, col::radius));
}

bool coincide(const Table& t, std::size_t a, std::size_t b, const Meeting& meet) {
  const Cell& kind = t.at(a, col::kind);
  if (kind.text() != t.at(b, col::kind).text()) return false;
  if (kind == "li") return same_ends(t, a, b, meet);
  if (kind == "cci") return same_arc(t, a, b, meet);
  if (kind == "ci") return same_round(t, a, b, meet);
  return false;
}

struct Sets {
  std::vector<std::size_t> parent;
  std::size_t find(std::size_t r) {
    while (parent[r] != r) r = parent[r] = parent[parent[r]];
    return r;
  }
  void join(std::size_t a, std::size_t b) {
    a = find(a);
    b = find(b);
    if (a != b) parent[std::max(a, b)] = std::min(a, b);
  }
};

void sorted_unique(std::vector<std::size_t>& rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
}

}  // namespace

Coincidences find_coincidences(const Table& t, const std::vector<char>& takes_part, const EndIndex& index,
                               const std::vector<std::array<EndBand, 2>>& bands, double tolerance,
                               std::int16_t S) {
  const std::size_t n = t.last_row();
  const Meeting meet{tolerance, S};
  Sets sets;
  sets.parent.resize(n);
  std::iota(sets.parent.begin(), sets.parent.end(), std::size_t{0});
  Coincidences out;
  std::vector<std::size_t> near;
  std::vector<EndPoint> centres;
  double largest = 0;
  for (std::size_t r = 0; r != n; ++r) {
    if (!takes_part[r]) continue;
    const Cell& kind = t.at(r, col::kind);
    if (kind == "ci") {
      centres.push_back({r, num(t, r, col::cx), num(t, r, col::cy)});
      for (int c : {col::cx, col::cy, col::radius}) largest = std::fmax(largest, std::fabs(num(t, r, c)));
      continue;
    }
    if (kind != "li" && kind != "cci") continue;
    for (int end = 0; end < 2; ++end) {
      const double x = num(t, r, 1 + 2 * end), y = num(t, r, 2 + 2 * end);
      near.clear();
      index.rows_near(x, y, near);
      sorted_unique(near);
      // This end and those of other rows whose band holds it.
      std::size_t ends = 1;
      for (std::size_t q : near) {
        bool meets_here = false;
        for (int e = 0; e < 2; ++e) {
          if ((q != r || e != end) && holds(bands[q][static_cast<std::size_t>(e)], x, y)) {
            ++ends;
            meets_here = true;
          }
        }
        // A copy has an end at this row's start, whichever way round.
        if (end == 0 && q != r && meets_here && coincide(t, r, q, meet)) {
          sets.join(r, q);
          out.any_twins = true;
        }
      }
      if (ends >= 3) out.ends_crowd = true;
    }
  }
  if (!centres.empty()) {
    const EndIndex circles(meeting_reach(tolerance, S, largest), centres);
    for (const EndPoint& c : centres) {
      near.clear();
      circles.rows_near(c.x, c.y, near);
      for (std::size_t q : near) {
        if (q != c.row && coincide(t, c.row, q, meet)) {
          sets.join(c.row, q);
          out.any_twins = true;
        }
      }
    }
  }
  out.first_twin.resize(n);
  out.next_twin.resize(n);
  // Each set as a ring in row order: the last row seen of each set points
  // on to the next, and the last of all back to the first.
  std::vector<std::size_t>& last_seen = sets.parent;  // reused once the roots are read
  for (std::size_t r = 0; r != n; ++r) out.first_twin[r] = sets.find(r);
  std::iota(last_seen.begin(), last_seen.end(), std::size_t{0});
  for (std::size_t r = 0; r != n; ++r) {
    const std::size_t first = out.first_twin[r];
    out.next_twin[r] = first;
    if (r != first) out.next_twin[last_seen[first]] = r;
    last_seen[first] = r;
  }
  return out;
}

}  // namespace makenc
