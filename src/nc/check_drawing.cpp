// The check drawing: approaches and rapid moves as records for the host.
#include "nc/check_drawing.h"

#include "core/number_text.h"
#include "core/text.h"

namespace makenc {

namespace {

// The host reads the drawing's own precision back: doubles, not the grid.
constexpr int kDrawingDigits = 15;

std::string line_record(double x1, double y1, double x2, double y2) {
  std::string out;
  for (double v : {x1, y1, x2, y2}) {
    out += ' ';
    out += plain_decimal_text(v, kDrawingDigits);
  }
  return out;
}

}  // namespace

void put_check_drawing(std::vector<std::string>& lines, const Drawing& drawing, const Table& Ord_dat) {
  const double x0 = drawing.X_min.number();
  const double y0 = drawing.Y_min.number();
  double px = x0, py = y0;
  const std::size_t n = Ord_dat.rows() == 0 ? 0 : Ord_dat.last_row();
  for (std::size_t r = 0; r < n; ++r) {
    const double ax = Ord_dat.at(r, 3).number() + x0, ay = Ord_dat.at(r, 4).number() + y0;
    const double cx = Ord_dat.at(r, 5).number() + x0, cy = Ord_dat.at(r, 6).number() + y0;
    // Marked contours and open chains are entered where they begin: they
    // have no approach of their own to show.
    if (!(Ord_dat.at(r, 7) == "mark") && !(Ord_dat.at(r, 8) == "line"))
      lines.insert(lines.end(), {"lt1", "lyA", "lc5", line_record(cx, cy, ax, ay)});
    lines.insert(lines.end(), {"ly9", "lc4", "lt3", line_record(px, py, ax, ay)});
    px = cx;
    py = cy;
  }
}

}  // namespace makenc
