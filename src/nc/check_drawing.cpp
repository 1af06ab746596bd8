// The check drawing: approaches and rapid moves as records for the host.
#include "nc/check_drawing.h"

#include <cmath>
#include <initializer_list>
#include <string_view>

#include "core/constants.h"
#include "core/number_text.h"
#include "core/text.h"

namespace makenc {

namespace {

// The host reads the drawing's own precision back: doubles, not the grid.
constexpr int kDrawingDigits = 15;

// The pen lines of a record and the record itself, each line with its CR LF.
void put_line_record(std::string& bytes, std::initializer_list<std::string_view> pen, double x1, double y1,
                     double x2, double y2) {
  for (const std::string_view line : pen) {
    bytes += line;
    bytes += "\r\n";
  }
  for (double v : {x1, y1, x2, y2}) {
    bytes += ' ';
    bytes += plain_decimal_text(v, kDrawingDigits);
  }
  bytes += "\r\n";
}

// A move as the host draws it, shifted back to drawing coordinates: a line,
// or an arc counter-clockwise from its start angle to its end angle (a
// clockwise move runs from its end), or a whole circle.
void put_piece_record(std::string& bytes, const PathPiece& p, double x0, double y0) {
  if (p.word == ArcWord::none) {
    put_line_record(bytes, {"lt1", "lyA", "lc5"}, p.from.x + x0, p.from.y + y0, p.to.x + x0, p.to.y + y0);
    return;
  }
  for (const char* line : {"lt1", "lyA", "lc5"}) {
    bytes += line;
    bytes += "\r\n";
  }
  const double r = std::hypot(p.from.x - p.centre.x, p.from.y - p.centre.y);
  bytes += "ci";
  for (double v : {p.centre.x + x0, p.centre.y + y0, r}) {
    bytes += ' ';
    bytes += plain_decimal_text(v, kDrawingDigits);
  }
  if (p.from.x != p.to.x || p.from.y != p.to.y) {
    // To a billionth of a degree: a quarter turn is written 90, not the
    // last digits of its arc tangent.
    auto degrees = [&](Point q) {
      return std::round(std::atan2(q.y - p.centre.y, q.x - p.centre.x) * 180 / kPi * 1e9) / 1e9;
    };
    const bool ccw = p.word == ArcWord::G03;
    double start = degrees(ccw ? p.from : p.to), end = degrees(ccw ? p.to : p.from);
    if (end <= start) end += 360;
    for (double v : {start, end, 1.0, 0.0}) {
      bytes += ' ';
      bytes += plain_decimal_text(v, kDrawingDigits);
    }
  }
  bytes += "\r\n";
}

}  // namespace

void draw_shown_cuts(Preview& preview, std::span<const ShownCut> shown) {
  const PreviewFit& f = preview.fit;
  Surface& s = preview.surface;
  s.draw_style = DrawStyle::Solid;
  s.fill_style = FillStyle::Transparent;
  auto x = [&](double v) { return to_screen_len(f, v) + f.Scr_x0; };
  auto y = [&](double v) { return f.Scr_y0 - to_screen_len(f, v); };
  auto angle = [](Point c, Point q) {
    const double a = std::atan2(q.y - c.y, q.x - c.x);
    return a < 0 ? a + 2 * kPi : a;
  };
  for (const ShownCut& cut : shown) {
    for (const auto* pieces : {&cut.lead_in, &cut.overcut}) {
      for (const PathPiece& p : *pieces) {
        if (p.word == ArcWord::none) {
          s.line(x(p.from.x), y(p.from.y), x(p.to.x), y(p.to.y), kBlack);
          continue;
        }
        const double r = to_screen_len(f, std::hypot(p.from.x - p.centre.x, p.from.y - p.centre.y));
        if (p.from.x == p.to.x && p.from.y == p.to.y) {
          s.circle(x(p.centre.x), y(p.centre.y), r, kBlack);
          continue;
        }
        const bool ccw = p.word == ArcWord::G03;
        s.arc(x(p.centre.x), y(p.centre.y), r, angle(p.centre, ccw ? p.from : p.to),
              angle(p.centre, ccw ? p.to : p.from), kBlack);
      }
    }
  }
}

void put_check_drawing(std::string& bytes, const Drawing& drawing, const Table& Ord_dat,
                       std::span<const ShownCut> shown) {
  const double x0 = drawing.X_min.number();
  const double y0 = drawing.Y_min.number();
  double px = x0, py = y0;
  const std::size_t n = Ord_dat.rows() == 0 ? 0 : Ord_dat.last_row();
  for (std::size_t r = 0; r < n; ++r) {
    const double ax = Ord_dat.at(r, 3).number() + x0, ay = Ord_dat.at(r, 4).number() + y0;
    const double cx = Ord_dat.at(r, 5).number() + x0, cy = Ord_dat.at(r, 6).number() + y0;
    // Marked contours and open chains are entered where they begin: they
    // have no approach of their own to show.
    while (!shown.empty() && shown.front().row < r) shown = shown.subspan(1);
    const ShownCut* cut = !shown.empty() && shown.front().row == r ? &shown.front() : nullptr;
    if (cut != nullptr && !cut->lead_in.empty()) {
      for (const PathPiece& p : cut->lead_in) put_piece_record(bytes, p, x0, y0);
    } else if (!(Ord_dat.at(r, 7) == "mark") && !(Ord_dat.at(r, 8) == "line")) {
      put_line_record(bytes, {"lt1", "lyA", "lc5"}, cx, cy, ax, ay);
    }
    if (cut != nullptr)
      for (const PathPiece& p : cut->overcut) put_piece_record(bytes, p, x0, y0);
    put_line_record(bytes, {"ly9", "lc4", "lt3"}, px, py, ax, ay);
    px = cx;
    py = cy;
  }
}

}  // namespace makenc
