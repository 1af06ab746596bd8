// Cut-order planning: the contour records in the order the machine visits
// them. Rounds take the four contours whose approach points lie nearest to
// the tool, try every order of them and keep the shortest; the record held
// back (normally the outline of the part) is cut last, so the part stays in
// the sheet until its holes are done.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "assign/approach_grid.h"
#include "assign/assignment.h"
#include "assign/enclosures.h"
#include "assign/inner_first.h"
#include "core/cell.h"
#include "core/table.h"
#include "preview/preview.h"

namespace makenc {

struct CutPlan {
  // The work list: the records of Apr_dat (`apr_row`, in row order), each
  // marked placed once its contour is ordered (the record held back is
  // marked from the start). Distances from the tool are measured when a
  // round needs them; the cut list takes each record's columns 0..10 with
  // its distance from the origin in column 9.
  const Table* Apr_dat = nullptr;
  std::vector<char> placed;
  std::vector<Cell> Ord_seq;  // contour numbers in cutting order
  std::int64_t Ord_pos = 0;
  std::int64_t Ord_taken = 0;
  double Pos_x = 0, Pos_y = 0;  // the tool position, drawing units
  // The nearest four of a round, ascending; distance 0 and "" mark an
  // empty slot.
  std::array<double, 4> Near_d{};
  std::array<Cell, 4> Near_c{Cell(""), Cell(""), Cell(""), Cell("")};
  double Tour_best = 0, Tour_len = 0;
  // (contour number, approach point) of each record, sorted by number and
  // within a number by row.
  std::vector<std::pair<double, std::array<double, 2>>> approach_of;
  // The approach point of each record of the work list, the records still to be placed
  // in row order (placed ones are dropped when the list is next walked),
  // and a grid over their approach points.
  std::vector<double> apr_x, apr_y;
  std::vector<std::size_t> remaining;
  ApproachGrid grid;
  // (contour number, row) of the records, sorted, when all contour numbers
  // are numbers.
  std::vector<std::pair<double, std::size_t>> rows_of;
  bool numeric_ids = false;
  // The row of Apr_dat of each record of the work list.
  std::vector<std::size_t> apr_row;
  // When set, the closed cut contours around each record: the rounds stop
  // at the first record placed after one of them (`outer_first`), since
  // the order that waits for what lies inside replaces theirs. `placed_at`
  // holds each record's place in the order, or the record count.
  const InnerFirstInput* enclosing = nullptr;
  std::vector<std::size_t> placed_at;
  bool outer_first = false;
};

// Builds Ord_dat (rows 0..M, columns 0..15) from Apr_dat and records whether
// the last row is the outline record. Given the enclosures of the records,
// an order that would cut a closed contour before something inside it is
// replaced by one that waits for what lies inside (inner_first_order).
void plan_cut_order(Assignment& assignment, const Enclosures* enclosures = nullptr);

// Indexes the approach points of Apr_dat by contour number.
void index_approach_points(CutPlan& plan, const Table& Apr_dat);

// Tool position to the approach point of a, then on to b, c and d; c and d
// are 0 when absent. Legs run from approach point to approach point.
double tour_length(const CutPlan& plan, double a, double b, double c, double d);

// Writes the shortest order of the set slots to Ord_seq from Ord_pos on;
// among equal lengths the order tried first wins.
void best_order_of_nearest(CutPlan& plan);

// The rapid moves of the cut list, dotted dark blue, from the drawing origin
// to each approach point and on from each contact point.
void draw_traverses(Preview& preview, const Table& Ord_dat);

}  // namespace makenc
