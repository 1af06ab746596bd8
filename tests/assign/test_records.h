// Contour records written by hand, as placement leaves them in Apr_dat.
#pragma once

#include <cstddef>
#include <string>

#include "assign/placement.h"
#include "core/table.h"

namespace makenc::test {

struct Record {
  int contour = 0;
  double ax = 0, ay = 0;  // approach point
  double hx = 0, hy = 0;  // contact point
  std::string kind = "loop";
  std::string op = "cut";
  bool outline = false;
};

// Apr_dat of a run over `Cnt_total` contours.
inline Table make_apr_dat(std::size_t Cnt_total) { return Table(Cnt_total, rec::last); }

inline void put(Table& Apr_dat, std::size_t row, const Record& r) {
  Apr_dat.at(row, rec::layer) = "ly0";
  Apr_dat.at(row, rec::contour) = Cell(r.contour);
  Apr_dat.at(row, rec::element) = Cell(1);
  Apr_dat.at(row, rec::apr_x) = Cell(r.ax);
  Apr_dat.at(row, rec::apr_y) = Cell(r.ay);
  Apr_dat.at(row, rec::hit_x) = Cell(r.hx);
  Apr_dat.at(row, rec::hit_y) = Cell(r.hy);
  Apr_dat.at(row, rec::op) = r.op;
  Apr_dat.at(row, rec::kind) = r.kind;
  if (r.outline) Apr_dat.at(row, rec::outline) = "G";
}

// A closed contour whose contact point is its approach point.
inline Record at(int contour, double x, double y) { return Record{contour, x, y, x, y}; }

}  // namespace makenc::test
