#include "geometry/drawing_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/constants.h"

namespace makenc {
namespace {

// A ray to +x that meets no end point or tangent of a drawing on a grid:
// its height is offset by an amount no drawing coordinate shares.
constexpr double kRayOffset = 1.2345678901e-7;
constexpr double kTurn = 2 * kPi;
constexpr std::size_t kMostCells = 1 << 20;

double radians(double degrees) { return degrees * kPi / 180; }

double cross(Xy a, Xy b) { return a.x * b.y - a.y * b.x; }
double dot(Xy a, Xy b) { return a.x * b.x + a.y * b.y; }
Xy minus(Xy a, Xy b) { return {a.x - b.x, a.y - b.y}; }

bool within_sweep(double angle, double start, double sweep) {
  double d = std::fmod(angle - start, kTurn);
  if (d < 0) d += kTurn;
  return d <= sweep;
}

Xy on_circle(Xy centre, double r, double angle) {
  return {centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)};
}

void set_box(Piece& p) {
  p.min_x = std::min(p.a.x, p.b.x);
  p.max_x = std::max(p.a.x, p.b.x);
  p.min_y = std::min(p.a.y, p.b.y);
  p.max_y = std::max(p.a.y, p.b.y);
  if (p.kind == Piece::Kind::circle || p.kind == Piece::Kind::arc) {
    const Xy s = on_circle(p.centre, p.r, p.start), e = on_circle(p.centre, p.r, p.start + p.sweep);
    p.min_x = std::min(s.x, e.x);
    p.max_x = std::max(s.x, e.x);
    p.min_y = std::min(s.y, e.y);
    p.max_y = std::max(s.y, e.y);
    // The circle's points due east, north, west and south, where the arc
    // passes them.
    static constexpr Xy kQuarters[] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (int quarter = 0; quarter < 4; ++quarter) {
      const double angle = quarter * kPi / 2;
      if (p.kind == Piece::Kind::arc && !within_sweep(angle, p.start, p.sweep)) continue;
      const Xy q{p.centre.x + p.r * kQuarters[quarter].x, p.centre.y + p.r * kQuarters[quarter].y};
      p.min_x = std::min(p.min_x, q.x);
      p.max_x = std::max(p.max_x, q.x);
      p.min_y = std::min(p.min_y, q.y);
      p.max_y = std::max(p.max_y, q.y);
    }
  }
}

// Whether two contour numbers are the same number as the layer table shows
// them; two whole numbers or two texts are compared as they are.
bool same_contour(const Cell& a, const Cell& b) {
  if (a.tag() == b.tag() && (a.tag() == Cell::Tag::Integer || a.tag() == Cell::Tag::Text))
    return compare(a, b) == 0;
  return a.text_form() == b.text_form();
}

// How far a point lies from a piece, where only a tolerance is asked of
// the answer: a square root of the squares, without hypot's care for
// numbers whose squares leave the range of doubles.
double near_distance(Xy a, Xy b) { return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y)); }

double segment_distance(Xy p, Xy a, Xy b) {
  const Xy d = minus(b, a);
  const double len2 = dot(d, d);
  double t = len2 > 0 ? dot(minus(p, a), d) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return near_distance(p, {a.x + t * d.x, a.y + t * d.y});
}

}  // namespace

double distance(Xy a, Xy b) { return std::hypot(a.x - b.x, a.y - b.y); }

double Piece::length() const {
  switch (kind) {
    case Kind::line: return distance(a, b);
    case Kind::arc:
    case Kind::circle: return r * sweep;
    case Kind::point: return 0;
  }
  return 0;
}

Xy Piece::at(double t) const {
  if (kind == Kind::line) return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
  if (kind == Kind::point) return a;
  return on_circle(centre, r, start + t * sweep);
}

double Piece::distance_to(Xy p) const {
  switch (kind) {
    case Kind::line: return segment_distance(p, a, b);
    case Kind::point: return near_distance(p, a);
    case Kind::circle: return std::fabs(near_distance(p, centre) - r);
    case Kind::arc:
      if (within_sweep(std::atan2(p.y - centre.y, p.x - centre.x), start, sweep))
        return std::fabs(near_distance(p, centre) - r);
      return std::min(near_distance(p, on_circle(centre, r, start)),
                      near_distance(p, on_circle(centre, r, start + sweep)));
  }
  return 0;
}

DrawingGeometry::DrawingGeometry(const Drawing& drawing, const LayerTicks& ticked, double closure_tolerance) {
  // A piece a row, and room for a bridge a contour (at most one a row):
  // room taken and never used costs no memory the system backs.
  std::size_t rows = 0;
  for (int layer = 0; layer < kLayerCount; ++layer)
    if (ticked[static_cast<std::size_t>(layer)] && drawing.has_layer(layer))
      rows += drawing.layer(layer).rows();
  pieces_.reserve(2 * rows);
  contours_.reserve(rows);
  for (int layer = 0; layer < kLayerCount; ++layer) {
    if (!ticked[static_cast<std::size_t>(layer)] || !drawing.has_layer(layer)) continue;
    const Table& t = drawing.layer(layer);
    const std::size_t end = t.rows() == 0 ? 0 : t.last_row();  // the spare row left out
    std::size_t first = 0;
    while (first < end) {
      const Cell& id = t.at(first, col::contour);
      std::size_t next = first + 1;
      while (next < end && same_contour(t.at(next, col::contour), id)) ++next;
      if (!id.is_blank()) add_contour(drawing, layer, first, next, closure_tolerance, id.text_form());
      first = next;
    }
  }
  find_outline();
  build_index();
  build_bands();
}

void DrawingGeometry::add_contour(const Drawing& drawing, int layer, std::size_t first, std::size_t end,
                                  double tolerance, const std::string& id) {
  const Table& t = drawing.layer(layer);
  Contour c;
  c.layer = layer;
  c.id = id;
  c.cutting = t.at(first, col::colour) == "2";
  const std::size_t index = contours_.size();
  std::vector<Piece>& chain = chain_;
  chain.clear();
  for (std::size_t row = first; row < end; ++row) {
    auto num = [&](int column) { return t.at(row, static_cast<std::size_t>(column)).number(); };
    const Cell& kind = t.at(row, col::kind);
    Piece p;
    p.contour = static_cast<std::uint32_t>(index);
    if (kind == "pt") {
      p.kind = Piece::Kind::point;
      p.a = p.b = {num(col::x1), num(col::y1)};
    } else if (kind == "li" || kind == "ci" || kind == "cci") {
      // Chaining leaves what has no length out of every contour; a row of
      // no length here is nothing to cut either.
      if (!(num(col::length) > 0)) continue;
      if (kind == "li") {
        p.kind = Piece::Kind::line;
      } else {
        p.centre = {num(col::cx), num(col::cy)};
        p.r = num(col::radius);
        p.kind = kind == "ci" ? Piece::Kind::circle : Piece::Kind::arc;
        p.sweep = kTurn;
        if (kind == "cci") {
          p.start = radians(num(col::start_angle));
          double sweep = std::fmod(num(col::end_angle) - num(col::start_angle), 360.0);
          if (sweep <= 0) sweep += 360;
          p.sweep = radians(sweep);
        }
      }
      if (kind == "ci") {
        p.a = p.b = on_circle(p.centre, p.r, 0);
      } else {
        p.a = {num(col::x1), num(col::y1)};
        p.b = {num(col::x2), num(col::y2)};
      }
    } else {
      continue;
    }
    set_box(p);
    chain.push_back(p);
  }
  if (chain.empty()) return;
  c.point = chain.front().kind == Piece::Kind::point;
  c.closed = chain.front().kind == Piece::Kind::circle ||
             (!c.point && distance(chain.back().b, chain.front().a) <= tolerance);
  const std::size_t n = chain.size(), first_piece = pieces_.size();
  for (std::size_t i = 0; i < n; ++i) {
    c.length += chain[i].length();
    pieces_.push_back(chain[i]);
    const Piece& next = chain[(i + 1) % n];
    if (!c.closed || chain[i].kind == Piece::Kind::circle) continue;
    if (distance(chain[i].b, next.a) == 0) continue;
    Piece bridge;
    bridge.kind = Piece::Kind::line;
    bridge.a = chain[i].b;
    bridge.b = next.a;
    bridge.bridge = true;
    bridge.contour = static_cast<std::uint32_t>(index);
    set_box(bridge);
    pieces_.push_back(bridge);
  }
  c.pieces = PieceRange(first_piece, pieces_.size());
  c.min_x = c.min_y = std::numeric_limits<double>::max();
  c.max_x = c.max_y = std::numeric_limits<double>::lowest();
  for (std::size_t k : c.pieces) {
    const Piece& p = pieces_[k];
    c.min_x = std::min(c.min_x, p.min_x);
    c.min_y = std::min(c.min_y, p.min_y);
    c.max_x = std::max(c.max_x, p.max_x);
    c.max_y = std::max(c.max_y, p.max_y);
  }
  contours_.push_back(std::move(c));
}

// The closed cutting contour whose box is the drawing's own.
void DrawingGeometry::find_outline() {
  outline_ = contours_.size();
  if (contours_.empty()) return;
  double min_x = contours_[0].min_x, min_y = contours_[0].min_y;
  double max_x = contours_[0].max_x, max_y = contours_[0].max_y;
  for (const Contour& c : contours_) {
    min_x = std::min(min_x, c.min_x);
    min_y = std::min(min_y, c.min_y);
    max_x = std::max(max_x, c.max_x);
    max_y = std::max(max_y, c.max_y);
  }
  const double tol = 1e-6 * std::max({1.0, max_x - min_x, max_y - min_y});
  for (std::size_t k = 0; k < contours_.size(); ++k) {
    const Contour& c = contours_[k];
    if (!c.closed || !c.cutting) continue;
    if (std::fabs(c.min_x - min_x) > tol || std::fabs(c.min_y - min_y) > tol ||
        std::fabs(c.max_x - max_x) > tol || std::fabs(c.max_y - max_y) > tol)
      continue;
    if (outline_ == contours_.size() || c.length > contours_[outline_].length) outline_ = k;
  }
  if (outline_ < contours_.size()) contours_[outline_].outline = true;
}

namespace {

// The whole part of q within 0 .. count - 1 (0 for NaN): below 1 it is 0,
// and from there on the cast cuts off what floor would.
std::size_t cell_index(double q, std::size_t count) {
  if (!(q >= 1)) return 0;
  if (!(q < static_cast<double>(count - 1))) return count - 1;
  return static_cast<std::size_t>(q);
}

// Fills the cells in two passes over the items, each cell's in the items'
// order: how many each cell holds, then the items themselves.
template <typename Cells>
void fill_cells(std::size_t items, std::size_t cells, std::vector<std::size_t>& start,
                std::vector<std::size_t>& flat, Cells&& cells_of) {
  start.assign(cells + 1, 0);
  for (std::size_t k = 0; k < items; ++k) cells_of(k, [&](std::size_t cell) { ++start[cell + 1]; });
  for (std::size_t c = 0; c < cells; ++c) start[c + 1] += start[c];
  flat.resize(start[cells]);
  std::vector<std::size_t> next(start.begin(), start.end() - 1);
  for (std::size_t k = 0; k < items; ++k) cells_of(k, [&](std::size_t cell) { flat[next[cell]++] = k; });
}

}  // namespace

void DrawingGeometry::build_index() {
  cell_start_.clear();
  cell_pieces_.clear();
  contour_start_.clear();
  cell_contours_.clear();
  if (pieces_.empty()) return;
  double min_x = pieces_[0].min_x, min_y = pieces_[0].min_y, max_x = pieces_[0].max_x,
         max_y = pieces_[0].max_y;
  for (const Piece& p : pieces_) {
    min_x = std::min(min_x, p.min_x);
    min_y = std::min(min_y, p.min_y);
    max_x = std::max(max_x, p.max_x);
    max_y = std::max(max_y, p.max_y);
  }
  box_ = {min_x, min_y, max_x, max_y};
  const double w = std::max(max_x - min_x, 1e-9), h = std::max(max_y - min_y, 1e-9);
  cell_ = std::max(std::sqrt(w * h / static_cast<double>(pieces_.size())), std::max(w, h) / 1024);
  x0_ = min_x;
  y0_ = min_y;
  columns_ = static_cast<std::size_t>(w / cell_) + 1;
  rows_ = static_cast<std::size_t>(h / cell_) + 1;
  while (columns_ * rows_ > kMostCells) {
    cell_ *= 2;
    columns_ = static_cast<std::size_t>(w / cell_) + 1;
    rows_ = static_cast<std::size_t>(h / cell_) + 1;
  }
  // A piece lies in the cells visit takes it to start in.
  fill_cells(pieces_.size(), columns_ * rows_, cell_start_, cell_pieces_, [&](std::size_t k, auto&& put) {
    const Piece& p = pieces_[k];
    const std::size_t r1 = row_of(p.max_y), c0 = column_of(p.min_x), c1 = column_of(p.max_x);
    for (std::size_t r = row_of(p.min_y); r <= r1; ++r)
      for (std::size_t c = c0; c <= c1; ++c) put(r * columns_ + c);
  });
  build_contour_index();
}

std::size_t DrawingGeometry::column_of(double x) const { return cell_index((x - x0_) / cell_, columns_); }

std::size_t DrawingGeometry::row_of(double y) const { return cell_index((y - y0_) / cell_, rows_); }

void DrawingGeometry::build_contour_index() {
  const std::size_t cells = columns_ * rows_;
  wide_contours_.clear();
  for (std::size_t k = 0; k < contours_.size(); ++k) {
    const Contour& c = contours_[k];
    if (!c.cutting || !c.closed) continue;
    const std::size_t c0 = column_of(c.min_x), c1 = column_of(c.max_x);
    const std::size_t r0 = row_of(c.min_y), r1 = row_of(c.max_y);
    if ((c1 - c0 + 1) * (r1 - r0 + 1) > cells / 16) wide_contours_.push_back(k);
  }
  fill_cells(contours_.size(), cells, contour_start_, cell_contours_, [&](std::size_t k, auto&& put) {
    const Contour& c = contours_[k];
    if (!c.cutting || !c.closed) return;
    const std::size_t c0 = column_of(c.min_x), c1 = column_of(c.max_x);
    const std::size_t r0 = row_of(c.min_y), r1 = row_of(c.max_y);
    if ((c1 - c0 + 1) * (r1 - r0 + 1) > cells / 16) return;
    for (std::size_t r = r0; r <= r1; ++r)
      for (std::size_t col = c0; col <= c1; ++col) put(r * columns_ + col);
  });
}

bool DrawingGeometry::counts(const Contour& c) const {
  return c.cutting && c.closed && !(c.outline && !outline_counted_);
}

int DrawingGeometry::crossings_right(const Piece& piece, Xy p) const {
  if (piece.kind == Piece::Kind::line) {
    if ((piece.a.y > p.y) == (piece.b.y > p.y)) return 0;
    return piece.a.x + (p.y - piece.a.y) * (piece.b.x - piece.a.x) / (piece.b.y - piece.a.y) > p.x ? 1 : 0;
  }
  if (piece.kind == Piece::Kind::point) return 0;
  const double dy = p.y - piece.centre.y;
  if (std::fabs(dy) >= piece.r) return 0;
  const double half = std::sqrt(piece.r * piece.r - dy * dy);
  int n = 0;
  for (double x : {piece.centre.x - half, piece.centre.x + half}) {
    if (x <= p.x) continue;
    if (piece.kind == Piece::Kind::circle ||
        within_sweep(std::atan2(dy, x - piece.centre.x), piece.start, piece.sweep))
      ++n;
  }
  return n;
}

// The counted contours around the point, each asked on its own: only those
// whose boxes hold the point can enclose it.
bool DrawingGeometry::is_material(Xy p) const {
  bool material = false;
  visit_closed_cutting(p, [&](std::size_t k) {
    if (counts(contours_[k]) && encloses(k, p)) material = !material;
  });
  return material;
}

// A ray meets only pieces whose heights span its own: each contour's height
// is cut into bands, each with the pieces that reach into it; a curved
// piece's reach is widened by far more than its box can be off.
void DrawingGeometry::build_bands() {
  bands_.clear();
  bands_of_.assign(contours_.size(), kNoBands);
  for (std::size_t k = 0; k < contours_.size(); ++k) {
    const Contour& c = contours_[k];
    if (c.pieces.size() < 8 || !(c.max_y > c.min_y)) continue;
    bands_of_[k] = static_cast<std::uint32_t>(bands_.size());
    Bands& b = bands_.emplace_back();
    b.count = c.pieces.size() / 2;
    b.low = c.min_y;
    b.height = (c.max_y - c.min_y) / static_cast<double>(b.count);
    if (!(b.height > 0)) {
      b.count = 0;
      continue;
    }
    auto reach = [&](std::size_t piece, auto&& put) {
      const Piece& p = pieces_[piece];
      const double widen =
          p.kind == Piece::Kind::line ? 0 : 1e-6 * std::max(1.0, p.r + std::fabs(p.centre.y));
      const std::size_t last = b.band_of(p.max_y + widen);
      for (std::size_t band = b.band_of(p.min_y - widen); band <= last; ++band) put(band);
    };
    b.start.assign(b.count + 1, 0);
    for (std::size_t piece : c.pieces) reach(piece, [&](std::size_t band) { ++b.start[band + 1]; });
    for (std::size_t band = 0; band < b.count; ++band) b.start[band + 1] += b.start[band];
    b.pieces.resize(b.start[b.count]);
    std::vector<std::size_t> next(b.start.begin(), b.start.end() - 1);
    for (std::size_t piece : c.pieces)
      reach(piece, [&](std::size_t band) { b.pieces[next[band]++] = piece; });
  }
}

std::size_t DrawingGeometry::Bands::band_of(double y) const { return cell_index((y - low) / height, count); }

bool DrawingGeometry::encloses(std::size_t contour, Xy p) const {
  const Xy ray{p.x, p.y + kRayOffset};
  int n = 0;
  const std::uint32_t bands = bands_of_[contour];
  if (bands == kNoBands || bands_[bands].count == 0) {
    for (std::size_t k : contours_[contour].pieces) n += crossings_right(pieces_[k], ray);
  } else {
    const Bands& b = bands_[bands];
    const std::size_t band = b.band_of(ray.y);
    for (std::size_t i = b.start[band]; i < b.start[band + 1]; ++i)
      n += crossings_right(pieces_[b.pieces[i]], ray);
  }
  return n % 2 == 1;
}

bool segment_meets(Xy p, Xy q, double t0, double t1, const Piece& piece) {
  const Xy d = minus(q, p);
  if (piece.kind == Piece::Kind::point) return false;
  if (piece.kind == Piece::Kind::line) {
    const Xy e = minus(piece.b, piece.a);
    const double den = cross(d, e);
    const Xy ap = minus(piece.a, p);
    if (std::fabs(den) <= 1e-12 * std::sqrt(dot(d, d) * dot(e, e))) {
      // Parallel: they meet only along a common line.
      if (std::fabs(cross(ap, d)) > 1e-9 * std::sqrt(dot(d, d))) return false;
      const double dd = dot(d, d);
      if (dd == 0) return false;
      const double ta = dot(ap, d) / dd, tb = dot(minus(piece.b, p), d) / dd;
      return std::max(std::min(ta, tb), t0) <= std::min(std::max(ta, tb), t1);
    }
    const double t = cross(ap, e) / den, u = cross(ap, d) / den;
    return t >= t0 && t <= t1 && u >= 0 && u <= 1;
  }
  const Xy f = minus(p, piece.centre);
  const double a = dot(d, d), b = 2 * dot(f, d), c = dot(f, f) - piece.r * piece.r;
  const double disc = b * b - 4 * a * c;
  if (a == 0 || disc < 0) return false;
  const double root = std::sqrt(disc);
  for (double t : {(-b - root) / (2 * a), (-b + root) / (2 * a)}) {
    if (t < t0 || t > t1) continue;
    if (piece.kind == Piece::Kind::circle) return true;
    if (within_sweep(std::atan2(f.y + t * d.y, f.x + t * d.x), piece.start, piece.sweep)) return true;
  }
  return false;
}

namespace {

bool round(const Piece& p) { return p.kind == Piece::Kind::arc || p.kind == Piece::Kind::circle; }

// A line and a round piece's circle: apart when the line keeps outside the
// circle's band of the gap's width on each side, or inside it.
bool line_apart_from_circle(const Piece& line, const Piece& round_piece, double gap) {
  const Xy o = round_piece.centre;
  const double nearest = segment_distance(o, line.a, line.b);
  const double farthest = std::max(distance(o, line.a), distance(o, line.b));
  return nearest > round_piece.r + gap || farthest < round_piece.r - gap;
}

}  // namespace

bool pieces_apart(const Piece& a, const Piece& b, double gap) {
  if (a.kind == Piece::Kind::point || b.kind == Piece::Kind::point) return false;
  if (!round(a) && !round(b)) {
    if (segment_meets(a.a, a.b, 0, 1, b)) return false;
    return std::min({segment_distance(a.a, b.a, b.b), segment_distance(a.b, b.a, b.b),
                     segment_distance(b.a, a.a, a.b), segment_distance(b.b, a.a, a.b)}) > gap;
  }
  if (!round(a)) return line_apart_from_circle(a, b, gap);
  if (!round(b)) return line_apart_from_circle(b, a, gap);
  const double d = distance(a.centre, b.centre);
  return d > a.r + b.r + gap || d + std::min(a.r, b.r) < std::max(a.r, b.r) - gap;
}

}  // namespace makenc
