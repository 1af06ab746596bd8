#include "assign/placement_cases.h"

#include <cmath>

#include "core/constants.h"
#include "preview/material_map.h"

namespace makenc {
namespace {

// The right angle as the system writes it: a line parallel to the X axis
// gets this angle, so its normal keeps a tiny X part (about 1E-14 of the
// approach length) that the NC words round away.
constexpr double kRightAngle = 1.5707963267949;

struct Point {
  double x = 0, y = 0;
};

void set_points(PlacementContext& ctx, Point p, Point q) {
  EntityCells& ent = ctx.state.ent;
  ent.Li_x1 = Cell(p.x);
  ent.Li_y1 = Cell(p.y);
  ent.Li_x2 = Cell(q.x);
  ent.Li_y2 = Cell(q.y);
  const PreviewFit& fit = ctx.preview.fit;
  PreviewCells& cells = ctx.preview.cells;
  cells.P_x1 = to_screen_len(fit, p.x);
  cells.P_y1 = to_screen_len(fit, p.y);
  cells.P_x2 = to_screen_len(fit, q.x);
  cells.P_y2 = to_screen_len(fit, q.y);
}

// Whether the candidate approach point lies on material: the probe starts at
// the candidate's pixel and, while it stands on a drawn line, steps on by
// the approach offset until it meets a pixel that is not black.
bool candidate_on_material(PlacementContext& ctx, Point p) {
  const PreviewFit& fit = ctx.preview.fit;
  const ApproachState& st = ctx.state;
  ProbeWalk walk{p.x, p.y, st.Apr_dx, st.Apr_dy};
  double x = fit.Scr_x0 + to_screen_len(fit, p.x);
  double y = fit.Scr_y0 - to_screen_len(fit, p.y);
  return probe_material(ctx.preview, Probe::over_lines, x, y, kMaterialGrey, walk);
}

}  // namespace

void place_full_circle(PlacementContext& ctx, std::size_t row) {
  ApproachState& st = ctx.state;
  load_entity(ctx.W_dat, row, st.ent, ctx.preview.cells);
  const double cx = st.ent.Ci_x.number();
  const double cy = st.ent.Ci_y.number();
  const double r = st.ent.Ci_r.number();
  const double L = ctx.settings.approach();
  const Point q{cx, cy - r};
  Point p;
  if (st.Grp_G != "G") {
    // A hole no larger than the lead-in would put the pierce outside the
    // hole, on the part: pierce at the centre instead.
    p = r > L ? Point{cx, cy - r + L} : Point{cx, cy};
  } else {
    p = Point{cx, cy - r - L};
  }
  set_points(ctx, p, q);
  st.Grp_kind = ContourKind::circle;
}

void place_on_longest_arc(PlacementContext& ctx) {
  ApproachState& st = ctx.state;
  load_entity(ctx.W_dat, st.Row_max, st.ent, ctx.preview.cells);
  const double s = st.ent.Ci_s.number();
  double e = st.ent.Ci_e.number();
  if (s > e) {
    e += 360;  // the arc passes 0 degrees
    st.ent.Ci_e = Cell(e);
  }
  const double m = (s + (e - s) / 2) * kPi / 180;
  const double cx = st.ent.Ci_x.number();
  const double cy = st.ent.Ci_y.number();
  const double r = st.ent.Ci_r.number();
  const double L = ctx.settings.approach();
  const Point q{cx + r * std::cos(m), cy + r * std::sin(m)};
  st.Apr_dx = L * std::cos(m);
  st.Apr_dy = L * std::sin(m);
  Point p{q.x + st.Apr_dx, q.y + st.Apr_dy};
  if (candidate_on_material(ctx, p)) p = Point{q.x - st.Apr_dx, q.y - st.Apr_dy};
  set_points(ctx, p, q);
  st.Grp_kind = ContourKind::loop;
}

void place_on_longest_line(PlacementContext& ctx) {
  ApproachState& st = ctx.state;
  load_entity(ctx.W_dat, st.Row_max, st.ent, ctx.preview.cells);
  const double x1 = st.ent.Li_x1.number();
  const double y1 = st.ent.Li_y1.number();
  const double dx = st.ent.Li_x2.number() - x1;
  const double dy = st.ent.Li_y2.number() - y1;
  const Point q{x1 + dx / 2, y1 + dy / 2};
  double a = 0;
  if (dx != 0) a = dy == 0 ? kRightAngle : std::atan(dx / dy);
  const double L = ctx.settings.approach();
  // A normal of the line; the side tried first is the one pointing down or,
  // for a vertical line, to the right.
  st.Apr_dx = L * std::cos(a);
  st.Apr_dy = L * std::sin(a);
  if (a > 0) st.Apr_dy = -st.Apr_dy;
  if (a < 0) st.Apr_dx = -st.Apr_dx;
  if (candidate_on_material(ctx, Point{q.x + st.Apr_dx, q.y + st.Apr_dy})) {
    st.Apr_dx = -st.Apr_dx;
    st.Apr_dy = -st.Apr_dy;
  }
  set_points(ctx, Point{q.x + st.Apr_dx, q.y + st.Apr_dy}, q);
  st.Grp_kind = ContourKind::loop;
}

void place_point(PlacementContext& ctx, std::size_t row) {
  const Point p{ctx.W_dat.at(row, col::x1).number(), ctx.W_dat.at(row, col::y1).number()};
  set_points(ctx, p, p);
  ctx.state.Grp_kind = ContourKind::point;
  ctx.state.Grp_op = "mark";
}

void place_open_contour(PlacementContext& ctx, std::size_t row) {
  const Table& W = ctx.W_dat;
  const std::size_t last = ctx.state.Grp_scan - 1;
  const Point p{W.at(row, col::x1).number(), W.at(row, col::y1).number()};
  const Point q{W.at(last, col::x2).number(), W.at(last, col::y2).number()};
  set_points(ctx, p, q);
  // Open lines are cut only on the first layer, and colour 8 there marks
  // scribe lines.
  const bool cut = ctx.Now_ly == "ly0" && !(W.at(row, col::colour) == "8");
  ctx.state.Grp_op = cut ? "cut" : "mark";
  ctx.state.Grp_kind = ContourKind::line;
}

}  // namespace makenc
