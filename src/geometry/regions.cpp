#include "geometry/regions.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/constants.h"
#include "geometry/grid.h"
#include "import/chain.h"

namespace makenc {
namespace {

// About this many contours share a cell, and there are never many more cells
// than contours.
constexpr double kPerCell = 2;
constexpr double kCellsPerContour = 4;

double normal_degrees(double a) { return std::fmod(std::fmod(a, 360.0) + 360.0, 360.0); }

// The rows [first, end) of one chained contour of a layer table.
struct Group {
  std::size_t first = 0, end = 0;
};

// The contours of a table as placement meets them: each starts at an
// element with position 1 and runs while the contour number stays.
std::vector<Group> groups_of(const Table& t) {
  std::vector<Group> groups;
  if (t.rows() == 0 || t.cols() <= static_cast<std::size_t>(col::outline)) return groups;
  const std::size_t last = t.last_row();
  for (std::size_t i = 0; i < last;) {
    std::size_t j = i + 1;
    while (j < last && compare(t.at(j, col::contour), t.at(i, col::contour)) == 0) ++j;
    if (t.at(i, col::position).number() == 1 && !t.at(i, col::contour).is_blank()) groups.push_back({i, j});
    i = j;
  }
  return groups;
}

enum class GroupKind { none, closed, point, open };

// What placement makes of the contour: a circle or a loop that closes is
// closed; a point; a chain that does not close is open.
GroupKind group_kind(const Table& t, Group g, const Settings& settings) {
  const Cell& kind = t.at(g.first, col::kind);
  if (kind == "ci") return GroupKind::closed;
  std::size_t longest = g.first;
  double len_max = t.at(g.first, col::length).number();
  for (std::size_t r = g.first; r < g.end; ++r) {
    const double len = t.at(r, col::length).number();
    if (len >= len_max) {
      len_max = len;
      longest = r;
    }
  }
  const Cell& longest_kind = t.at(longest, col::kind);
  const bool closed = !(kind == "pt") && contour_closes(t, g.first, g.end - 1, settings);
  if ((longest_kind == "cci" || longest_kind == "li") && closed) return GroupKind::closed;
  if (longest_kind == "pt") return GroupKind::point;
  if (!closed && !(kind == "pt")) return GroupKind::open;
  return GroupKind::none;
}

// Whether placement cuts the contour: a closed one of colour code "2", an
// open one on ly0 of any code but "8"; points are marked.
bool is_cut(const Table& t, Group g, GroupKind kind, int layer) {
  const Cell& colour = t.at(g.first, col::colour);
  if (kind == GroupKind::closed) return colour == "2";
  if (kind == GroupKind::open) return layer == 0 && !(colour == "8");
  return false;
}

bool every_element_cuts(const Table& t, Group g) {
  for (std::size_t r = g.first; r < g.end; ++r)
    if (!(t.at(r, col::colour) == "2")) return false;
  return true;
}

bool touches_lower_left(const Table& t, Group g) {
  for (std::size_t r = g.first; r < g.end; ++r)
    if (t.at(r, col::outline) == "G") return true;
  return false;
}

bool finite_numbers(const Table& t, std::size_t r, std::initializer_list<int> columns) {
  return std::all_of(columns.begin(), columns.end(),
                     [&](int c) { return std::isfinite(t.at(r, c).number()); });
}

}  // namespace

Regions::Regions(const Drawing& drawing, const LayerTicks& ticked, const Settings& settings) {
  // Room for the most a drawing can need, taken once: an element gives at
  // most three edges (an arc over its top and bottom), a circle two. Of a
  // large block the system backs only the pages that are used.
  std::size_t rows = 0;
  for (int k = 0; k < kLayerCount; ++k)
    if (ticked[static_cast<std::size_t>(k)] && drawing.has_layer(k)) rows += drawing.layer(k).last_row();
  edges_.reserve(3 * rows);
  contours_.reserve(rows);
  bool outline_found = false;
  for (int k = 0; k < kLayerCount; ++k) {
    if (!ticked[static_cast<std::size_t>(k)] || !drawing.has_layer(k)) continue;
    const Table& t = drawing.layer(k);
    for (const Group g : groups_of(t)) {
      const GroupKind kind = group_kind(t, g, settings);
      const bool cut = is_cut(t, g, kind, k);
      const bool outline = !outline_found && cut && touches_lower_left(t, g);
      if (outline) outline_found = true;
      if (kind != GroupKind::closed || !cut || !every_element_cuts(t, g)) continue;
      const auto before = edges_.size();
      add_contour(t, k, g.first, g.end);
      if (edges_.size() == before) continue;
      if (outline) outline_ = static_cast<std::uint32_t>(contours_.size() - 1);
    }
  }
  build_index();
}

void Regions::add_contour(const Table& t, int layer, std::size_t first, std::size_t end) {
  Contour c;
  c.layer = layer;
  c.first = first;
  c.end = end;
  c.first_edge = static_cast<std::uint32_t>(edges_.size());
  if (t.at(first, col::kind) == "ci") {
    if (!finite_numbers(t, first, {col::cx, col::cy, col::radius})) return;
    const double cx = t.at(first, col::cx).number(), cy = t.at(first, col::cy).number();
    const double r = t.at(first, col::radius).number();
    if (!(r > 0)) return;
    add_round(cx, cy, r, 270, 270, cx, cy - r, cx, cy - r);
  } else {
    // Each element starts where the one before it ends, the first where the
    // last ends: ends that meet within the matching tolerance become one
    // point, so the contour encloses without a gap a ray could slip through.
    for (std::size_t r = first; r < end; ++r)
      if (!finite_numbers(t, r, {col::x1, col::y1, col::x2, col::y2})) return;
    double sx = t.at(end - 1, col::x2).number(), sy = t.at(end - 1, col::y2).number();
    for (std::size_t r = first; r < end; ++r) {
      const double ex = t.at(r, col::x2).number(), ey = t.at(r, col::y2).number();
      const Cell& kind = t.at(r, col::kind);
      if (kind == "cci" &&
          finite_numbers(t, r, {col::cx, col::cy, col::radius, col::start_angle, col::end_angle})) {
        const double from = t.at(r, col::start_angle).number(), to = t.at(r, col::end_angle).number();
        add_round(t.at(r, col::cx).number(), t.at(r, col::cy).number(), t.at(r, col::radius).number(), from,
                  to, sx, sy, ex, ey);
      } else {
        Edge e;
        e.ax = sx, e.ay = sy, e.bx = ex, e.by = ey;
        add_edge(e);
      }
      sx = ex, sy = ey;
    }
  }
  c.end_edge = static_cast<std::uint32_t>(edges_.size());
  if (c.end_edge == c.first_edge) return;
  c.left = edges_[c.first_edge].left(), c.right = edges_[c.first_edge].right();
  c.low = edges_[c.first_edge].low(), c.high = edges_[c.first_edge].high();
  for (std::uint32_t i = c.first_edge; i < c.end_edge; ++i) {
    c.left = std::min(c.left, edges_[i].left()), c.right = std::max(c.right, edges_[i].right());
    c.low = std::min(c.low, edges_[i].low()), c.high = std::max(c.high, edges_[i].high());
  }
  contours_.push_back(c);
}

// An arc from `from` to `to` degrees counter-clockwise (a whole circle when
// they are equal), split where it turns in y: its ends are the chain's
// points (sx, sy) and (ex, ey), whichever lies nearer each.
void Regions::add_round(double cx, double cy, double r, double from, double to, double sx, double sy,
                        double ex, double ey) {
  if (!(r > 0)) return;
  const double sweep = from == to ? 360.0 : normal_degrees(to - from);
  if (!(sweep > 0)) return;
  const double a0 = from * kPi / 180;
  const double fx = cx + r * std::cos(a0), fy = cy + r * std::sin(a0);
  const bool from_is_start = std::hypot(fx - sx, fy - sy) <= std::hypot(fx - ex, fy - ey);
  double px = from_is_start ? sx : ex, py = from_is_start ? sy : ey;
  const double last_x = from_is_start ? ex : sx, last_y = from_is_start ? ey : sy;
  std::array<double, 3> cuts{};
  std::size_t n = 0;
  for (const double turn : {90.0, 270.0}) {
    const double off = normal_degrees(turn - from);
    if (off > 0 && off < sweep) cuts[n++] = off;
  }
  if (n == 2 && cuts[1] < cuts[0]) std::swap(cuts[0], cuts[1]);
  cuts[n++] = sweep;
  double prev = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double off = cuts[i];
    const bool end = off == sweep;
    // A turn in y lies straight above or below the centre.
    const double turn = (from + off) * kPi / 180;
    Edge e;
    e.round = true;
    e.cx = cx, e.cy = cy, e.r = r;
    e.right_half = std::cos((from + (prev + off) / 2) * kPi / 180) > 0;
    e.ax = px, e.ay = py;
    e.bx = end ? last_x : cx;
    e.by = end ? last_y : (std::sin(turn) > 0 ? cy + r : cy - r);
    add_edge(e);
    px = e.bx, py = e.by;
    prev = off;
  }
}

// An arc's extent in x reaches out to its circle on its half.
double Regions::Edge::left() const {
  const double ends = std::min(ax, bx);
  return round && !right_half ? std::min(ends, cx - r) : ends;
}

double Regions::Edge::right() const {
  const double ends = std::max(ax, bx);
  return round && right_half ? std::max(ends, cx + r) : ends;
}

void Regions::add_edge(Edge e) { edges_.push_back(e); }

double Regions::lowest_above(double y) const {
  const auto at = std::upper_bound(lows_.begin(), lows_.end(), y);
  return at == lows_.end() ? HUGE_VAL : *at;
}

void Regions::build_index() {
  lows_.clear();
  for (const Contour& c : contours_) lows_.push_back(c.low);
  std::sort(lows_.begin(), lows_.end());
  const std::optional<Grid> grid = Grid::over(contours_, kPerCell, kCellsPerContour);
  if (!grid) return;
  x0_ = grid->x0, y0_ = grid->y0, h_ = grid->h;
  nx_ = grid->nx, ny_ = grid->ny;
  const auto cells = static_cast<std::size_t>(nx_ * ny_);
  std::vector<std::size_t> count(cells + 1, 0);
  auto each_cell = [this](const Contour& c, auto&& visit) {
    for (std::int64_t y = cell(c.low, y0_, ny_); y <= cell(c.high, y0_, ny_); ++y)
      for (std::int64_t x = cell(c.left, x0_, nx_); x <= cell(c.right, x0_, nx_); ++x)
        visit(static_cast<std::size_t>(y * nx_ + x));
  };
  for (const Contour& c : contours_) each_cell(c, [&count](std::size_t k) { ++count[k + 1]; });
  for (std::size_t k = 0; k < cells; ++k) count[k + 1] += count[k];
  start_ = count;
  items_.resize(start_.back());
  for (std::size_t i = 0; i < contours_.size(); ++i)
    each_cell(contours_[i], [&](std::size_t k) { items_[count[k]++] = static_cast<std::uint32_t>(i); });
  // The rows of cells, for a scan along a row of the picture.
  std::vector<std::size_t> in_band(static_cast<std::size_t>(ny_) + 1, 0);
  for (const Contour& c : contours_)
    for (std::int64_t y = cell(c.low, y0_, ny_); y <= cell(c.high, y0_, ny_); ++y)
      ++in_band[static_cast<std::size_t>(y) + 1];
  for (std::size_t y = 0; y < static_cast<std::size_t>(ny_); ++y) in_band[y + 1] += in_band[y];
  band_start_ = in_band;
  band_items_.resize(band_start_.back());
  for (std::size_t i = 0; i < contours_.size(); ++i)
    for (std::int64_t y = cell(contours_[i].low, y0_, ny_); y <= cell(contours_[i].high, y0_, ny_); ++y)
      band_items_[in_band[static_cast<std::size_t>(y)]++] = static_cast<std::uint32_t>(i);
}

std::int64_t Regions::cell(double v, double origin, std::int64_t n) const {
  const double f = std::floor((v - origin) / h_);
  if (!(f >= 0)) return 0;
  if (f >= static_cast<double>(n - 1)) return n - 1;
  return static_cast<std::int64_t>(f);
}

// Half-open in y: an edge counts when one end lies above the ray and the
// other on or below it, so a ray through a vertex, an arc's end or along an
// edge counts the contour's boundary there once.
bool Regions::crosses_right(const Edge& e, double x, double y) const {
  if ((e.ay > y) == (e.by > y)) return false;
  if (e.right() < x) return false;
  return e.x_at(y) > x;
}

// Where the edge meets the horizontal line at y, which lies within its
// extent in y.
double Regions::Edge::x_at(double y) const {
  if (!round) return ax + (y - ay) * (bx - ax) / (by - ay);
  const double d = y - cy;
  const double half = std::sqrt(std::max(0.0, r * r - d * d));
  return right_half ? cx + half : cx - half;
}

bool Regions::encloses(std::uint32_t contour, double x, double y) const {
  if (contour >= contours_.size()) return false;
  const Contour& c = contours_[contour];
  if (x < c.left || x > c.right || y < c.low || y > c.high) return false;
  bool inside = false;
  for (std::uint32_t i = c.first_edge; i < c.end_edge; ++i)
    if (crosses_right(edges_[i], x, y)) inside = !inside;
  return inside;
}

RegionKey Regions::region_of(double x, double y) const {
  RegionKey key;
  if (start_.empty() || !std::isfinite(x) || !std::isfinite(y)) return key;
  if (x < x0_ || y < y0_ || x > x0_ + static_cast<double>(nx_) * h_ ||
      y > y0_ + static_cast<double>(ny_) * h_)
    return key;
  const auto k = static_cast<std::size_t>(cell(y, y0_, ny_) * nx_ + cell(x, x0_, nx_));
  for (std::size_t i = start_[k]; i < start_[k + 1]; ++i)
    if (encloses(items_[i], x, y)) key.push_back(items_[i]);
  std::sort(key.begin(), key.end());
  return key;
}

void Regions::crossings(double ax, double ay, double bx, double by, std::vector<double>& out) const {
  out.clear();
  if (start_.empty()) return;
  const double dx = bx - ax, dy = by - ay;
  const double lo_x = std::min(ax, bx), hi_x = std::max(ax, bx);
  const double lo_y = std::min(ay, by), hi_y = std::max(ay, by);
  if (!(std::isfinite(lo_x) && std::isfinite(hi_x) && std::isfinite(lo_y) && std::isfinite(hi_y))) return;
  auto keep = [&](double t) {
    if (t > 0 && t < 1) out.push_back(t);
  };
  std::vector<std::uint32_t> nearby;
  for (std::int64_t y = cell(lo_y, y0_, ny_); y <= cell(hi_y, y0_, ny_); ++y)
    for (std::int64_t x = cell(lo_x, x0_, nx_); x <= cell(hi_x, x0_, nx_); ++x) {
      const auto k = static_cast<std::size_t>(y * nx_ + x);
      nearby.insert(nearby.end(), items_.begin() + static_cast<std::ptrdiff_t>(start_[k]),
                    items_.begin() + static_cast<std::ptrdiff_t>(start_[k + 1]));
    }
  std::sort(nearby.begin(), nearby.end());
  nearby.erase(std::unique(nearby.begin(), nearby.end()), nearby.end());
  for (const std::uint32_t ci : nearby) {
    const Contour& c = contours_[ci];
    if (c.right < lo_x || c.left > hi_x || c.high < lo_y || c.low > hi_y) continue;
    for (std::uint32_t i = c.first_edge; i < c.end_edge; ++i) {
      const Edge& e = edges_[i];
      if (e.right() < lo_x || e.left() > hi_x || e.high() < lo_y || e.low() > hi_y) continue;
      if (!e.round) {
        const double ex = e.bx - e.ax, ey = e.by - e.ay;
        const double denom = dx * ey - dy * ex;
        if (denom == 0) continue;  // along the edge: its ends are met by the edges beside it
        const double qx = e.ax - ax, qy = e.ay - ay;
        const double t = (qx * ey - qy * ex) / denom;
        const double u = (qx * dy - qy * dx) / denom;
        if (u >= 0 && u <= 1) keep(t);
        continue;
      }
      const double fx = ax - e.cx, fy = ay - e.cy;
      const double A = dx * dx + dy * dy;
      if (!(A > 0)) continue;
      const double B = 2 * (fx * dx + fy * dy);
      const double C = fx * fx + fy * fy - e.r * e.r;
      double disc = B * B - 4 * A * C;
      if (disc < 0) continue;
      disc = std::sqrt(disc);
      for (const double t : {(-B - disc) / (2 * A), (-B + disc) / (2 * A)}) {
        const double hx = ax + t * dx, hy = ay + t * dy;
        if (hy < e.low() || hy > e.high()) continue;
        if (e.right_half ? hx < e.cx : hx > e.cx) continue;
        keep(t);
      }
    }
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
}

void Regions::row_crossings(double y, std::vector<RowCrossing>& out) const {
  out.clear();
  if (band_start_.empty() || !std::isfinite(y) || y < y0_ || y > y0_ + static_cast<double>(ny_) * h_) return;
  const auto band = static_cast<std::size_t>(cell(y, y0_, ny_));
  for (std::size_t k = band_start_[band]; k < band_start_[band + 1]; ++k) {
    const std::uint32_t ci = band_items_[k];
    const Contour& c = contours_[ci];
    if (y < c.low || y > c.high) continue;
    for (std::uint32_t i = c.first_edge; i < c.end_edge; ++i) {
      const Edge& e = edges_[i];
      if ((e.ay > y) == (e.by > y)) continue;
      out.push_back({e.x_at(y), ci});
    }
  }
}

bool MaterialRegions::is_material(const RegionKey& key) const {
  if (std::binary_search(keys.begin(), keys.end(), key)) return true;
  if (!odd_depth) return false;
  std::size_t depth = key.size();
  if (uncounted != kNoContour && std::binary_search(key.begin(), key.end(), uncounted)) --depth;
  return depth % 2 == 1;
}

void MaterialRegions::add(RegionKey key) {
  const auto at = std::lower_bound(keys.begin(), keys.end(), key);
  if (at == keys.end() || *at != key) keys.insert(at, std::move(key));
}

}  // namespace makenc
