#include "assign/placement_cases.h"

#include <cmath>

#include "core/constants.h"
#include "core/warnings.h"

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

// Whether the candidate approach point lies on material: while it stands on
// a drawn line, the probe steps on by the approach offset until it is off
// every line, and the region it reaches decides.
bool candidate_on_material(PlacementContext& ctx, Point p, double step_x, double step_y) {
  const Sides& sides = *ctx.sides;
  const double step = std::hypot(step_x, step_y);
  // A step too short to get anywhere stops on the line; a straight walk of
  // the budget has crossed the whole drawing.
  const double budget = step * sides.scale() >= 1e-3 ? sides.extent() / step + 2 : 0;
  for (double steps = 0;; ++steps) {
    if (!sides.on_line(p.x, p.y)) return sides.material(p.x, p.y);
    if (steps >= budget) return false;
    p.x += step_x;
    p.y += step_y;
  }
}

bool candidate_on_material(PlacementContext& ctx, Point p) {
  return candidate_on_material(ctx, p, ctx.state.Apr_dx, ctx.state.Apr_dy);
}

Ground ground_at(const PlacementContext& ctx, Point p) { return ctx.sides->ground(p.x, p.y); }

// Whether a shortened lead-in from the contact point q to p runs through
// scrap only: p off every line, and nothing between q and p material (a
// lead-in into the next hole must not cross the web between).
bool lead_in_in_scrap(const PlacementContext& ctx, Point q, Point p) {
  if (ground_at(ctx, p) != Ground::scrap) return false;
  return !ctx.sides->material_between(q.x, q.y, p.x, p.y);
}

// Whether the lead-in from the contact point q to p starts on material or
// crosses it: a candidate that lands on a line beyond a narrow web is
// judged by the walk on the far side of the line, not by the web it stands
// in.
bool runs_through_material(const PlacementContext& ctx, Point q, Point p) {
  return ctx.sides->material_between(q.x, q.y, p.x, p.y);
}

// The candidate on the side tried first is not on material, but it lies on
// a line, so the walk decided beyond it; when the mirror lies plainly in
// scrap, off every line, the mirror is the surer side.
bool mirror_is_surer(PlacementContext& ctx, Point q, Point first) {
  if (ground_at(ctx, first) != Ground::line) return false;
  const ApproachState& st = ctx.state;
  return ground_at(ctx, {q.x - st.Apr_dx, q.y - st.Apr_dy}) == Ground::scrap;
}

// The candidate at the approach length and its mirror both lie on material:
// the hole is narrower than about twice the approach length. The lead-in is
// halved, on either side, until it starts in scrap, down to one grid step
// and to the shortest that starts off the line (a pixel of the surface the
// side is decided on). When none does, the full-length mirror stays and the
// contour is named.
Point fit_lead_in(PlacementContext& ctx, Point q, Point full) {
  ApproachState& st = ctx.state;
  const double grid = 1.0 / ctx.settings.ini_S_suu;
  const double L = std::hypot(st.Apr_dx, st.Apr_dy);
  const double pixels_per_unit = ctx.sides->scale();
  if (!(L > 0)) return full;
  for (double h = L / 2; h >= grid && h * pixels_per_unit >= 1; h /= 2) {
    const double ux = st.Apr_dx * h / L;
    const double uy = st.Apr_dy * h / L;
    for (const double side : {-1.0, 1.0}) {
      const Point p{q.x + side * ux, q.y + side * uy};
      if (lead_in_in_scrap(ctx, q, p)) {
        st.Apr_dx = side * ux;
        st.Apr_dy = side * uy;
        return p;
      }
    }
  }
  st.doubt = kNoScrapBeside;
  return full;
}

// The approach point beside the contact point q: the side (Apr_dx, Apr_dy)
// unless it is material there, then the mirrored side, shortened when that
// is material too. Apr_dx, Apr_dy are left pointing to the side taken.
Point scrap_side_point(PlacementContext& ctx, Point q) {
  ApproachState& st = ctx.state;
  const Point first{q.x + st.Apr_dx, q.y + st.Apr_dy};
  const bool material = candidate_on_material(ctx, first);
  if (!material && !mirror_is_surer(ctx, q, first))
    return runs_through_material(ctx, q, first) ? fit_lead_in(ctx, q, first) : first;
  st.Apr_dx = -st.Apr_dx;
  st.Apr_dy = -st.Apr_dy;
  const Point mirror{q.x + st.Apr_dx, q.y + st.Apr_dy};
  if (material && candidate_on_material(ctx, mirror)) return fit_lead_in(ctx, q, mirror);
  return runs_through_material(ctx, q, mirror) ? fit_lead_in(ctx, q, mirror) : mirror;
}

// What is met first going from the point q of a drawn line in the direction
// (ux, uy) (a unit vector), half a pixel at a time, within `reach` drawing
// units; a line when there are only lines there.
Ground beside_line(const PlacementContext& ctx, Point q, double ux, double uy, double reach) {
  const double step = 0.5 / ctx.sides->scale();
  if (!(step > 0) || !std::isfinite(step)) return Ground::line;
  for (double d = step; d <= reach; d += step) {
    const Ground g = ground_at(ctx, {q.x + ux * d, q.y + uy * d});
    if (g != Ground::line) return g;
  }
  return Ground::line;
}

// A circle with material inside and scrap outside is a round part (a disc,
// a washer, a flange), not a hole: it is entered from outside, like the
// outline, so that the pierce and the kerf fall in the scrap. Its lowest
// point q shows both sides.
bool round_part(const PlacementContext& ctx, Point q, double r) {
  const double L = ctx.settings.approach();
  if (!(r > 0) || !(L > 0)) return false;
  if (beside_line(ctx, q, 0, 1, std::min(r, L)) != Ground::material) return false;
  return beside_line(ctx, q, 0, -1, L) == Ground::scrap;
}

// Whether the lead-in from p to the contact point q runs through nothing
// drawn: a lead-in across a neighbouring hole or part cuts into it.
bool lead_in_clear(const PlacementContext& ctx, Point q, Point p) {
  return ctx.drawn == nullptr || !ctx.drawn->lead_in_meets(p.x, p.y, q.x, q.y);
}

void lead_in_on_arc(PlacementContext& ctx, double m);
void lead_in_on_line(PlacementContext& ctx, Point q);

}  // namespace

void keep_lead_in_clear(PlacementContext& ctx) {
  ApproachState& st = ctx.state;
  const Point p{st.ent.Li_x1.number(), st.ent.Li_y1.number()};
  const Point q{st.ent.Li_x2.number(), st.ent.Li_y2.number()};
  if (lead_in_clear(ctx, q, p)) return;
  const double len = std::hypot(p.x - q.x, p.y - q.y);
  const double grid = 1.0 / ctx.settings.ini_S_suu;
  const double pixels_per_unit = ctx.sides->scale();
  if (len > 0) {
    const double ux = (p.x - q.x) / len, uy = (p.y - q.y) / len;
    // Shorter on the side chosen, down to one grid step and to a start off
    // the line; then the mirror side, where it is scrap. Candidates beyond
    // the drawing's extent are not tried.
    const double reach = std::min(len, ctx.drawn->extent());
    auto try_side = [&](double side, double from) {
      for (double h = std::min(from, reach); h >= grid && h * pixels_per_unit >= 1; h /= 2) {
        const Point c{q.x + side * ux * h, q.y + side * uy * h};
        if (lead_in_in_scrap(ctx, q, c) && lead_in_clear(ctx, q, c)) {
          set_points(ctx, c, q);
          return true;
        }
      }
      return false;
    };
    if (try_side(1, len / 2) || try_side(-1, len)) return;
  }
  if (st.doubt.empty()) st.doubt = "its lead-in runs through another contour; check the lead-in";
}

void place_full_circle(PlacementContext& ctx, std::size_t row) {
  ApproachState& st = ctx.state;
  load_entity(ctx.W_dat, row, st.ent, ctx.preview.cells);
  const double cx = st.ent.Ci_x.number();
  const double cy = st.ent.Ci_y.number();
  const double r = st.ent.Ci_r.number();
  const double L = ctx.settings.approach();
  const Point q{cx, cy - r};
  Point p;
  if (st.Grp_G != "G" && !round_part(ctx, q, r)) {
    // A hole no larger than the lead-in would put the pierce outside the
    // hole, on the part: pierce at the centre instead.
    p = r > L ? Point{cx, cy - r + L} : Point{cx, cy};
  } else {
    p = Point{cx, cy - r - L};
  }
  set_points(ctx, p, q);
  st.Grp_kind = ContourKind::circle;
}

void place_on_arc(PlacementContext& ctx, std::size_t row) {
  ApproachState& st = ctx.state;
  load_entity(ctx.W_dat, row, st.ent, ctx.preview.cells);
  const double s = st.ent.Ci_s.number();
  double e = st.ent.Ci_e.number();
  if (s > e) {
    e += 360;  // the arc passes 0 degrees
    st.ent.Ci_e = Cell(e);
  }
  lead_in_on_arc(ctx, (s + (e - s) / 2) * kPi / 180);
}

void place_on_line(PlacementContext& ctx, std::size_t row) {
  ApproachState& st = ctx.state;
  load_entity(ctx.W_dat, row, st.ent, ctx.preview.cells);
  const double x1 = st.ent.Li_x1.number();
  const double y1 = st.ent.Li_y1.number();
  const double dx = st.ent.Li_x2.number() - x1;
  const double dy = st.ent.Li_y2.number() - y1;
  lead_in_on_line(ctx, {x1 + dx / 2, y1 + dy / 2});
}

void place_full_circle_at(PlacementContext& ctx, std::size_t row, double x, double y) {
  ApproachState& st = ctx.state;
  load_entity(ctx.W_dat, row, st.ent, ctx.preview.cells);
  const double cx = st.ent.Ci_x.number();
  const double cy = st.ent.Ci_y.number();
  const double r = st.ent.Ci_r.number();
  const double L = ctx.settings.approach();
  const double d = std::hypot(x - cx, y - cy);
  // The point's direction from the centre; the centre itself stands for
  // the lowest point.
  const double ux = d > 0 ? (x - cx) / d : 0, uy = d > 0 ? (y - cy) / d : -1;
  const Point q{cx + r * ux, cy + r * uy};
  Point p;
  if (st.Grp_G != "G" && !round_part(ctx, {cx, cy - r}, r)) {
    p = r > L ? Point{q.x - ux * L, q.y - uy * L} : Point{cx, cy};
  } else {
    p = Point{q.x + ux * L, q.y + uy * L};
  }
  set_points(ctx, p, q);
  st.Grp_kind = ContourKind::circle;
}

void place_on_arc_at(PlacementContext& ctx, std::size_t row, double x, double y) {
  ApproachState& st = ctx.state;
  load_entity(ctx.W_dat, row, st.ent, ctx.preview.cells);
  lead_in_on_arc(ctx, std::atan2(y - st.ent.Ci_y.number(), x - st.ent.Ci_x.number()));
}

void place_on_line_at(PlacementContext& ctx, std::size_t row, double x, double y) {
  load_entity(ctx.W_dat, row, ctx.state.ent, ctx.preview.cells);
  lead_in_on_line(ctx, {x, y});
}

namespace {

// The lead-in of a contour entered on the arc in the current entity at the
// angle m (radians): on the radial side that is scrap.
void lead_in_on_arc(PlacementContext& ctx, double m) {
  ApproachState& st = ctx.state;
  const double cx = st.ent.Ci_x.number();
  const double cy = st.ent.Ci_y.number();
  const double r = st.ent.Ci_r.number();
  const double L = ctx.settings.approach();
  const Point q{cx + r * std::cos(m), cy + r * std::sin(m)};
  st.Apr_dx = L * std::cos(m);
  st.Apr_dy = L * std::sin(m);
  set_points(ctx, scrap_side_point(ctx, q), q);
  st.Grp_kind = ContourKind::loop;
}

// The lead-in of a contour entered on the line in the current entity at
// its point q: on the normal side that is scrap.
void lead_in_on_line(PlacementContext& ctx, Point q) {
  ApproachState& st = ctx.state;
  const double dx = st.ent.Li_x2.number() - st.ent.Li_x1.number();
  const double dy = st.ent.Li_y2.number() - st.ent.Li_y1.number();
  double a = 0;
  if (dx != 0) a = dy == 0 ? kRightAngle : std::atan(dx / dy);
  const double L = ctx.settings.approach();
  // A normal of the line; the side tried first is the one pointing down or,
  // for a vertical line, to the right.
  st.Apr_dx = L * std::cos(a);
  st.Apr_dy = L * std::sin(a);
  if (a > 0) st.Apr_dy = -st.Apr_dy;
  if (a < 0) st.Apr_dx = -st.Apr_dx;
  set_points(ctx, scrap_side_point(ctx, q), q);
  st.Grp_kind = ContourKind::loop;
}

}  // namespace

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
