#include "import/overlaps.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <tuple>
#include <vector>

#include "core/constants.h"

namespace makenc {
namespace {

// Directions within this many radians share a bucket (and its neighbours
// are looked at too): lines on one line drawn from typed coordinates differ
// by far less.
constexpr double kAngleStep = 1e-6;

struct Line {
  double ax = 0, ay = 0, bx = 0, by = 0;
};

struct Arc {
  double cx = 0, cy = 0, r = 0, from = 0, sweep = 0;  // radians counter-clockwise
};

using Key = std::tuple<std::int64_t, std::int64_t, std::int64_t>;

std::uint64_t hash_of(const Key& k) {
  std::uint64_t h = static_cast<std::uint64_t>(std::get<0>(k)) * 0x9E3779B97F4A7C15ULL;
  h ^= static_cast<std::uint64_t>(std::get<1>(k)) + 0x7F4A7C159E3779B9ULL + (h << 6) + (h >> 2);
  h ^= static_cast<std::uint64_t>(std::get<2>(k)) + 0x94D049BB133111EBULL + (h << 6) + (h >> 2);
  return h ^ (h >> 31);
}

// The buckets by key: open addressing over a power of two of slots, at
// most half of them taken, each holding a bucket's number plus one.
class BucketIndex {
 public:
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;

  explicit BucketIndex(std::size_t most) {
    std::size_t n = 16;
    while (n < 2 * most) n *= 2;
    slots_.assign(n, 0);
    mask_ = n - 1;
    keys_.reserve(most);
  }
  std::size_t size() const { return keys_.size(); }
  // The bucket of `key`, numbered in the order of first adding.
  std::uint32_t add(const Key& key) {
    for (std::size_t i = hash_of(key) & mask_;; i = (i + 1) & mask_) {
      if (slots_[i] == 0) {
        keys_.push_back(key);
        slots_[i] = static_cast<std::uint32_t>(keys_.size());
        return slots_[i] - 1;
      }
      if (keys_[slots_[i] - 1] == key) return slots_[i] - 1;
    }
  }
  std::uint32_t find(const Key& key) const {
    for (std::size_t i = hash_of(key) & mask_;; i = (i + 1) & mask_) {
      if (slots_[i] == 0) return kNone;
      if (keys_[slots_[i] - 1] == key) return slots_[i] - 1;
    }
  }

 private:
  std::vector<Key> keys_;
  std::vector<std::uint32_t> slots_;
  std::size_t mask_ = 0;
};

// Each key counts in steps of 4 units (of direction, offset, centre or
// radius), so two stretches less than 2 units apart in every key lie in
// one bucket or in the neighbour on the side of each key's nearer edge:
// a stretch looks into at most 8 buckets, and every pair within reach is
// seen from both of its stretches.
constexpr double kBucketUnits = 4;

// A line or an arc of the layer in its bucket. A line also spans lo to hi
// along its bucket's direction, so that of many lines on one line (the
// edges of a row of parts) only those whose spans meet are compared.
template <class Shape>
struct Filed {
  Shape shape;
  Key key;
  double lo = 0, hi = 0;
  std::uint32_t row = 0;
  std::uint32_t bucket = 0;
  std::array<std::int8_t, 3> side{};  // -1 or +1: the nearer neighbour
};

template <class Shape>
Filed<Shape> file(const Shape& shape, std::size_t row, const std::array<double, 3>& units, int keys) {
  Filed<Shape> f;
  f.shape = shape;
  f.row = static_cast<std::uint32_t>(row);
  std::array<std::int64_t, 3> k{};
  for (int i = 0; i < keys; ++i) {
    const double at = units[static_cast<std::size_t>(i)] / kBucketUnits;
    const double bucket = std::floor(at);
    k[static_cast<std::size_t>(i)] = static_cast<std::int64_t>(bucket);
    f.side[static_cast<std::size_t>(i)] = at - bucket >= 0.5 ? 1 : -1;
  }
  f.key = {k[0], k[1], k[2]};
  return f;
}

struct Bucket {
  std::uint32_t first = 0, last = 0;  // into the list in bucket order
  double longest = 0;                 // the longest span in it
};

// Marks every stretch that overlaps another of its kind. Spans are compared
// with a margin that covers the tolerance and the slight turn between
// neighbouring buckets' directions. `keys` is 2 for lines (direction and
// offset), 3 for arcs.
template <class Shape, class Overlap>
void mark_overlapping(const std::vector<Filed<Shape>>& filed, int keys, double tol, double margin,
                      Overlap overlap, std::vector<char>& overlapping) {
  BucketIndex bucket_of(filed.size());
  std::vector<Bucket> buckets;
  buckets.reserve(filed.size());
  std::vector<std::uint32_t> bucket_index(filed.size());
  for (std::size_t i = 0; i < filed.size(); ++i) {
    const std::uint32_t at = bucket_of.add(filed[i].key);
    if (at == buckets.size()) buckets.emplace_back();
    Bucket& b = buckets[at];
    ++b.last;
    b.longest = std::max(b.longest, filed[i].hi - filed[i].lo);
    bucket_index[i] = at;
  }
  std::uint32_t next = 0;
  for (Bucket& b : buckets) b.first = next, next += b.last, b.last = b.first;
  // The stretches bucket by bucket, by span within each.
  std::vector<std::uint32_t> order(filed.size());
  for (std::size_t i = 0; i < filed.size(); ++i)
    order[buckets[bucket_index[i]].last++] = static_cast<std::uint32_t>(i);
  bucket_index = {};
  for (const Bucket& b : buckets)
    std::sort(order.begin() + b.first, order.begin() + b.last,
              [&filed](std::uint32_t x, std::uint32_t y) { return filed[x].lo < filed[y].lo; });
  for (const Filed<Shape>& f : filed)
    for (int corner = 0; corner < (1 << keys); ++corner) {
      Key key = f.key;
      if ((corner & 1) != 0) std::get<0>(key) += f.side[0];
      if ((corner & 2) != 0) std::get<1>(key) += f.side[1];
      if ((corner & 4) != 0) std::get<2>(key) += f.side[2];
      const std::uint32_t there = bucket_of.find(key);
      if (there == BucketIndex::kNone) continue;
      const Bucket& b = buckets[there];
      const auto from = order.begin() + b.first, to = order.begin() + b.last;
      const double start = f.lo - b.longest - margin;
      for (auto g = std::lower_bound(from, to, start,
                                     [&filed](std::uint32_t x, double lo) { return filed[x].lo < lo; });
           g != to && filed[*g].lo <= f.hi + margin; ++g) {
        const Filed<Shape>& other = filed[*g];
        if (f.row < other.row && other.hi >= f.lo - margin && overlap(f.shape, other.shape, tol))
          overlapping[f.row] = overlapping[other.row] = 1;
      }
    }
}

double distance_to_line(double px, double py, const Line& s) {
  const double dx = s.bx - s.ax, dy = s.by - s.ay;
  const double len = std::hypot(dx, dy);
  return len > 0 ? std::fabs((px - s.ax) * dy - (py - s.ay) * dx) / len : std::hypot(px - s.ax, py - s.ay);
}

// Lines on one line whose stretches share more than the tolerance, and
// that are not the same stretch.
bool lines_overlap(const Line& a, const Line& b, double tol) {
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
bool arcs_overlap(const Arc& a, const Arc& b, double tol) {
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

bool in_contour(const Table& t, std::size_t r, const char* kind) {
  return !t.at(r, col::contour).is_blank() && t.at(r, col::kind) == kind;
}

void mark_lines(const Table& t, double tol, std::vector<char>& overlapping) {
  std::size_t count = 0;
  for (std::size_t r = 0; r < t.last_row(); ++r) count += in_contour(t, r, "li") ? 1 : 0;
  std::vector<Filed<Line>> lines;
  lines.reserve(count);
  double reach = 0;  // the largest coordinate of a line
  for (std::size_t r = 0; r < t.last_row(); ++r) {
    if (!in_contour(t, r, "li")) continue;
    Line s;
    s.ax = t.at(r, col::x1).number(), s.ay = t.at(r, col::y1).number();
    s.bx = t.at(r, col::x2).number(), s.by = t.at(r, col::y2).number();
    double angle = std::atan2(s.by - s.ay, s.bx - s.ax);
    if (angle < 0) angle += kPi;
    if (angle >= kPi) angle -= kPi;
    const double offset = -std::sin(angle) * s.ax + std::cos(angle) * s.ay;
    if (!std::isfinite(angle) || !std::isfinite(offset) || std::fabs(offset / tol) > 1e15) continue;
    Filed<Line> f = file(s, r, {angle / kAngleStep, offset / tol, 0.0}, 2);
    const double direction = static_cast<double>(std::get<0>(f.key)) * kBucketUnits * kAngleStep;
    const double c = std::cos(direction), sn = std::sin(direction);
    const double pa = s.ax * c + s.ay * sn, pb = s.bx * c + s.by * sn;
    f.lo = std::min(pa, pb), f.hi = std::max(pa, pb);
    reach = std::max({reach, std::fabs(s.ax), std::fabs(s.ay), std::fabs(s.bx), std::fabs(s.by)});
    lines.push_back(f);
  }
  // Neighbouring buckets' directions differ by one bucket's width, and a
  // line's own by less than one more from its bucket's.
  const double margin = 2 * tol + 8 * kBucketUnits * kAngleStep * (reach + 1);
  mark_overlapping(lines, 2, tol, margin, lines_overlap, overlapping);
}

void mark_arcs(const Table& t, double tol, std::vector<char>& overlapping) {
  std::size_t count = 0;
  for (std::size_t r = 0; r < t.last_row(); ++r) count += in_contour(t, r, "cci") ? 1 : 0;
  std::vector<Filed<Arc>> arcs;
  arcs.reserve(count);
  for (std::size_t r = 0; r < t.last_row(); ++r) {
    if (!in_contour(t, r, "cci")) continue;
    Arc s;
    s.cx = t.at(r, col::cx).number(), s.cy = t.at(r, col::cy).number(), s.r = t.at(r, col::radius).number();
    const double from = t.at(r, col::start_angle).number(), to = t.at(r, col::end_angle).number();
    s.from = from * kPi / 180;
    s.sweep = std::fmod(std::fmod(to - from, 360.0) + 360.0, 360.0) * kPi / 180;
    if (!std::isfinite(s.cx + s.cy + s.r + s.from + s.sweep) || std::fabs(s.cx / tol) > 1e15 ||
        std::fabs(s.cy / tol) > 1e15 || std::fabs(s.r / tol) > 1e15)
      continue;
    arcs.push_back(file(s, r, {s.cx / tol, s.cy / tol, s.r / tol}, 3));
  }
  // Arcs have no span: every arc of a bucket is compared.
  mark_overlapping(arcs, 3, tol, std::numeric_limits<double>::infinity(), arcs_overlap, overlapping);
}

}  // namespace

std::size_t count_partial_overlaps(const Table& t, double tolerance) {
  const double tol = std::max(tolerance, 1e-9);
  std::vector<char> overlapping(t.rows(), 0);
  mark_lines(t, tol, overlapping);
  mark_arcs(t, tol, overlapping);
  return static_cast<std::size_t>(std::count(overlapping.begin(), overlapping.end(), 1));
}

}  // namespace makenc
