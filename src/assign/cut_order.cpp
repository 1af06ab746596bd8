#include "assign/cut_order.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "assign/inner_first.h"
#include "assign/placement.h"
#include "assign/tour_orders.h"

namespace makenc {
namespace {

constexpr std::size_t kOrdWidth = rec::last;  // columns 0..10
// The cut list's columns 11 to 15 are never filled: it keeps 0..10.
constexpr std::size_t kOrdDatWidth = rec::last;
// Column 9 of the cut list holds each record's distance from the origin.
constexpr int kDistance = rec::outline;

bool is_blank(const Cell& c) { return c.is_blank(); }

// A column of a record of the work list.
const Cell& work(const CutPlan& plan, std::size_t k, int column) {
  return plan.Apr_dat->at(plan.apr_row[k], static_cast<std::size_t>(column));
}

double distance_to(double x, double y, const Table& t, std::size_t row) {
  return pt_dist(x, y, t.at(row, rec::apr_x).number(), t.at(row, rec::apr_y).number());
}

double distance_from_tool(const CutPlan& plan, std::size_t row) {
  return distance_to(plan.Pos_x, plan.Pos_y, *plan.Apr_dat, plan.apr_row[row]);
}

std::size_t set_slots(const CutPlan& plan) {
  std::size_t n = 0;
  while (n < plan.Near_c.size() && !is_blank(plan.Near_c[n])) ++n;
  return n;
}

// A later record at a distance equal to a filled slot's goes after it; a
// distance of exactly 0 reads as an empty slot and can be displaced.
void insert_nearest(CutPlan& plan, double d, const Cell& id) {
  if (!(plan.Near_d[3] == 0 || plan.Near_d[3] > d)) return;
  std::size_t s = 0;
  while (s < 3 && !(plan.Near_d[s] == 0 || plan.Near_d[s] > d)) ++s;
  for (std::size_t k = 3; k > s; --k) {
    plan.Near_d[k] = plan.Near_d[k - 1];
    plan.Near_c[k] = plan.Near_c[k - 1];
  }
  plan.Near_d[s] = d;
  plan.Near_c[s] = id;
}

// Every remaining record in row order through the slot insertion: the plain
// ranking, which the grid cannot stand in for once a record lies at
// distance 0 from the tool.
// The pass runs over a list of the remaining rows and their approach points,
// which it keeps compact as records are placed: a drawing where the tool
// often stands on an approach point (open contours that do not chain at
// tolerance 0) makes this pass in many rounds.
void rank_all_remaining(CutPlan& plan) {
  std::vector<std::size_t>& rows = plan.remaining;
  rows.erase(std::remove_if(rows.begin(), rows.end(), [&plan](std::size_t b) { return plan.placed[b] != 0; }),
             rows.end());
  for (std::size_t b : rows)
    insert_nearest(plan, pt_dist(plan.Pos_x, plan.Pos_y, plan.apr_x[b], plan.apr_y[b]),
                   work(plan, b, rec::contour));
}

// The grid offers the four records the plain ranking would keep; fed to the
// slots in row order they land where the plain pass puts them.
void find_nearest_four(CutPlan& plan) {
  NearestRows near;
  if (!plan.grid.nearest_four(plan.Pos_x, plan.Pos_y, near)) {
    rank_all_remaining(plan);
    return;
  }
  // At most four rows, in row order by insertion.
  const std::size_t n = std::min(near.count, near.rows.size());
  for (std::size_t i = 1; i < n; ++i)
    for (std::size_t j = i; j > 0 && near.rows[j - 1] > near.rows[j]; --j)
      std::swap(near.rows[j - 1], near.rows[j]);
  for (std::size_t i = 0; i < n; ++i)
    insert_nearest(plan, distance_from_tool(plan, near.rows[i]), work(plan, near.rows[i], rec::contour));
}

// The remaining records whose contour number is the same as id.
void rows_with_number(const CutPlan& plan, const Cell& id, std::vector<std::size_t>& out) {
  out.clear();
  if (plan.numeric_ids && id.is_number()) {
    const auto by_number = [](const std::pair<double, std::size_t>& a,
                              const std::pair<double, std::size_t>& b) { return a.first < b.first; };
    const auto [lo, hi] = std::equal_range(plan.rows_of.begin(), plan.rows_of.end(),
                                           std::pair<double, std::size_t>{id.number(), 0}, by_number);
    for (auto it = lo; it != hi; ++it) out.push_back(it->second);
  } else {
    for (std::size_t k = 0; k < plan.apr_row.size(); ++k)
      if (compare(work(plan, k, rec::contour), id) == 0) out.push_back(k);
  }
}

// Blanks the records just ordered; the tool moves only after a round of
// four, to the approach point of the fourth, or for an open contour to its
// far end, where its cut left the torch. A record meets the first slot
// whose contour number it has.
void remove_placed(CutPlan& plan, std::size_t n) {
  const auto pos = static_cast<std::size_t>(plan.Ord_pos);
  std::vector<std::pair<std::size_t, std::size_t>> placed;  // (row, slot)
  std::vector<std::size_t> rows;
  for (std::size_t j = 0; j < n; ++j) {
    rows_with_number(plan, plan.Ord_seq[pos + j], rows);
    for (std::size_t k : rows)
      if (plan.placed[k] == 0) placed.emplace_back(k, j);
  }
  std::sort(placed.begin(), placed.end());
  placed.erase(std::unique(placed.begin(), placed.end(),
                           [](const auto& a, const auto& b) { return a.first == b.first; }),
               placed.end());
  for (const auto& [k, j] : placed) {
    if (plan.enclosing != nullptr) plan.placed_at[k] = pos + j;
    plan.placed[k] = 1;
    plan.grid.remove(k);
    plan.Ord_taken += 1;
    if (j == 3) {
      const bool line = work(plan, k, rec::kind) == "line";
      plan.Pos_x = work(plan, k, line ? rec::hit_x : rec::apr_x).number();
      plan.Pos_y = work(plan, k, line ? rec::hit_y : rec::apr_y).number();
    }
  }
  if (plan.enclosing == nullptr) return;
  const InnerFirstInput& in = *plan.enclosing;
  for (const auto& [k, j] : placed)
    for (std::size_t i = in.first[k]; i < in.first[k + 1]; ++i)
      if (plan.placed_at[in.around[i]] < plan.placed_at[k]) plan.outer_first = true;
}

// A round does not depend on which remaining record started it, so rounds
// follow one another while any record is left and each places at least one.
void run_rounds(CutPlan& plan, std::size_t M) {
  std::size_t remaining = 0;
  for (std::size_t r = 0; r < M; ++r)
    if (plan.placed[r] == 0) ++remaining;
  while (remaining > 0) {
    find_nearest_four(plan);
    const auto pos = static_cast<std::size_t>(plan.Ord_pos);
    const std::size_t n = pos + set_slots(plan) <= plan.Ord_seq.size() ? set_slots(plan) : 0;
    best_order_of_nearest(plan);
    remove_placed(plan, n);
    if (plan.outer_first) return;
    plan.Ord_pos += plan.Ord_taken;
    plan.Near_d.fill(0);
    plan.Near_c.fill(Cell(""));
    if (plan.Ord_taken == 0) return;
    remaining -= std::min<std::size_t>(remaining, static_cast<std::size_t>(plan.Ord_taken));
    plan.Ord_taken = 0;
  }
}

// The records of Apr_dat in row order, none placed; a record whose layer
// reads blank counts as placed.
void build_work_list(CutPlan& plan, const Table& Apr_dat, std::size_t M) {
  plan.Apr_dat = &Apr_dat;
  plan.apr_row.assign(M, 0);
  plan.placed.assign(M, 0);
  std::size_t next = 0;
  for (std::size_t k = 0; k < Apr_dat.rows() && next < M; ++k) {
    if (Apr_dat.at(k, rec::layer).is_empty()) continue;
    plan.apr_row[next] = k;
    plan.placed[next] = is_blank(Apr_dat.at(k, rec::layer)) ? 1 : 0;
    ++next;
  }
}

// The grid over the approach points of the records still to be placed, and
// those records by contour number. Numbers meet as numbers; any other kind
// of contour number is matched by a pass over the records.
void index_remaining(CutPlan& plan, std::size_t M) {
  plan.apr_x.assign(M, 0);
  plan.apr_y.assign(M, 0);
  std::vector<std::size_t>& rows = plan.remaining;
  rows.clear();
  plan.rows_of.clear();
  plan.numeric_ids = true;
  for (std::size_t k = 0; k < M; ++k) {
    plan.apr_x[k] = work(plan, k, rec::apr_x).number();
    plan.apr_y[k] = work(plan, k, rec::apr_y).number();
    if (plan.placed[k] != 0) continue;
    rows.push_back(k);
    const Cell& id = work(plan, k, rec::contour);
    // NaN compares equal to every number, which no sorted list can answer.
    if (!id.is_number() || std::isnan(id.number())) plan.numeric_ids = false;
    if (plan.numeric_ids) plan.rows_of.emplace_back(id.number(), k);
  }
  if (plan.numeric_ids)
    std::sort(plan.rows_of.begin(), plan.rows_of.end());
  else
    plan.rows_of.clear();
  plan.grid = ApproachGrid(plan.apr_x, plan.apr_y, rows);
}

// Each entry of the order takes the first record with its contour number;
// the list ends at the first entry no record has. Returns the record of the
// work list each row of Ord_dat takes (M for none).
std::vector<std::size_t> cut_list_rows(const CutPlan& plan, std::size_t M) {
  std::vector<std::size_t> source(M, M);
  std::vector<std::pair<double, std::size_t>> rows;  // (number, row), sorted
  rows.reserve(M);
  for (std::size_t k = 0; k < M; ++k) {
    const double id = work(plan, k, rec::contour).number();
    if (!std::isnan(id)) rows.emplace_back(id, k);  // no look-up meets NaN
  }
  std::sort(rows.begin(), rows.end());
  for (std::size_t p = 0; p < static_cast<std::size_t>(plan.Ord_pos); ++p) {
    const double id = plan.Ord_seq[p].number();
    const auto it = std::lower_bound(rows.begin(), rows.end(), std::pair<double, std::size_t>{id, 0},
                                     [](const auto& a, const auto& b) { return a.first < b.first; });
    if (it == rows.end() || it->first != id ||
        compare(work(plan, it->second, rec::contour), plan.Ord_seq[p]) != 0)
      break;
    source[p] = it->second;
  }
  source[M - 1] = M - 1;
  return source;
}

// Whether each place the rounds fill is the record they placed there, as
// the cut list takes it: every record still to be placed has a contour
// number of its own (a number, not NaN).
bool places_follow_rows(const CutPlan& plan) {
  if (!plan.numeric_ids) return false;
  for (std::size_t k = 1; k < plan.rows_of.size(); ++k)
    if (plan.rows_of[k - 1].first == plan.rows_of[k].first) return false;
  return true;
}

// The enclosures by row of the work list, as InnerFirstInput holds them.
void enclosures_by_record(const CutPlan& plan, const Enclosures& enclosures, InnerFirstInput& in) {
  const std::size_t M = plan.apr_row.size();
  std::vector<std::size_t> record_of(enclosures.first_.empty() ? 0 : enclosures.first_.size() - 1, M);
  for (std::size_t k = 0; k < M; ++k)
    if (plan.apr_row[k] < record_of.size()) record_of[plan.apr_row[k]] = k;
  in.first.assign(M + 1, 0);
  in.around.clear();
  for (std::size_t k = 0; k < M; ++k) {
    in.first[k] = in.around.size();
    for (const std::size_t a : enclosures.around(plan.apr_row[k]))
      if (record_of[a] < M && record_of[a] != k) in.around.push_back(record_of[a]);
  }
  in.first[M] = in.around.size();
}

// Whether the order cuts every closed cut contour after all that lies
// inside it. `source` gives the record of each place in the order.
bool inner_first(const InnerFirstInput& in, const std::vector<std::size_t>& source) {
  const std::size_t M = source.size();
  std::vector<std::size_t> place(M, M);
  for (std::size_t p = 0; p < M; ++p)
    if (source[p] < M) place[source[p]] = p;
  for (std::size_t k = 0; k < M; ++k)
    for (std::size_t i = in.first[k]; i < in.first[k + 1] && place[k] < M; ++i)
      if (place[in.around[i]] < place[k]) return false;
  return true;
}

// The order that waits for what lies inside each contour; the held-back
// record stays last unless something encloses it.
std::vector<std::size_t> reorder_inner_first(const CutPlan& plan, InnerFirstInput& in) {
  const std::size_t M = plan.apr_row.size();
  for (std::size_t k = 0; k < M; ++k) {
    const bool line = work(plan, k, rec::kind) == "line";
    in.apr_x.push_back(work(plan, k, rec::apr_x).number());
    in.apr_y.push_back(work(plan, k, rec::apr_y).number());
    in.end_x.push_back(line ? work(plan, k, rec::hit_x).number() : in.apr_x.back());
    in.end_y.push_back(line ? work(plan, k, rec::hit_y).number() : in.apr_y.back());
  }
  in.held = in.first[M] - in.first[M - 1] == 0 ? M - 1 : M;
  return inner_first_order(in);
}

bool last_record_is_outline(const Table& Apr_dat) {
  for (std::size_t k = Apr_dat.rows(); k-- > 0;) {
    if (!Apr_dat.at(k, rec::layer).is_empty()) return Apr_dat.at(k, rec::outline) == "G";
  }
  return false;
}

using Point2 = std::array<double, 2>;

// The last record with the number gives the point; an unknown contour
// number reads as the origin.
Point2 approach_point(const CutPlan& plan, double id) {
  const auto it = std::upper_bound(plan.approach_of.begin(), plan.approach_of.end(), id,
                                   [](double v, const auto& e) { return v < e.first; });
  return it == plan.approach_of.begin() || std::prev(it)->first != id ? Point2{0, 0} : std::prev(it)->second;
}

// How many approach points a tour visits: a third or a fourth contour
// number 0 means there is none.
std::size_t stops_of(const std::array<double, 4>& ids) { return ids[2] == 0 ? 2 : ids[3] == 0 ? 3 : 4; }

// From the tool through the first `stops` points, leg by leg.
double tour_through(const CutPlan& plan, const std::array<Point2, 4>& p, std::size_t stops) {
  double len =
      pt_dist(plan.Pos_x, plan.Pos_y, p[0][0], p[0][1]) + pt_dist(p[0][0], p[0][1], p[1][0], p[1][1]);
  if (stops > 2) len += pt_dist(p[1][0], p[1][1], p[2][0], p[2][1]);
  if (stops > 3) len += pt_dist(p[2][0], p[2][1], p[3][0], p[3][1]);
  return len;
}

}  // namespace

void index_approach_points(CutPlan& plan, const Table& Apr_dat) {
  plan.approach_of.clear();
  for (std::size_t k = 0; k < Apr_dat.rows(); ++k) {
    const double id = Apr_dat.at(k, rec::contour).number();
    if (Apr_dat.at(k, rec::layer).is_empty() || std::isnan(id)) continue;
    plan.approach_of.emplace_back(
        id, Point2{Apr_dat.at(k, rec::apr_x).number(), Apr_dat.at(k, rec::apr_y).number()});
  }
  // Stable, so that the records of one number keep their row order.
  std::stable_sort(plan.approach_of.begin(), plan.approach_of.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

double tour_length(const CutPlan& plan, double a, double b, double c, double d) {
  const std::array<double, 4> ids{a, b, c, d};
  std::array<Point2, 4> points{};
  for (std::size_t i = 0; i < ids.size(); ++i) points[i] = approach_point(plan, ids[i]);
  return tour_through(plan, points, stops_of(ids));
}

void best_order_of_nearest(CutPlan& plan) {
  const std::size_t n = set_slots(plan);
  const auto pos = static_cast<std::size_t>(plan.Ord_pos);
  if (n == 0 || pos + n > plan.Ord_seq.size()) return;
  if (n == 1) {
    plan.Ord_seq[pos] = plan.Near_c[0];
    return;
  }
  const std::span<const Order> orders = orders_of(n);
  const std::size_t count = orders.size();
  // The slots' approach points are looked up once a round, not once a leg.
  std::array<double, 4> slot_ids{};
  std::array<Point2, 4> slot_points{};
  for (std::size_t s = 0; s < n; ++s) {
    slot_ids[s] = plan.Near_c[s].number();
    slot_points[s] = approach_point(plan, slot_ids[s]);
  }
  for (std::size_t t = 0; t < count; ++t) {
    const Order& o = orders[t];
    std::array<double, 4> ids{};
    std::array<Point2, 4> points{};
    for (std::size_t j = 0; j < n; ++j) {
      ids[j] = slot_ids[o[j]];
      points[j] = slot_points[o[j]];
    }
    plan.Tour_len = tour_through(plan, points, stops_of(ids));
    if (t > 0 && !(plan.Tour_best > plan.Tour_len)) continue;
    plan.Tour_best = plan.Tour_len;
    for (std::size_t j = 0; j < n; ++j) plan.Ord_seq[pos + j] = plan.Near_c[o[j]];
  }
}

void plan_cut_order(Assignment& assignment, const Enclosures* enclosures) {
  const Table& Apr_dat = assignment.Apr_dat;
  std::size_t M = 0;
  for (std::size_t k = 0; k < Apr_dat.rows(); ++k)
    if (!Apr_dat.at(k, rec::layer).is_empty()) ++M;
  CutPlan plan;
  build_work_list(plan, Apr_dat, M);
  plan.Ord_seq.assign(M + 1, Cell());
  // The cut list is made once the order is known, when the work of the
  // rounds is gone.
  assignment.Ord_dat = Table();
  assignment.last_is_outline = false;
  assignment.Ord_apr_row.clear();
  assignment.Ord_part_outline.clear();
  if (M == 0) {
    assignment.Ord_dat = Table(M, kOrdDatWidth);
    return;
  }
  index_approach_points(plan, Apr_dat);
  plan.placed[M - 1] = 1;
  index_remaining(plan, M);
  const bool nested = enclosures != nullptr && enclosures->any();
  InnerFirstInput in;
  if (nested) {
    enclosures_by_record(plan, *enclosures, in);
    if (places_follow_rows(plan)) {
      plan.enclosing = &in;
      plan.placed_at.assign(M, M);
    }
  }
  run_rounds(plan, M);
  std::vector<std::size_t> source = plan.outer_first ? std::vector<std::size_t>{} : cut_list_rows(plan, M);
  assignment.last_is_outline = last_record_is_outline(Apr_dat);
  if (nested) {
    if (plan.outer_first || !inner_first(in, source)) {
      source = reorder_inner_first(plan, in);
      if (source.back() != M - 1) assignment.last_is_outline = false;
    }
  }
  in = InnerFirstInput();
  plan.grid = ApproachGrid();
  for (auto* v : {&plan.apr_x, &plan.apr_y}) *v = std::vector<double>();
  plan.remaining = std::vector<std::size_t>();
  plan.rows_of = {};
  plan.approach_of = {};
  plan.Ord_seq = std::vector<Cell>();
  plan.placed_at = std::vector<std::size_t>();
  assignment.Ord_dat = Table(M, kOrdDatWidth);
  for (std::size_t p = 0; p < M; ++p) {
    if (source[p] >= M) continue;
    const std::size_t row = plan.apr_row[source[p]];
    for (std::size_t c = 0; c <= kOrdWidth; ++c) assignment.Ord_dat.at(p, c) = Apr_dat.at(row, c);
    assignment.Ord_dat.at(p, kDistance) = Cell(distance_to(0, 0, Apr_dat, row));
  }
  assignment.Ord_apr_row.assign(M, Apr_dat.rows());
  for (std::size_t p = 0; p < M; ++p)
    if (source[p] < M) assignment.Ord_apr_row[p] = plan.apr_row[source[p]];
}

}  // namespace makenc
