// The check drawing: approaches and rapid moves as records for the host.
#include "nc/check_drawing.h"

#include <initializer_list>
#include <string_view>

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

}  // namespace

void put_check_drawing(std::string& bytes, const Drawing& drawing, const Table& Ord_dat) {
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
      put_line_record(bytes, {"lt1", "lyA", "lc5"}, cx, cy, ax, ay);
    put_line_record(bytes, {"ly9", "lc4", "lt3"}, px, py, ax, ay);
    px = cx;
    py = cy;
  }
}

}  // namespace makenc
