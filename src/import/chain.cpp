#include "import/chain.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "core/constants.h"
#include "import/coincide.h"
#include "import/overlaps.h"
#include "import/turning.h"

namespace makenc {
namespace {

bool is_segment(const Cell& kind) { return kind == "li" || kind == "cci"; }
bool is_single(const Cell& kind) { return kind == "ci" || kind == "pt"; }

// Empty rows ("BL" records) and records the system does not know take no
// part in any contour.
bool is_chained(const Cell& kind) { return is_segment(kind) || is_single(kind); }

// A line whose ends coincide, an arc that sweeps nothing and a circle or arc
// of radius 0 have nothing to cut and no direction to cut it in: a lead-in
// to them would be followed by no move, and an arc from a point to itself
// is a whole circle to the machine. Measurement has given them the length
// 0; like empty rows they join no contour.
bool has_nothing_to_cut(const Table& W, std::size_t r) {
  const Cell& kind = W.at(r, col::kind);
  if (!(is_segment(kind) || kind == "ci")) return false;
  const Cell& length = W.at(r, col::length);
  return !length.is_blank() && length.number() == 0;
}

bool takes_part(const Table& W, std::size_t r) {
  return is_chained(W.at(r, col::kind)) && !has_nothing_to_cut(W, r);
}

using Band = EndBand;

Band band_around(double px, double py, double tolerance, std::int16_t S) {
  return Band{static_cast<float>(round_to_grid(px - tolerance, S)),
              static_cast<float>(round_to_grid(px + tolerance, S)),
              static_cast<float>(round_to_grid(py - tolerance, S)),
              static_cast<float>(round_to_grid(py + tolerance, S))};
}

bool holds(const Band& b, double x, double y) {
  return b.x_lo <= x && x <= b.x_hi && b.y_lo <= y && y <= b.y_hi;
}

std::int16_t touch_code(const Band& b, const std::array<double, 5>& C_end) {
  if (holds(b, C_end[1], C_end[2])) return 1;
  if (holds(b, C_end[3], C_end[4])) return 2;
  return 0;
}

void set_end(ChainState& st, std::size_t k, const Cell& c) {
  st.C_end[k] = c;
  st.C_end_value[k] = c.number();
}

bool touches(const ChainState& st, std::size_t row) {
  const std::array<Band, 2>& bands = st.Seg_bands[row];
  return touch_code(bands[0], st.C_end_value) != 0 || touch_code(bands[1], st.C_end_value) != 0;
}

void index_segments(ChainState& st) {
  const Table& W = *st.W_dat;
  double largest = 0;
  for (std::size_t r = 0; r != W.last_row(); ++r) {
    if (!is_segment(W.at(r, col::kind))) continue;
    for (int c = 1; c <= 4; ++c) largest = std::fmax(largest, std::fabs(W.at(r, c).number()));
  }
  std::vector<EndPoint> ends;
  ends.reserve(2 * W.last_row());
  st.Seg_bands.assign(W.last_row(), {});
  for (std::size_t r = 0; r != W.last_row(); ++r) {
    if (!is_segment(W.at(r, col::kind)) || has_nothing_to_cut(W, r) || !W.at(r, col::contour).is_blank())
      continue;
    const double x1 = W.at(r, 1).number(), y1 = W.at(r, 2).number();
    const double x2 = W.at(r, 3).number(), y2 = W.at(r, 4).number();
    ends.push_back({r, x1, y1});
    ends.push_back({r, x2, y2});
    st.Seg_bands[r] = {band_around(x1, y1, st.tolerance, st.S), band_around(x2, y2, st.tolerance, st.S)};
  }
  st.index = EndIndex(meeting_reach(st.tolerance, st.S, largest), std::move(ends));
}

// In the mode of regions: finds the copies and the points where three ends
// meet, and readies the marks of the contours to come.
void find_layer_coincidences(ChainState& st) {
  const Table& W = *st.W_dat;
  const std::size_t n = W.last_row();
  st.plain = true;
  st.left_out = 0;
  st.next_twin.clear();
  st.first_twin.clear();
  st.twin_taken.clear();
  st.kept_in.clear();
  st.turned_round.clear();
  if (st.mode != ChainMode::regions) return;
  std::vector<char> taking(n);
  for (std::size_t r = 0; r != n; ++r) taking[r] = takes_part(W, r) && W.at(r, col::contour).is_blank();
  Coincidences found = find_coincidences(W, taking, st.index, st.Seg_bands, st.tolerance, st.S);
  st.plain = !found.any_twins && !found.ends_crowd;
  if (st.plain) return;
  st.next_twin = std::move(found.next_twin);
  st.first_twin = std::move(found.first_twin);
  st.twin_taken.assign(n, 0);
  st.kept_in.assign(n, 0);
  st.turned_round.assign(n, 0);
}

bool by_regions(const ChainState& st) { return st.mode == ChainMode::regions && !st.plain; }

void unindex(ChainState& st, std::size_t row) {
  const Table& W = *st.W_dat;
  st.index.remove(row, W.at(row, 1).number(), W.at(row, 2).number());
  st.index.remove(row, W.at(row, 3).number(), W.at(row, 4).number());
}

// Whether the contour's finish meets its start: a chain of more than one
// element, or an arc, that has come round.
bool has_closed(const ChainState& st) {
  if (st.C_dat.size() < 2 && st.W_dat->at(st.C_dat.front(), col::kind) != "cci") return false;
  return ends_meet(st.C_end_value[3], st.C_end_value[4], st.C_end_value[1], st.C_end_value[2], st.tolerance,
                   st.S);
}

struct Choice {
  std::size_t row;
  double turn, bend;
};

// Whether `a` keeps closer to the region than `b`: the sharper turn to its
// side, then, leaving in one direction, the element bending more that way,
// then the lower row.
bool keeps_closer(const Choice& a, const Choice& b) {
  constexpr double kSame = 1e-9;
  if (std::fabs(a.turn - b.turn) > kSame) return a.turn > b.turn;
  if (std::fabs(a.bend - b.bend) > kSame) return a.bend > b.bend;
  return a.row < b.row;
}

// The free rows that meet the point (x, y) as candidates to join the
// contour there: each set of copies offers its lowest row and the copies of
// a member offer none. `but` is left out.
void offered_at(ChainState& st, double x, double y, std::size_t but, std::vector<std::size_t>& offered) {
  st.near.clear();
  st.index.rows_near(x, y, st.near);
  std::sort(st.near.begin(), st.near.end());
  st.near.erase(std::unique(st.near.begin(), st.near.end()), st.near.end());
  offered.clear();
  for (std::size_t row : st.near) {
    if (row == but || !st.W_dat->at(row, col::contour).is_blank()) continue;
    if (!holds(st.Seg_bands[row][0], x, y) && !holds(st.Seg_bands[row][1], x, y)) continue;
    const std::size_t set = st.first_twin[row];
    if (st.twin_taken[set] == st.attempt) continue;
    if (std::none_of(offered.begin(), offered.end(), [&](std::size_t o) { return st.first_twin[o] == set; }))
      offered.push_back(row);
  }
}

// Back along itself is the last way to go, whichever side.
constexpr double kBackTurn = -10;

// How far to the side of the region (`to_left` 1 for the left of the run,
// -1 for its right) the run turns from arriving along `in` on row `from`
// onto `row` leaving the point (x, y). Back along the way it came, within
// the matching tolerance over the shorter of the two, is the last way to go
// whichever side: the side of a neighbouring part drawn along it.
Choice choice_of(const ChainState& st, const Leaving& in, std::size_t from, std::size_t row, double x,
                 double y, double to_left) {
  const Table& W = *st.W_dat;
  const Leaving out = leaving(W, row, holds(st.Seg_bands[row][0], x, y));
  const double turn = turn_angle(in, out);
  const double shorter = std::fmin(run_length(W, from), run_length(W, row));
  constexpr double kHalfTurn = 3.14159265358979;
  const bool back = (kHalfTurn - std::fabs(turn)) * shorter <= meeting_reach(st.tolerance, st.S, 0) ||
                    std::fabs(turn) >= kHalfTurn - 1e-9;
  return {row, back ? kBackTurn : to_left * turn, to_left * out.bend};
}

// Whether two elements leaving one point, as choices, run together over the
// shorter of them within the matching tolerance: the sides of two parts
// drawn side by side that share a stretch of edge but end at different
// corners, which the turn at the point cannot tell apart.
bool run_together(const ChainState& st, const Choice& a, const Choice& b) {
  if (a.turn == kBackTurn || b.turn == kBackTurn) return false;
  const Table& W = *st.W_dat;
  const double shorter = std::fmin(run_length(W, a.row), run_length(W, b.row));
  const double apart = meeting_reach(st.tolerance, st.S, 0);
  return std::fabs(a.turn - b.turn) * shorter <= apart &&
         std::fabs(a.bend - b.bend) * shorter * shorter / 2 <= apart;
}

// How well the run keeps to the region after taking `row` at (x, y): the
// turn to the region's side at its far end onto the best element there;
// the most when the far end closes the contour, the least when nothing
// meets it.
double turn_after(ChainState& st, std::size_t row, double x, double y, double to_left,
                  std::vector<std::size_t>& offered) {
  const bool far_is_finish = holds(st.Seg_bands[row][0], x, y);
  const Table& W = *st.W_dat;
  const double fx = W.at(row, far_is_finish ? col::x2 : col::x1).number();
  const double fy = W.at(row, far_is_finish ? col::y2 : col::y1).number();
  const bool at_start = to_left * st.side < 0;
  const double ox = st.C_end_value[at_start ? 3 : 1], oy = st.C_end_value[at_start ? 4 : 2];
  if (ends_meet(fx, fy, ox, oy, st.tolerance, st.S)) return 10;
  Leaving in = leaving(W, row, !far_is_finish);
  in.dx = -in.dx;
  in.dy = -in.dy;
  offered_at(st, fx, fy, row, offered);
  double best = -20;
  for (std::size_t q : offered) best = std::fmax(best, choice_of(st, in, row, q, fx, fy, to_left).turn);
  return best;
}

// The next member at the start (k 1) or the finish (k 3) of the contour in
// the mode of regions: of several rows offered there, the one that turns
// most to the side of the region, which is the left of the chain's run at
// its finish and the right of its run backwards at its start for the region
// on the seed's left. Of rows that run together from the point, the one
// after whose far end the run turns most to that side: the side of the part
// whose region it bounds.
std::size_t member_at(ChainState& st, std::size_t k, std::size_t none) {
  const double x = st.C_end_value[k], y = st.C_end_value[k + 1];
  std::vector<std::size_t> offered;
  offered_at(st, x, y, none, offered);
  if (offered.empty()) return none;
  if (offered.size() == 1) return offered.front();
  st.chose = true;
  const Table& W = *st.W_dat;
  const bool at_start = k == 1;
  const std::size_t member = at_start ? st.C_dat.front() : st.C_dat.back();
  Leaving in = leaving(W, member, at_start);
  in.dx = -in.dx;
  in.dy = -in.dy;
  const double to_left = (at_start ? -1 : 1) * st.side;
  std::vector<Choice> choices;
  Choice best{none, 0, 0};
  for (std::size_t row : offered) {
    choices.push_back(choice_of(st, in, member, row, x, y, to_left));
    if (best.row == none || keeps_closer(choices.back(), best)) best = choices.back();
  }
  std::vector<Choice> together;
  for (const Choice& c : choices)
    if (run_together(st, c, best)) together.push_back(c);
  if (together.size() < 2) return best.row;
  std::vector<std::size_t> further;
  Choice kept = best;
  double kept_after = turn_after(st, best.row, x, y, to_left, further);
  for (const Choice& c : together) {
    if (c.row == best.row) continue;
    const double after = turn_after(st, c.row, x, y, to_left, further);
    constexpr double kSame = 1e-9;
    if (after > kept_after + kSame || (after >= kept_after - kSame && keeps_closer(c, kept))) {
      kept = c;
      kept_after = after;
    }
  }
  return kept.row;
}

// The scan visits the rows from the top and restarts there after every new
// member, so the next member is always the lowest free row that meets an
// open end. The index offers the rows near the two ends; the lowest one
// that passes the exact test is the one the scan would reach first.
bool next_member(ChainState& st, std::size_t& found) {
  const std::size_t none = std::numeric_limits<std::size_t>::max();
  if (by_regions(st)) {
    if (has_closed(st)) return false;
    found = std::min(member_at(st, 1, none), member_at(st, 3, none));
    return found != none;
  }
  auto free_and_touching = [&st](std::size_t row) {
    return st.W_dat->at(row, col::contour).is_blank() && touches(st, row);
  };
  found = st.index.lowest_near(st.C_end_value[1], st.C_end_value[2], none, free_and_touching);
  found = st.index.lowest_near(st.C_end_value[3], st.C_end_value[4], found, free_and_touching);
  return found != none;
}

void try_candidate(ChainState& st) {
  Table& W = *st.W_dat;
  const std::size_t r = st.Cand_no;
  st.Hit_code = match_end(st, W.at(r, 1), W.at(r, 2));
  if (st.Hit_code == 1) {
    reverse_segment(st);
    ++st.Seq_no;
    add_to_contour(st, AddMode::Prepend);
  } else if (st.Hit_code == 2) {
    ++st.Seq_no;
    add_to_contour(st, AddMode::Append);
  } else {
    st.Hit_code = match_end(st, W.at(r, 3), W.at(r, 4));
    if (st.Hit_code == 1) {
      ++st.Seq_no;
      add_to_contour(st, AddMode::Prepend);
    } else if (st.Hit_code == 2) {
      reverse_segment(st);
      ++st.Seq_no;
      add_to_contour(st, AddMode::Append);
    }
  }
}

void scan(ChainState& st) {
  std::size_t row = 0;
  while (next_member(st, row)) {
    st.Cand_no = row;
    try_candidate(st);
  }
}

void grow_contour(ChainState& st) {
  Table& W = *st.W_dat;
  ++st.attempt;
  st.chose = false;
  st.Seq_no = 1;
  add_to_contour(st, AddMode::Seed);
  set_end(st, 0, Cell(static_cast<std::int64_t>(st.Ent_no)));
  for (int c = 1; c <= 4; ++c) set_end(st, static_cast<std::size_t>(c), W.at(st.Ent_no, c));
  if (is_single(W.at(st.Ent_no, col::kind))) {
    st.Lp_kind = 99;
  } else {
    st.Lp_kind = 1;
    st.Cand_no = 0;
    scan(st);
  }
}

// Gives the members of the contour being built back to the layer as they
// were drawn.
void take_back(ChainState& st) {
  Table& W = *st.W_dat;
  for (std::size_t row : st.C_dat) {
    if (st.turned_round[row]) {
      std::swap(W.at(row, 1), W.at(row, 3));
      std::swap(W.at(row, 2), W.at(row, 4));
      st.turned_round[row] = 0;
    }
    W.at(row, col::contour) = Cell();
    W.at(row, col::position) = Cell();
    st.index.restore(row, W.at(row, 1).number(), W.at(row, 2).number());
    st.index.restore(row, W.at(row, 3).number(), W.at(row, 4).number());
  }
  st.C_dat.clear();
}

// Whether every member of the contour coincides with a member of one
// contour kept before it: the same contour drawn twice.
bool drawn_before(const ChainState& st) {
  const std::size_t first = st.C_dat.front();
  auto has_copy_in = [&st](std::size_t row, std::int64_t contour) {
    for (std::size_t q = st.next_twin[row]; q != row; q = st.next_twin[q])
      if (st.kept_in[q] == contour) return true;
    return false;
  };
  for (std::size_t q = st.next_twin[first]; q != first; q = st.next_twin[q]) {
    const std::int64_t contour = st.kept_in[q];
    if (contour == 0) continue;
    if (std::all_of(st.C_dat.begin(), st.C_dat.end(),
                    [&](std::size_t row) { return has_copy_in(row, contour); }))
      return true;
  }
  return false;
}

// Whether no two corners of the contour being built, where one member ends
// and the next starts, meet: a part's outline passes no point twice.
bool passes_no_point_twice(const ChainState& st) {
  const Table& W = *st.W_dat;
  std::vector<std::pair<double, double>> corners;
  corners.reserve(st.C_dat.size());
  double largest = 0;
  for (std::size_t row : st.C_dat) {
    corners.emplace_back(W.at(row, col::x1).number(), W.at(row, col::y1).number());
    largest =
        std::fmax(largest, std::fmax(std::fabs(corners.back().first), std::fabs(corners.back().second)));
  }
  // By x: two corners that meet lie within a reach of each other.
  std::sort(corners.begin(), corners.end());
  const double reach = meeting_reach(st.tolerance, st.S, largest);
  for (std::size_t i = 0; i < corners.size(); ++i)
    for (std::size_t j = i + 1; j < corners.size() && corners[j].first - corners[i].first <= reach; ++j) {
      const auto [px, py] = corners[i];
      const auto [qx, qy] = corners[j];
      if (ends_meet(px, py, qx, qy, st.tolerance, st.S) || ends_meet(qx, qy, px, py, st.tolerance, st.S))
        return false;
    }
  return true;
}

// Whether the contour being built bounds the region on the side it kept
// to: it has closed, runs round that region (counter-clockwise for the
// left) and passes no point twice.
bool bounds_region(const ChainState& st) {
  return has_closed(st) && enclosed_area(*st.W_dat, st.C_dat) * st.side > 0 && passes_no_point_twice(st);
}

void start_contour(ChainState& st) {
  Table& W = *st.W_dat;
  st.side = 1;
  grow_contour(st);
  if (!by_regions(st)) {
    finish_contour(st);
    ++st.Cnt_total;
    return;
  }
  // A chain that chose its way at a point and bounds no region on the
  // seed's left is built again round the region on its right: a closed
  // chain round the outside of parts drawn side by side, which encloses
  // them clockwise, or one that ran from a part into its neighbour through
  // a corner they share. When neither side bounds a region, a simple closed
  // chain round the left is kept (the part on the seed's right, reached
  // through the lowest rows), else one enclosing clockwise round the right,
  // else the chain round the left.
  if (st.chose && st.Lp_kind == 1 && !bounds_region(st)) {
    const bool simple = has_closed(st) && passes_no_point_twice(st);
    const bool clockwise = has_closed(st) && enclosed_area(W, st.C_dat) < 0;
    take_back(st);
    st.side = -1;
    grow_contour(st);
    if (!bounds_region(st) && (simple || !clockwise)) {
      take_back(st);
      st.side = 1;
      grow_contour(st);
    }
  }
  if (drawn_before(st)) {
    for (std::size_t row : st.C_dat) {
      W.at(row, col::contour) = Cell(std::int64_t{0});
      W.at(row, col::position) = Cell();
    }
    st.left_out += st.C_dat.size();
    return;
  }
  for (std::size_t row : st.C_dat) st.kept_in[row] = st.Cnt_total;
  finish_contour(st);
  ++st.Cnt_total;
}

// Moves the rows into contour order by following the cycles of the
// permutation, a row exchanged with the one it takes its place from at each
// step; the rows of no contour go after the last contour and are emptied
// there.
void rebuild_in_contour_order(ChainState& st) {
  Table& W = *st.W_dat;
  const std::size_t n = W.last_row();
  std::vector<std::size_t> from = st.Lp_rows;  // row i of the result is row from[i]
  std::vector<bool> placed(n, false);
  for (std::size_t r : from) placed[r] = true;
  for (std::size_t r = 0; r < n; ++r)
    if (!placed[r]) from.push_back(r);
  // The same marks, now of the rows in their places.
  std::vector<bool>& done = placed;
  done.assign(n, false);
  for (std::size_t start = 0; start < n; ++start) {
    if (done[start]) continue;
    // Row `to` holds the cycle's first row until it reaches its place.
    std::size_t to = start;
    while (from[to] != start) {
      W.swap_rows(to, from[to]);
      done[to] = true;
      to = from[to];
    }
    done[to] = true;
  }
  for (std::size_t i = 0; i < st.Lp_rows.size(); ++i) W.at(i, col::position) = Cell(st.Lp_seq[i]);
  W.clear_rows(st.Lp_rows.size(), n);
}

}  // namespace

// The band is the tolerance widened by the grid rounding and by the single
// precision it is held in.
double meeting_reach(double tolerance, std::int16_t S, double largest) {
  const double t = std::fabs(tolerance);
  return 2 * (t + 1.0 / S) + 1e-6 * (largest + t + 1);
}

bool ends_meet(double px, double py, double qx, double qy, double tolerance, std::int16_t S) {
  return holds(band_around(px, py, tolerance, S), qx, qy);
}

bool contour_closes(const Table& t, std::size_t first, std::size_t last, const Settings& settings) {
  const std::int16_t S = settings.ini_S_suu;
  auto grid = [S](const Cell& c) { return static_cast<float>(round_to_grid(c.number(), S)); };
  const Cell &x1 = t.at(first, col::x1), &y1 = t.at(first, col::y1);
  const Cell &x2 = t.at(last, col::x2), &y2 = t.at(last, col::y2);
  if (grid(x2) == grid(x1) && grid(y2) == grid(y1)) return true;
  // Two ends on either side of a rounding boundary meet all the same when
  // chaining would have joined them.
  if (first == last && t.at(first, col::kind) == "li") return false;
  return ends_meet(x2.number(), y2.number(), x1.number(), y1.number(), settings.tolerance(), S);
}

std::int16_t match_end(ChainState& st, const Cell& px, const Cell& py) {
  const Band b = band_around(px.number(), py.number(), st.tolerance, st.S);
  st.Bx_lo = b.x_lo;
  st.Bx_hi = b.x_hi;
  st.By_lo = b.y_lo;
  st.By_hi = b.y_hi;
  std::array<double, 5> ends{};
  for (std::size_t k = 1; k < ends.size(); ++k) ends[k] = st.C_end[k].number();
  return touch_code(b, ends);
}

void reverse_segment(ChainState& st) {
  Table& W = *st.W_dat;
  const std::size_t r = st.Cand_no;
  std::swap(W.at(r, 1), W.at(r, 3));
  std::swap(W.at(r, 2), W.at(r, 4));
  if (r < st.turned_round.size()) st.turned_round[r] ^= 1;
}

void add_to_contour(ChainState& st, AddMode mode) {
  Table& W = *st.W_dat;
  const std::size_t row = mode == AddMode::Seed ? st.Ent_no : st.Cand_no;
  W.at(row, col::contour) = Cell(st.Cnt_total);
  W.at(row, col::position) = Cell(st.Seq_no);
  if (is_segment(W.at(row, col::kind))) unindex(st, row);
  if (row < st.twin_taken.size()) st.twin_taken[st.first_twin[row]] = st.attempt;
  if (mode == AddMode::Prepend) {
    st.C_dat.push_front(row);
    set_end(st, 1, W.at(row, 1));
    set_end(st, 2, W.at(row, 2));
  } else {
    st.C_dat.push_back(row);
    if (mode == AddMode::Append) {
      set_end(st, 3, W.at(row, 3));
      set_end(st, 4, W.at(row, 4));
    }
  }
  st.Cand_no = 0;
}

void finish_contour(ChainState& st) {
  if (st.Lp_kind == 99) {
    st.Lp_rows.push_back(st.Ent_no);
    st.Lp_seq.push_back(st.Seq_no);
    return;
  }
  st.Seq_no = 1;
  for (std::size_t row : st.C_dat) {
    st.Lp_rows.push_back(row);
    st.Lp_seq.push_back(st.Seq_no++);
  }
}

void chain_layer(ChainState& st) {
  Table& W = *st.W_dat;
  const std::size_t n = W.last_row();
  st.Cand_no = 0;
  st.Seq_no = 0;
  st.Hit_code = 0;
  st.Lp_rows.clear();
  st.Lp_seq.clear();
  st.Lp_rows.reserve(n);
  st.Lp_seq.reserve(n);
  index_segments(st);
  find_layer_coincidences(st);
  for (st.Ent_no = 0; st.Ent_no != n; ++st.Ent_no) {
    st.C_dat.clear();
    st.Lp_kind = 0;
    st.Seq_no = 1;
    if (!takes_part(W, st.Ent_no) || !W.at(st.Ent_no, col::contour).is_blank()) continue;
    // A circle drawn again is cut once, as it was first drawn.
    if (by_regions(st) && st.first_twin[st.Ent_no] != st.Ent_no && W.at(st.Ent_no, col::kind) == "ci") {
      ++st.left_out;
      continue;
    }
    // A contour sets its open ends when it starts.
    start_contour(st);
    st.Cand_no = 0;
  }
  rebuild_in_contour_order(st);
}

void chain_layers(Drawing& drawing, const Settings& settings, ChainMode mode, Warnings* warnings) {
  ChainState st;
  st.tolerance = settings.tolerance();
  st.S = settings.ini_S_suu;
  st.Cnt_total = drawing.Cnt_total;
  st.mode = mode;
  for (int k = 0; k < kLayerCount; ++k) {
    if (!drawing.has_layer(k)) continue;
    st.W_dat = &drawing.layer(k);
    chain_layer(st);
    if (!warnings) continue;
    const std::string layer = "layer " + std::to_string(k) + ": ";
    if (st.left_out == 1) warnings->push_back({layer + "1 element drawn twice was left out"});
    if (st.left_out > 1)
      warnings->push_back({layer + std::to_string(st.left_out) + " elements drawn twice were left out"});
    if (mode != ChainMode::regions) continue;
    const std::size_t overlaps = count_partial_overlaps(drawing.layer(k), st.tolerance);
    if (overlaps == 1) warnings->push_back({layer + "1 element overlaps another in part"});
    if (overlaps > 1)
      warnings->push_back({layer + std::to_string(overlaps) + " elements overlap others in part"});
  }
  drawing.Cnt_total = st.Cnt_total - 1;
}

}  // namespace makenc
