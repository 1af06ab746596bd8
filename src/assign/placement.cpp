#include "assign/placement.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "assign/placement_cases.h"
#include "core/constants.h"
#include "core/warnings.h"
#include "import/chain.h"

namespace makenc {
namespace {

std::int64_t whole_number(const Cell& c) {
  const double v = c.number();
  if (!std::isfinite(v)) return 0;
  return std::llround(v);
}

std::int16_t colour_pen(const Cell& c) {
  const double v = std::round(c.number());
  if (!(v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max()))
    return 0;
  return static_cast<std::int16_t>(v);
}

// Whether row i starts the contour to be placed next. Chaining numbers the
// contours of a layer consecutively; a number it left out (a contour that
// vanished there) must not stop the rest of the layer from being placed, so
// a higher number is taken as the next one expected.
bool starts_next_contour(PlacementContext& ctx, std::size_t i) {
  const Table& W = ctx.W_dat;
  ApproachState& st = ctx.state;
  st.Grp_row = W.at(i, col::contour);
  if (W.at(i, col::position).number() != 1 || st.processed[i]) return false;
  const double number = st.Grp_row.number();
  if (number < static_cast<double>(st.Grp_now)) return false;
  if (number != static_cast<double>(st.Grp_now)) {
    if (number != std::floor(number) || !std::isfinite(number)) return false;
    st.Grp_now = whole_number(st.Grp_row);
  }
  return true;
}

// Finds the contour's extent, its outline mark and its longest element; of
// two equally long elements the later one carries the approach.
void scan_contour(PlacementContext& ctx, std::size_t first) {
  const Table& W = ctx.W_dat;
  ApproachState& st = ctx.state;
  st.Grp_shape = kShapeUntested;
  st.Len_max = W.at(first, col::length).number();
  st.Row_max = first;
  bool on_edge = false;
  std::size_t r = first;
  for (; r < W.last_row() && compare(W.at(r, col::contour), st.Grp_row) == 0; ++r) {
    if (W.at(r, col::outline) == "G") on_edge = true;
    const double len = W.at(r, col::length).number();
    if (len >= st.Len_max) {
      st.Len_max = len;
      st.Row_max = r;
    }
  }
  st.Grp_G.assign(on_edge ? 1 : 0, 'G');
  st.Grp_scan = r;
}

void test_closure(PlacementContext& ctx, std::size_t first) {
  const bool closed = contour_closes(ctx.W_dat, first, ctx.state.Grp_scan - 1, ctx.settings);
  ctx.state.Grp_shape = closed ? kShapeClosed : kShapeOpen;
}

// Whether every element is a cutting line: a dashed element leaves a gap
// the material map runs through.
bool bounds_region(const Table& W, std::size_t first, std::size_t end) {
  for (std::size_t r = first; r < end; ++r)
    if (!(W.at(r, col::colour) == "2")) return false;
  return true;
}

void common_end(PlacementContext& ctx, std::size_t first) {
  ctx.state.processed[first] = true;
  ctx.assignment.Apr_cnt += 1;
  ctx.state.Grp_now += 1;
  ctx.state.Grp_shape = kShapeUntested;
}

// Points and open contours carry their approach on their first element.
void store_on_first_element(PlacementContext& ctx, std::size_t first) {
  const std::optional<std::size_t> row = store_contour_record(ctx);
  if (row) ctx.assignment.Apr_dat.at(*row, rec::element) = Cell(1);
  common_end(ctx, first);
}

// A closed contour is entered at the middle of its longest element. When
// neither side of that element has scrap, even close to it, or when another
// contour runs along it there (an edge two parts drawn side by side share:
// the side beyond it is the neighbour's, whatever it is), the next longest
// is tried, and so on; only when no element does better does the longest
// keep its lead-in, named when it has no scrap beside it. Of two equally
// long elements the later one is tried first.
void place_on_element(PlacementContext& ctx) {
  const Table& W = ctx.W_dat;
  ApproachState& st = ctx.state;
  const int layer = layer_number(ctx.Now_ly);
  const double band = std::max(ctx.settings.tolerance(), 1e-9);
  auto place_at = [&](std::size_t row) {
    st.doubt.clear();
    if (W.at(row, col::kind) == "cci") {
      place_on_arc(ctx, row);
    } else if (W.at(row, col::kind) == "li") {
      place_on_line(ctx, row);
    } else {
      return false;
    }
    return true;
  };
  // Whether the contact point just placed lies on another contour too.
  auto shared = [&] {
    return ctx.drawn != nullptr && ctx.drawn->other_within(st.ent.Li_x2.number(), st.ent.Li_y2.number(), band,
                                                           layer, st.Grp_first, st.Grp_scan);
  };
  const std::size_t longest = st.Row_max;
  place_at(longest);
  const bool longest_shared = shared();
  if (st.doubt != kNoScrapBeside && !longest_shared) return;
  const bool longest_placed = st.doubt.empty();
  std::vector<std::size_t> others;
  for (std::size_t r = st.Grp_scan; r-- > st.Grp_first;)
    if (r != longest) others.push_back(r);
  std::stable_sort(others.begin(), others.end(), [&W](std::size_t a, std::size_t b) {
    return W.at(a, col::length).number() > W.at(b, col::length).number();
  });
  std::vector<std::size_t> shared_placed;
  for (const std::size_t r : others) {
    if (!place_at(r) || !st.doubt.empty()) continue;
    if (shared()) {
      shared_placed.push_back(r);
      continue;
    }
    st.Row_max = r;
    return;
  }
  // Every element with scrap beside it is shared: the longest, when it has
  // scrap, else the longest shared one that has.
  if (!longest_placed && !shared_placed.empty()) {
    place_at(shared_placed.front());
    st.Row_max = shared_placed.front();
    return;
  }
  place_at(longest);
}

void place_contour(PlacementContext& ctx, std::size_t i) {
  const Table& W = ctx.W_dat;
  ApproachState& st = ctx.state;
  st.Grp_first = i;
  st.doubt.clear();
  scan_contour(ctx, i);
  const Cell& kind = W.at(i, col::kind);
  if (!(kind == "ci") && !(kind == "pt")) test_closure(ctx, i);
  const Cell& longest = W.at(st.Row_max, col::kind);
  if (kind == "ci") {
    place_full_circle(ctx, i);
    finish_closed_contour(ctx, i);
  } else if ((longest == "cci" || longest == "li") && st.Grp_shape == kShapeClosed) {
    place_on_element(ctx);
    finish_closed_contour(ctx, i);
  } else if (longest == "pt") {
    place_point(ctx, i);
    store_on_first_element(ctx, i);
  } else if (st.Grp_shape == kShapeOpen) {
    place_open_contour(ctx, i);
    store_on_first_element(ctx, i);
  } else {
    // A contour of elements the machine cannot follow gets no record; the
    // contours after it are still placed.
    st.Grp_now += 1;
  }
}

}  // namespace

void load_entity(const Table& W_dat, std::size_t row, EntityCells& ent, PreviewCells& cells) {
  const Cell& kind = W_dat.at(row, col::kind);
  if (!(kind == "ci")) {
    ent.Li_x1 = W_dat.at(row, col::x1);
    ent.Li_y1 = W_dat.at(row, col::y1);
    ent.Li_x2 = W_dat.at(row, col::x2);
    ent.Li_y2 = W_dat.at(row, col::y2);
  }
  if (!(kind == "li")) {
    ent.Ci_x = Cell(W_dat.at(row, col::cx).number());
    ent.Ci_y = Cell(W_dat.at(row, col::cy).number());
    ent.Ci_r = Cell(W_dat.at(row, col::radius).number());
  }
  if (kind == "cci") {
    ent.Ci_s = W_dat.at(row, col::start_angle);
    ent.Ci_e = W_dat.at(row, col::end_angle);
  }
  cells.Ent_pen = colour_pen(W_dat.at(row, col::colour));
}

std::optional<std::size_t> store_contour_record(PlacementContext& ctx) {
  Table& A = ctx.assignment.Apr_dat;
  ApproachState& st = ctx.state;
  const bool table_ok =
      A.cols() > rec::last && ctx.Cnt_total >= 1 && static_cast<std::size_t>(ctx.Cnt_total) < A.rows();
  const std::size_t outline_row = table_ok ? static_cast<std::size_t>(ctx.Cnt_total - 1) : 0;
  const bool outline =
      table_ok && st.Grp_G == "G" && st.Grp_op != "mark" && A.at(outline_row, rec::layer).is_empty();
  std::optional<std::size_t> row;
  if (outline) {
    row = outline_row;
    A.at(outline_row, rec::outline) = "G";
  } else if (table_ok && ctx.assignment.Apr_cnt >= 0 && ctx.assignment.Apr_cnt < ctx.Cnt_total &&
             A.at(static_cast<std::size_t>(ctx.assignment.Apr_cnt), rec::layer).is_empty()) {
    row = static_cast<std::size_t>(ctx.assignment.Apr_cnt);
  }
  // The outline row and a record that finds no free row leave the next
  // regular row where it is once the common end has counted the contour.
  if (outline || !row) ctx.assignment.Apr_cnt -= 1;
  if (row) {
    const EntityCells& e = st.ent;
    A.at(*row, rec::layer) = ctx.Now_ly;
    A.at(*row, rec::contour) = st.Grp_row;
    A.at(*row, rec::element) = ctx.W_dat.at(st.Row_max, col::position);
    A.at(*row, rec::apr_x) = Cell(e.Li_x1.number());
    A.at(*row, rec::apr_y) = Cell(e.Li_y1.number());
    A.at(*row, rec::hit_x) = Cell(e.Li_x2.number());
    A.at(*row, rec::hit_y) = Cell(e.Li_y2.number());
    A.at(*row, rec::op) = st.Grp_op;
    A.at(*row, rec::kind) = kind_text(st.Grp_kind);
    auto& spans = ctx.assignment.Apr_span;
    if (*row < spans.size()) spans[*row] = {layer_number(ctx.Now_ly), st.Grp_first, st.Grp_scan};
  }
  st.Grp_G = "";
  return row;
}

void finish_closed_contour(PlacementContext& ctx, std::size_t first) {
  ApproachState& st = ctx.state;
  // Only cutting lines are cut; a closed contour of any other colour is
  // marked on the plate.
  st.Grp_op = ctx.W_dat.at(first, col::colour) == "2" ? "cut" : "mark";
  const bool cut = st.Grp_op == "cut";
  if (cut) keep_lead_in_clear(ctx);
  draw_line_entity(ctx.preview);
  // A mark does not pierce, and a loop with a dashed element bounds no
  // region of its own: only a doubt about a cut that frees a region is news.
  if (!st.doubt.empty() && cut && bounds_region(ctx.W_dat, first, st.Grp_scan))
    ctx.assignment.warnings.push_back(
        {contour_reference(ctx.Now_ly, st.Grp_row.text_form()) + ": " + st.doubt});
  st.doubt.clear();
  st.processed[first] = true;
  store_contour_record(ctx);
  st.Grp_kind = ContourKind::none;
  common_end(ctx, first);
}

PlacedEntry place_entry(PlacementContext& ctx, std::size_t first, std::size_t end, std::size_t row, double x,
                        double y, bool cut) {
  const Table& W = ctx.W_dat;
  ApproachState& st = ctx.state;
  st = ApproachState{};
  st.Grp_first = first;
  st.Grp_scan = end;
  bool on_edge = false;
  for (std::size_t r = first; r < end; ++r)
    if (W.at(r, col::outline) == "G") on_edge = true;
  st.Grp_G.assign(on_edge ? 1 : 0, 'G');
  const Cell& kind = W.at(row, col::kind);
  if (kind == "ci")
    place_full_circle_at(ctx, row, x, y);
  else if (kind == "cci")
    place_on_arc_at(ctx, row, x, y);
  else
    place_on_line_at(ctx, row, x, y);
  if (cut) keep_lead_in_clear(ctx);
  return {st.ent.Li_x1.number(), st.ent.Li_y1.number(), st.ent.Li_x2.number(), st.ent.Li_y2.number(),
          st.doubt};
}

void draw_lead_ins(Preview& preview, const Table& records, bool cuts_shown_as_cut) {
  if (records.cols() <= static_cast<std::size_t>(rec::kind)) return;
  const PreviewFit& fit = preview.fit;
  PreviewCells& cells = preview.cells;
  for (std::size_t r = 0; r < records.rows(); ++r) {
    const Cell& kind = records.at(r, rec::kind);
    if (!(kind == kind_text(ContourKind::circle)) && !(kind == kind_text(ContourKind::loop))) continue;
    const bool cut = records.at(r, rec::op) == "cut";
    if (cut && cuts_shown_as_cut) continue;
    cells.P_x1 = to_screen_len(fit, records.at(r, rec::apr_x));
    cells.P_y1 = to_screen_len(fit, records.at(r, rec::apr_y));
    cells.P_x2 = to_screen_len(fit, records.at(r, rec::hit_x));
    cells.P_y2 = to_screen_len(fit, records.at(r, rec::hit_y));
    cells.Ent_pen = cut ? 2 : 0;
    draw_line_entity(preview);
  }
  preview.surface.draw_style = DrawStyle::Solid;
}

void assign_layer_approaches(PlacementContext& ctx) {
  const Table& W = ctx.W_dat;
  if (W.rows() == 0 || W.cols() <= static_cast<std::size_t>(col::processed)) return;
  clear_entity_cells(ctx.preview.cells);
  ctx.state = ApproachState{};
  ctx.state.Grp_now = whole_number(W.at(0, col::contour));
  ctx.state.processed.assign(W.rows(), false);
  for (std::size_t i = 0; i < W.last_row(); ++i) {
    if (starts_next_contour(ctx, i)) place_contour(ctx, i);
  }
}

}  // namespace makenc
