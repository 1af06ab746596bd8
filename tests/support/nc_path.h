// An NC program read back as the machine runs it: the tool's moves, with
// modal coordinates, arcs about start + (I, J) and cutter compensation, cut
// into one piece per contour. A contour begins with a rapid ("G00" with X or
// Y); the start code that follows says whether it is cut or marked; a first
// straight feed carrying G41 or G42 is its lead-in.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "support/drawing_geometry.h"

namespace makenc::test {

struct NcMove {
  Xy from, to, centre;
  int turn = 0;          // 0 straight, +1 counter-clockwise (G03), -1 clockwise (G02)
  int comp = 40;         // the cutter compensation in force: 40, 41 (kerf left) or 42 (right)
  std::size_t line = 0;  // in the file, from 1

  double sweep() const;  // radians, signed; a whole turn when an arc ends where it starts
  double length() const;
  Xy at(double t) const;       // t from 0 at `from` to 1 at `to`
  Xy heading(double t) const;  // the unit direction of travel there
};

struct NcCut {
  std::size_t line = 0;  // of the rapid
  bool marking = false;
  Xy start;  // where the rapid ends: where a cut pierces
  bool lead_in = false;
  int lead_comp = 40;
  Xy contact;                 // the end of the lead-in; the start when there is none
  std::vector<NcMove> moves;  // after the lead-in
};

// The start codes as sent (each template up to its first empty line) and
// the marking condition (line 7 of set.ini), which tells them apart when
// the templates do not.
struct StartCodes {
  std::vector<std::string> cut, mark;
  std::string mark_condition;
};

// The contours of the program in its order; rapids followed by neither
// start code (the return home of the footer) are no contour.
std::vector<NcCut> read_nc_cuts(const std::vector<std::string>& lines, const StartCodes& codes);

}  // namespace makenc::test
