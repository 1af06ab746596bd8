// Chaining the entities of each layer into contours: lines and arcs whose
// end points meet within the matching tolerance, one-entity contours for
// circles and points. Each layer table is rebuilt in contour order, with
// the contour number in column 13 and the place in the contour in column 14.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "core/drawing.h"
#include "core/settings.h"
#include "core/table.h"
#include "core/warnings.h"
#include "import/end_index.h"

namespace makenc {

// How chaining treats elements that meet more than two at a time.
enum class ChainMode {
  // Every line or arc that meets an open end joins, the lowest row first:
  // a line drawn twice runs to and fro, and at a point where three ends meet
  // the chain goes on along the lowest row.
  lowest_row,
  // The contours of parts: a copy of an element that adds nothing to a
  // contour is left out (a contour drawn twice is cut once, a chain does
  // not run back along its own element, a circle drawn twice is one
  // contour), and where three or more ends meet the chain keeps to the
  // boundary of one region, so that parts drawn side by side, each with its
  // own copy of the edge they share, stay apart. A layer with neither
  // chains as by lowest_row.
  regions,
};

// How add_to_contour takes a new member.
enum class AddMode { Seed, Prepend = 1, Append = 2 };

// The band of the matching tolerance around a point, on the grid 1/S and in
// single precision.
struct EndBand {
  float x_lo = 0, x_hi = 0, y_lo = 0, y_hi = 0;
};

// The chaining cells of one run over the layers.
struct ChainState {
  Table* W_dat = nullptr;  // the layer being chained, rebuilt in contour order at the end
  // The layer in contour order, as rows of W_dat and their places in their
  // contours. The rows are moved into that order once the layer is done: a
  // second table of a hundred thousand rows would double the memory that
  // start-up needs.
  std::vector<std::size_t> Lp_rows;
  std::vector<std::int64_t> Lp_seq;
  // Rows of W_dat in the contour being built, in chain order: prepended
  // members go to the front, appended ones to the back.
  std::deque<std::size_t> C_dat;
  // Open ends: (0) seed row, (1, 2) start end X, Y, (3, 4) finish end X, Y.
  std::array<Cell, 5> C_end;
  // The numeric values of C_end, set with it by the chaining: each open end
  // is read once however many segments are tried against it.
  std::array<double, 5> C_end_value{};
  std::size_t Ent_no = 0;
  std::size_t Cand_no = 0;
  std::int64_t Seq_no = 0;
  std::int16_t Hit_code = 0;
  int Lp_kind = 0;  // 99 one-entity contour, 1 chained contour, 0 none
  // The band is held in single precision, so two end points at 0.1 do not
  // meet at tolerance 0 while two at 1.5 do.
  float Bx_lo = 0, Bx_hi = 0, By_lo = 0, By_hi = 0;
  std::int64_t Cnt_total = 1;

  double tolerance = 0;
  std::int16_t S = 1000;
  EndIndex index;  // end points of the segments not yet in a contour
  // The bands around the start and the finish of each segment row the
  // index holds; exchanging a segment's ends exchanges its bands, which a
  // test of both against both open ends does not tell apart.
  std::vector<std::array<EndBand, 2>> Seg_bands;

  ChainMode mode = ChainMode::lowest_row;
  // Set per layer in the mode of regions: whether the layer has neither
  // copies nor points where three ends meet, and so chains by lowest row.
  bool plain = true;
  // Per row: the rows it coincides with, as a ring, and the lowest of them.
  std::vector<std::size_t> next_twin, first_twin;
  // Per lowest row of a set of copies: the try whose chain holds one of them.
  std::vector<std::int64_t> twin_taken;
  std::int64_t attempt = 0;
  // Per row: the number of the contour it was kept in, 0 for none yet.
  std::vector<std::int64_t> kept_in;
  // Per row: its ends exchanged by the contour being built.
  std::vector<char> turned_round;
  // 1: the region on the left of the seed as drawn, -1 the one on its right.
  int side = 1;
  // Whether the contour being built chose between elements at a point.
  bool chose = false;
  // The layer's copies left out.
  std::size_t left_out = 0;
  std::vector<std::size_t> near;  // rows near an open end, reused
};

// Farther than this on either axis, two points never meet however the
// matching tolerance, the grid and single precision round them; `largest`
// is the largest coordinate in play.
double meeting_reach(double tolerance, std::int16_t S, double largest);

// All six layers in turn. Numbers the contours from the drawing's Cnt_total
// on (start-up sets 1) and leaves Cnt_total at the number of contours. In
// the mode of regions, each layer with copies left out adds a warning
// naming how many.
void chain_layers(Drawing& drawing, const Settings& settings, ChainMode mode = ChainMode::lowest_row,
                  Warnings* warnings = nullptr);

// One layer: rebuilds *st.W_dat in contour order; the rows after the last
// contour are left Empty.
void chain_layer(ChainState& st);

// 1 when the band around the candidate point (px, py) holds the contour's
// start end, else 2 when it holds the finish end, else 0.
std::int16_t match_end(ChainState& st, const Cell& px, const Cell& py);

// Whether the band of the matching tolerance around (px, py), on the grid
// 1/S and in single precision, holds (qx, qy): the test by which chaining
// joins two end points.
bool ends_meet(double px, double py, double qx, double qy, double tolerance, std::int16_t S);

// Whether the chained contour in rows first..last of a layer table closes:
// its last end meets its first start on the grid, or within the matching
// tolerance that joined its elements. A single line never closes.
bool contour_closes(const Table& t, std::size_t first, std::size_t last, const Settings& settings);

// Records row Ent_no (Seed) or Cand_no as the contour's next member.
void add_to_contour(ChainState& st, AddMode mode);

// Swaps the end points of row Cand_no; arc angles stay as they are.
void reverse_segment(ChainState& st);

// Appends the finished contour to the layer's contour order, numbering its
// members.
void finish_contour(ChainState& st);

}  // namespace makenc
