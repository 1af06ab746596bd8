// Layer tables as start-up leaves them, built by hand for the preview tests:
// the kind in column 0, coordinates as doubles, the radius as the file's
// text, the colour code as text in column 11, and the spare row at the end.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "core/constants.h"
#include "core/drawing.h"
#include "core/number_text.h"
#include "core/table.h"

namespace makenc::test {

using Row = std::vector<Cell>;

inline Row line_row(double x1, double y1, double x2, double y2, const char* colour = "2") {
  Row r(kLastColumn + 1);
  r[col::kind] = "li";
  r[col::x1] = x1;
  r[col::y1] = y1;
  r[col::x2] = x2;
  r[col::y2] = y2;
  r[col::colour] = colour;
  return r;
}

inline Row circle_row(double cx, double cy, double radius, const char* colour = "2") {
  Row r(kLastColumn + 1);
  r[col::kind] = "ci";
  for (int c : {col::x1, col::y1, col::x2, col::y2, col::start_angle, col::end_angle, col::tilt})
    r[static_cast<std::size_t>(c)] = "";
  r[col::cx] = cx;
  r[col::cy] = cy;
  r[col::radius] = double_text(radius);
  r[col::colour] = colour;
  return r;
}

// Angles in degrees; the end points follow from them as measurement leaves
// them.
inline Row arc_row(double cx, double cy, double radius, double start, double end, const char* colour = "2",
                   double tilt = 0) {
  Row r(kLastColumn + 1);
  r[col::kind] = "cci";
  const double a = (start + tilt) * kPi / 180;
  const double b = (end + tilt) * kPi / 180;
  r[col::x1] = cx + radius * std::cos(a);
  r[col::y1] = cy + radius * std::sin(a);
  r[col::x2] = cx + radius * std::cos(b);
  r[col::y2] = cy + radius * std::sin(b);
  r[col::cx] = cx;
  r[col::cy] = cy;
  r[col::radius] = double_text(radius);
  r[col::start_angle] = start;
  r[col::end_angle] = end;
  r[col::tilt] = tilt;
  r[col::colour] = colour;
  return r;
}

inline Row point_row(double x, double y, const char* colour = "2") {
  Row r(kLastColumn + 1);
  r[col::kind] = "pt";
  r[col::x1] = x;
  r[col::y1] = y;
  r[col::colour] = colour;
  return r;
}

inline Table layer_table(const std::vector<Row>& rows) {
  Table t(rows.size(), kLastColumn);
  for (std::size_t i = 0; i < rows.size(); ++i)
    for (std::size_t c = 0; c < rows[i].size(); ++c) t.at(i, c) = rows[i][c];
  return t;
}

// The four sides of an axis-parallel rectangle, chained.
inline std::vector<Row> rectangle_rows(double x0, double y0, double x1, double y1, const char* colour = "2") {
  return {line_row(x0, y0, x1, y0, colour), line_row(x1, y0, x1, y1, colour),
          line_row(x1, y1, x0, y1, colour), line_row(x0, y1, x0, y0, colour)};
}

// A drawing of one layer (ly0 unless told otherwise) spanning 0..w x 0..h.
inline Drawing drawing_of(const std::vector<Row>& rows, double w, double h, int layer = 0) {
  Drawing d;
  d.LY_dat[static_cast<std::size_t>(layer)] = layer_table(rows);
  d.LY_cnt[static_cast<std::size_t>(layer)] = static_cast<std::int64_t>(rows.size());
  d.LY_cntAll = static_cast<std::int64_t>(rows.size());
  d.X_min = 0.0;
  d.Y_min = 0.0;
  d.X_max = w;
  d.Y_max = h;
  return d;
}

inline std::vector<Row> joined(std::vector<Row> a, const std::vector<Row>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace makenc::test
