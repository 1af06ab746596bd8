// What one record does to the drawing: in the first read it widens the
// bounding box, in the second it is moved to the box's corner and stored.
#include "import/record_steps.h"

#include <cmath>
#include <limits>

#include "core/constants.h"
#include "core/number_text.h"
#include "core/text.h"

namespace makenc {
namespace {

// Cell& or const Cell&, as the drawing is.
template <typename D>
auto& box_cell(D& d, BoxSide side) {
  switch (side) {
    case BoxSide::X_min: return d.X_min;
    case BoxSide::Y_min: return d.Y_min;
    case BoxSide::X_max: return d.X_max;
    case BoxSide::Y_max: return d.Y_max;
  }
  return d.X_min;
}

void keep_line(SourceLine& to, const LineInRead& from) {
  to.number = from.number;
  to.text.assign(from.text);
}

// The box keeps the winning cell unchanged, text or number, so a coordinate
// read from the file stays the text the host wrote. A cell wins only when
// its value is strictly beyond the box's (val_min, val_max); the box's
// values are kept beside it so that each coordinate is read once a record.
void widen(Reader& rd, Drawing& d, BoxSide side, const Cell& v, double value) {
  const auto s = static_cast<std::size_t>(side);
  const bool is_min = side == BoxSide::X_min || side == BoxSide::Y_min;
  if (!(is_min ? value < rd.box_value[s] : value > rd.box_value[s])) return;
  box_cell(d, side) = v;
  rd.box_value[s] = value;
  keep_line(rd.box_from[s], rd.current);
}

void widen(Reader& rd, Drawing& d, BoxSide side, double value) { widen(rd, d, side, Cell(value), value); }

void start_box(Reader& rd, Drawing& d, const Cell& x, double x_value, const Cell& y, double y_value) {
  d.X_min = d.X_max = x;
  d.Y_min = d.Y_max = y;
  rd.box_value = {x_value, y_value, x_value, y_value};
  for (SourceLine& from : rd.box_from) keep_line(from, rd.current);
  rd.box_started = true;
}

void box_of_line(Reader& rd, Drawing& d) {
  const std::vector<Cell>& f = rd.Rec_fld;
  const double x1 = rd.Fld_val[1], y1 = rd.Fld_val[2], x2 = rd.Fld_val[3], y2 = rd.Fld_val[4];
  widen(rd, d, BoxSide::X_min, f[1], x1);
  widen(rd, d, BoxSide::X_min, f[3], x2);
  widen(rd, d, BoxSide::Y_min, f[2], y1);
  widen(rd, d, BoxSide::Y_min, f[4], y2);
  widen(rd, d, BoxSide::X_max, f[1], x1);
  widen(rd, d, BoxSide::X_max, f[3], x2);
  widen(rd, d, BoxSide::Y_max, f[2], y1);
  widen(rd, d, BoxSide::Y_max, f[4], y2);
}

void box_of_circle(Reader& rd, Drawing& d) {
  const double x = rd.Fld_val[1];
  const double y = rd.Fld_val[2];
  const double r = rd.Fld_val[3];
  widen(rd, d, BoxSide::X_min, x - r);
  widen(rd, d, BoxSide::Y_min, y - r);
  widen(rd, d, BoxSide::X_max, x + r);
  widen(rd, d, BoxSide::Y_max, y + r);
}

// The extreme points of the circle in the directions 0, 90, 180 and 270
// degrees that the arc passes strictly between its end angles. Four
// consecutive multiples of 90 cover every direction, so a longer sweep adds
// nothing more.
void box_of_arc_quadrants(Reader& rd, Drawing& d, double a, double b) {
  if (!std::isfinite(a) || !std::isfinite(b)) return;
  const double x = rd.Fld_val[1];
  const double y = rd.Fld_val[2];
  const double r = rd.Fld_val[3];
  double c = std::floor(a / 90) * 90 + 90;
  for (int i = 0; i < 4 && c < b; ++i, c += 90) {
    double dir = std::fmod(c, 360.0);
    if (dir < 0) dir += 360;
    if (dir == 0) widen(rd, d, BoxSide::X_max, x + r);
    if (dir == 90) widen(rd, d, BoxSide::Y_max, y + r);
    if (dir == 180) widen(rd, d, BoxSide::X_min, x - r);
    if (dir == 270) widen(rd, d, BoxSide::Y_min, y - r);
  }
}

// The start and end angles as the box sees them: an end below the start is
// taken one turn on, and then a start still beyond it one turn on too.
void box_of_arc(Reader& rd, Drawing& d) {
  const std::array<double, 21>& v = rd.Fld_val;
  const double end = v[4] > v[5] ? v[5] + 360 : v[5];
  const double start = v[4] > end ? v[4] + 360 : v[4];
  const double tilt = v[7];
  const double a = start + tilt;
  const double b = end + tilt;
  const double x = v[1];
  const double y = v[2];
  const double r = v[3];
  const double P_x1 = x + r * std::cos(a * kPi / 180);
  const double P_y1 = y + r * std::sin(a * kPi / 180);
  const double P_x2 = x + r * std::cos(b * kPi / 180);
  const double P_y2 = y + r * std::sin(b * kPi / 180);
  // An arc's centre need not lie within its extent, so an arc that starts
  // the box starts it at its start point.
  if (!rd.box_started) start_box(rd, d, Cell(P_x1), P_x1, Cell(P_y1), P_y1);
  box_of_arc_quadrants(rd, d, a, b);
  widen(rd, d, BoxSide::X_min, P_x1);
  widen(rd, d, BoxSide::X_min, P_x2);
  widen(rd, d, BoxSide::Y_min, P_y1);
  widen(rd, d, BoxSide::Y_min, P_y2);
  widen(rd, d, BoxSide::X_max, P_x1);
  widen(rd, d, BoxSide::X_max, P_x2);
  widen(rd, d, BoxSide::Y_max, P_y1);
  widen(rd, d, BoxSide::Y_max, P_y2);
}

bool is_zero_text(const Cell& c) { return c == "0"; }

// Moves fields first..last (odd ones X, even ones Y) by the shift of their
// axis; the results replace the texts. False when a moved coordinate is
// beyond the range of a double: a centre can lie far outside the box.
bool translate(Reader& rd, std::size_t first, std::size_t last) {
  bool finite = true;
  for (std::size_t i = first; i <= last; ++i) {
    const double moved = rd.Fld_val[i] + (i % 2 == 1 ? rd.x_shift : rd.y_shift);
    rd.Rec_fld[i] = Cell(moved);
    finite = finite && std::isfinite(moved);
  }
  return finite;
}

Error too_far_from_corner(const Reader& rd) {
  return Error{line_reference(rd.current) +
               ": the record lies too far from the drawing's lower-left corner to compute with"};
}

// The first read has checked that the radius is a number.
void mark_circle_outline(Reader& rd) {
  const double x = rd.Rec_fld[1].number(), y = rd.Rec_fld[2].number(), r = rd.Fld_val[3];
  if (is_zero_text(Cell(x - r)) || is_zero_text(Cell(y - r))) rd.on_edge = true;
}

Status move_record(Reader& rd) {
  std::vector<Cell>& f = rd.Rec_fld;
  switch (record_kind(f)) {
    case RecordKind::Line:
      f[0] = Cell("li");
      if (!translate(rd, 1, 4)) return too_far_from_corner(rd);
      for (std::size_t i = 1; i <= 4; ++i)
        if (is_zero_text(f[i])) rd.on_edge = true;
      return ok_status();
    case RecordKind::Arc:
    case RecordKind::Circle:
      if (record_kind(f) == RecordKind::Arc) f[0] = Cell("cci");
      if (!translate(rd, 1, 2)) return too_far_from_corner(rd);
      mark_circle_outline(rd);
      return ok_status();
    case RecordKind::Point:
      if (!translate(rd, 1, 2)) return too_far_from_corner(rd);
      if (is_zero_text(f[1]) || is_zero_text(f[2])) rd.on_edge = true;
      return ok_status();
    case RecordKind::Blank:
    case RecordKind::Other: return ok_status();
  }
  return ok_status();
}

// Columns 13 to 20 belong to the system (contour, position, outline mark and
// the later stages' markers), so a record's fields stop at column 12.
constexpr std::size_t kLastFieldColumn = col::length;

constexpr const char* kEdgeNames[] = {"left edge", "bottom edge", "right edge", "top edge"};

std::string edge_reference(const Reader& rd, BoxSide side) {
  const auto s = static_cast<std::size_t>(side);
  return line_reference(rd.box_from[s]) + ": the drawing's " + kEdgeNames[s];
}

Error too_far_out(const Reader& rd, BoxSide side) {
  return Error{edge_reference(rd, side) + " taken from this record lies too far out to compute with"};
}

// The translation, the preview's fit and the program's size line all compute
// with the box's edges, so each must be a number a double holds.
Status check_edge(const Reader& rd, const Drawing& d, BoxSide side) {
  try {
    if (std::isfinite(box_cell(d, side).strict_number())) return ok_status();
  } catch (const CellArithmeticError& e) {
    return Error{edge_reference(rd, side) + " \"" + cp932_to_utf8(e.text()) +
                 "\" taken from this record is not a number"};
  }
  return too_far_out(rd, side);
}

double shift_of(const Cell& box) { return numeric_value((Cell(-1.0) * box).text_form()); }

}  // namespace

void bounding_box_step(Reader& rd, Drawing& d) {
  const RecordKind kind = record_kind(rd.Rec_fld);
  if (kind == RecordKind::Blank || kind == RecordKind::Other) return;
  if (!rd.box_started && kind != RecordKind::Arc)
    start_box(rd, d, rd.Rec_fld[1], rd.Fld_val[1], rd.Rec_fld[2], rd.Fld_val[2]);
  switch (kind) {
    case RecordKind::Line: box_of_line(rd, d); break;
    case RecordKind::Circle: box_of_circle(rd, d); break;
    case RecordKind::Arc: box_of_arc(rd, d); break;
    case RecordKind::Point: {
      const double x = rd.Fld_val[1], y = rd.Fld_val[2];
      widen(rd, d, BoxSide::X_min, rd.Rec_fld[1], x);
      widen(rd, d, BoxSide::X_max, rd.Rec_fld[1], x);
      widen(rd, d, BoxSide::Y_min, rd.Rec_fld[2], y);
      widen(rd, d, BoxSide::Y_max, rd.Rec_fld[2], y);
      break;
    }
    default: break;
  }
}

Status translation_from_box(Reader& rd, const Drawing& d) {
  if (!rd.box_started) return ok_status();
  for (BoxSide side : {BoxSide::X_min, BoxSide::Y_min, BoxSide::X_max, BoxSide::Y_max}) {
    Status edge = check_edge(rd, d, side);
    if (!edge) return edge;
  }
  // The width and the height must be numbers too, and numbers the NC
  // program can write: it holds coordinates in single precision. The edge
  // farther from the origin is the one to blame.
  const std::array<double, 4>& v = rd.box_value;
  constexpr double kSingleMax = std::numeric_limits<float>::max();
  if (!(v[2] - v[0] <= kSingleMax))
    return too_far_out(rd, std::fabs(v[0]) > std::fabs(v[2]) ? BoxSide::X_min : BoxSide::X_max);
  if (!(v[3] - v[1] <= kSingleMax))
    return too_far_out(rd, std::fabs(v[1]) > std::fabs(v[3]) ? BoxSide::Y_min : BoxSide::Y_max);
  rd.x_shift = shift_of(d.X_min);
  rd.y_shift = shift_of(d.Y_min);
  return ok_status();
}

Status storing_step(Reader& rd, Drawing& d) {
  Status moved = move_record(rd);
  if (!moved) return moved;
  const int k = layer_number(rd.Now_ly);
  if (record_kind(rd.Rec_fld) != RecordKind::Blank && k >= 0) {
    Table& T = d.layer(k);
    const std::size_t r = static_cast<std::size_t>(d.LY_cnt[static_cast<std::size_t>(k)]);
    for (std::size_t i = 0; i < rd.Rec_fld.size() && i <= kLastFieldColumn; ++i) T.at(r, i) = rd.Rec_fld[i];
    T.at(r, col::colour) = rd.Now_lc;
    if (rd.on_edge) T.at(r, col::outline) = Cell("G");
  }
  rd.on_edge = false;
  return ok_status();
}

}  // namespace makenc
